#pragma once
// A folder that a run fills with files of its own making (one PDF per family,
// a picture per page), beside files of other people that it leaves alone.
//
// The run writes its files into a work folder inside the target
// (".velmont-XXXXXX", on the same disk, so that moving a file into place is one
// rename), and only when it has ended well are they put in place together: the
// earlier run's files (those the caller recognises as its own) are moved out,
// the new ones moved in, and should any move fail every file is moved back, so
// the folder holds either the earlier run's files or this run's, never a mix.
// A run that fails, is stopped or is abandoned removes its work folder; the
// work folder of a run that was killed is removed by the next run into the
// folder (a lock file in it tells a live run's work from a dead one's).
//
//   OutputFolder folder(dir);
//   if (!folder.begin()) return fail(folder.failure());
//   write(folder.workFile("page-0001.png"));
//   folder.commit({"page-0001.png"}, ourOldFiles);   // or folder.abandon()
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QLockFile;

namespace velmont::print {

class OutputFolder {
 public:
  explicit OutputFolder(QString folder);
  ~OutputFolder();  // abandons work that was not committed
  OutputFolder(const OutputFolder&) = delete;
  OutputFolder& operator=(const OutputFolder&) = delete;

  // Makes the folder when it is missing, removes work folders of killed runs
  // and makes this run's. False (with failure()) when the folder cannot be
  // made or written in.
  bool begin();
  // The path of `name` in the work folder.
  QString workFile(const QString& name) const;
  // Puts the work folder's files `names` in place, in that order, after moving
  // the earlier run's files `previous` (those of them present) out of the
  // way, in that order; then removes the work folder with the earlier files.
  // False (with failure()) when a move failed: the folder is then as it was.
  bool commit(const QStringList& names, const QStringList& previous);
  // Removes the work folder and, when begin() made the folder and it is still
  // empty, the folder too.
  void abandon();

  QString folder() const { return folder_; }
  // What went wrong, in words for the user ("" when nothing did).
  QString failure() const { return failure_; }

  // The entries of the folder that match `pattern` (a regular expression over
  // the whole name), for a caller that knows its own files by their names.
  QStringList entriesMatching(const QString& pattern) const;

 private:
  QString folder_, work_, failure_;
  std::unique_ptr<QLockFile> lock_;
  bool madeFolder_ = false;
};

}  // namespace velmont::print
