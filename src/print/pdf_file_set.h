#pragma once
// The pages of one run sorted into a folder of PDF files, one file per group
// (a family, a student), with an index beside them: a CSV file with a row per
// file (its name, its pages, then columns the caller fills).
//
// Files are written while the run goes on: a group whose planned copies have
// all begun is written as soon as the run moves on to another group, on
// writer threads, and its pages leave memory; the run waits when the writers
// fall far behind. Everything is written into a work folder inside the target
// and put in place only when the run's document ends well (OutputFolder): the
// earlier run's files (those its index lists) are then replaced or removed as
// one step, other files in the folder are left alone, and a run that fails,
// is stopped or is abandoned leaves the folder as it was.
//
//   auto set = std::make_shared<PdfFileSet>(folder, "cards.csv", QStringList{"family", "addressee"});
//   set->plan("F:SMITH01");             // once per copy the run will print, before it starts
//   printer.Init(set->device());        // the run prints on it
//   set->beginFile("F:SMITH01", "SMITH01-Smith");   // before each group's first page
//   set->row()[0] = "SMITH01";
#include <QString>
#include <QStringList>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "display_list.h"
#include "print_device.h"

namespace velmont::print {

class OutputFolder;

class PdfFileSet : public std::enable_shared_from_this<PdfFileSet> {
 public:
  PdfFileSet(QString folder, QString indexName, QStringList columns);
  ~PdfFileSet();

  // The run will begin a copy of group `key` once more. A group whose planned
  // copies have all begun is complete once another group begins; groups never
  // planned are written when the document ends.
  void plan(const QString& key);
  // Pages printed from now on belong to the file of `key`. A new key's file is
  // named from `stem`: letters without their accents, digits, "-" and "_"
  // only, and made unique within the folder's set ("-2", "-3", ...).
  void beginFile(const QString& key, const QString& stem);
  // The index columns of the current file, in the order given at construction.
  QStringList& row();

  // The device the run prints on; it writes the files and the index and puts
  // them in place when its document ends well.
  std::unique_ptr<PrintDevice> device();

  struct File {
    QString name;
    QStringList row;
    int pages = 0;
  };
  const std::vector<File>& files() const { return files_; }
  QString folder() const { return folder_; }
  // Files with pages that the last document put in place.
  int filesWritten() const { return written_; }

  // The file name made from a stem: safe characters only, at most 60 of them.
  static QString safeStem(const QString& stem);
  // Whether `name` is one this set could have made: what an earlier run's
  // index may name for removal.
  static bool isOwnFileName(const QString& name);

 private:
  friend class PdfFileSetDevice;
  struct Job {
    QString name;
    std::vector<PageList> pages;
  };
  bool start(const QString& title, int orientation, bool archival, const QString& author);
  void addPage(const PageList& page);
  bool finish();
  void abandon();
  void handOff(size_t file, bool wait);
  void writeQueued();
  bool writeFile(const Job& job);
  bool stopAsked() const { return stopCheck_ && stopCheck_(); }
  QStringList earlierFiles() const;
  bool writeIndex(const QString& path) const;
  void stopWriters();
  void clear();

  QString folder_, indexName_;
  QStringList columns_;
  std::vector<File> files_;
  std::vector<std::vector<PageList>> pending_;  // per file: pages not yet handed to a writer
  std::vector<bool> handedOff_;
  std::vector<QString> keys_;  // per file
  std::map<QString, size_t> byKey_;
  std::map<QString, int> planned_;     // copies still to begin, by key
  std::map<QString, int> takenNames_;  // lower-case names in use, for uniqueness
  size_t current_ = SIZE_MAX;
  int written_ = 0;

  // The document being written.
  QString title_, author_;
  int orientation_ = kPortrait;
  bool archival_ = false;
  std::function<bool()> stopCheck_;
  std::unique_ptr<OutputFolder> out_;
  QString failure_;

  // The writers and what they share with the run.
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Job> queue_;
  size_t queuedPages_ = 0;
  bool closing_ = false, stopped_ = false, failed_ = false;
  std::vector<std::thread> writers_;
};

}  // namespace velmont::print
