#pragma once
// The character printer of plain-text mode: a page of rows and columns that is written
// out, with a form feed between pages, to a file or kept in memory.
#include <QFile>
#include <QString>
#include <QStringList>

namespace velmont::print {

class CharDevice {
 public:
  CharDevice() = default;
  CharDevice(const CharDevice&) = delete;
  CharDevice& operator=(const CharDevice&) = delete;
  ~CharDevice() { close(); }

  // Sends the output to a file (replacing it); false when it cannot be opened.
  bool open(const QString& path);
  // Writes the page in progress and closes the file.
  void close();

  // Rows and columns count from 0; fractions are dropped.
  void setPos(double row, double column);
  int row() const { return row_; }
  int column() const { return column_; }

  // Writes at the current position, over anything there; the column moves past it.
  void write(const QString& text);
  // Moves to column 0 of the next row.
  void newLine();
  // Ends the page: its rows, then a form feed; the position returns to row 0, column 0.
  void formFeed();

  // The bytes the text goes out in: the school's code page (a character it
  // cannot hold becomes "?", the box line "-"), or 0 for UTF-8.
  void setCodePage(int codePage) { codePage_ = codePage; }
  int codePage() const { return codePage_; }

  // What went out so far, when no file is open.
  const QByteArray& output() const { return output_; }

 private:
  void send(const QByteArray& bytes);
  QByteArray pageText() const;

  QFile file_;
  QByteArray output_;
  QStringList rows_;
  int row_ = 0;
  int column_ = 0;
  int codePage_ = 0;
};

}  // namespace velmont::print
