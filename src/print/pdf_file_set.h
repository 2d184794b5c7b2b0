#pragma once
// The pages of one run sorted into a folder of PDF files, one file per group
// (a family, a student), with an index beside them: a CSV file with a row per
// file (its name, its pages, then columns the caller fills). Nothing is
// written until the run's document ends well; then every file is written
// under a temporary name and all are moved into place together, so a run that
// fails or is abandoned leaves the folder as it was.
//
//   auto set = std::make_shared<PdfFileSet>(folder, "cards.csv", QStringList{"family", "addressee"});
//   printer.Init(set->device());        // the run prints on it
//   set->beginFile("F:SMITH01", "SMITH01-Smith");   // before each group's first page
//   set->row()[0] = "SMITH01";
#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <vector>

#include "display_list.h"
#include "print_device.h"

namespace velmont::print {

class PdfFileSet : public std::enable_shared_from_this<PdfFileSet> {
 public:
  PdfFileSet(QString folder, QString indexName, QStringList columns);

  // Pages printed from now on belong to the file of `key`. A new key's file is
  // named from `stem`: letters without their accents, digits, "-" and "_"
  // only, and made unique within the folder's set ("-2", "-3", ...).
  void beginFile(const QString& key, const QString& stem);
  // The index columns of the current file, in the order given at construction.
  QStringList& row();

  // The device the run prints on; it holds the pages and writes the files
  // and the index when its document ends well.
  std::unique_ptr<PrintDevice> device();

  struct File {
    QString name;
    std::vector<PageList> pages;
    QStringList row;
  };
  const std::vector<File>& files() const { return files_; }
  QString folder() const { return folder_; }

  // The file name made from a stem: safe characters only, at most 60 of them.
  static QString safeStem(const QString& stem);

 private:
  friend class PdfFileSetDevice;
  void addPage(const PageList& page);
  bool writeAll(const QString& title, int orientation, bool archival, const QString& author);
  void clear();

  QString folder_, indexName_;
  QStringList columns_;
  std::vector<File> files_;
  std::map<QString, size_t> byKey_;
  std::map<QString, int> takenNames_;  // lower-case names in use, for uniqueness
  size_t current_ = SIZE_MAX;
};

}  // namespace velmont::print
