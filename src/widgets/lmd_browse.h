#pragma once
// A browse of a table with in-place editing: one row per visible record, the
// chosen fields as columns; an edited cell is written to its record at once,
// under the record's lock.
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QTableWidget;
class QTableWidgetItem;

namespace velmont::data {
class Table;
}

namespace velmont::widgets {

struct BrowseColumn {
  std::string field;
  QString heading;
  bool editable = false;
};

class BrowseView : public QWidget {
  Q_OBJECT
 public:
  // Opens `path` for writing; throws data::DataError naming the file when it cannot.
  BrowseView(QWidget* parent, const std::string& path, std::vector<BrowseColumn> columns, const QString& footer);
  ~BrowseView() override;
  QTableWidget* grid() const { return grid_; }
  QLabel* footer() const { return footer_; }
  // Re-reads every row from the file.
  void reload();

 signals:
  // A change could not be written (the record is locked by another user, or
  // the file refused the write); the cell shows the stored value again.
  void writeFailed(const QString& reason);

 private:
  void cellEdited(QTableWidgetItem* item);

  std::unique_ptr<data::Table> table_;
  std::vector<BrowseColumn> columns_;
  std::vector<int> fieldIndex_;
  std::vector<uint32_t> recnos_;
  QTableWidget* grid_;
  QLabel* footer_;
  bool loading_ = false;
};

// lmdGenBrow: a browse placed at (row, column), `rows` by `columns` cells. A
// failed write is told to the user in a message box.
BrowseView* lmdGenBrow(QWidget* parent, double row, double column, double rows, double columns,
                       const std::string& path, const QString& footer, std::vector<BrowseColumn> fields);

}  // namespace velmont::widgets
