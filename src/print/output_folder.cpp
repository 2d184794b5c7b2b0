#include "output_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <filesystem>
#include <system_error>

namespace velmont::print {

namespace {

namespace fs = std::filesystem;

const QString kWorkPrefix = QStringLiteral(".velmont-");
const QString kLockName = QStringLiteral(".lock");
const QString kEarlierFiles = QStringLiteral(".earlier");

fs::path pathOf(const QString& path) { return fs::path(path.toStdU16String()); }

bool move(const QString& from, const QString& to, std::error_code& ec) {
  fs::rename(pathOf(from), pathOf(to), ec);
  return !ec;
}

// A lock held by nobody for as long as its holder lives; a holder that was
// killed leaves a lock that the next taker finds stale by its process number.
std::unique_ptr<QLockFile> lockIn(const QString& dir) {
  auto lock = std::make_unique<QLockFile>(QDir(dir).filePath(kLockName));
  lock->setStaleLockTime(0);
  return lock;
}

}  // namespace

OutputFolder::OutputFolder(QString folder) : folder_(std::move(folder)) {}

OutputFolder::~OutputFolder() { abandon(); }

bool OutputFolder::begin() {
  failure_.clear();
  std::error_code ec;
  const bool existed = fs::is_directory(pathOf(folder_), ec);
  if (!existed) {
    fs::create_directories(pathOf(folder_), ec);
    if (ec || !fs::is_directory(pathOf(folder_))) {
      failure_ = QStringLiteral("the folder cannot be made (%1); choose a folder in which you may write")
                     .arg(QString::fromStdString(ec.message()));
      return false;
    }
    madeFolder_ = true;
  }
  // Work folders of runs that were killed: their lock is free.
  const QDir dir(folder_);
  for (const QString& name : dir.entryList({kWorkPrefix + '*'}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)) {
    const QString debris = dir.filePath(name);
    std::unique_ptr<QLockFile> lock = lockIn(debris);
    if (!lock->tryLock(0)) continue;  // a run at work
    lock->unlock();
    QDir(debris).removeRecursively();
  }
  // A run sweeping the folder at this very moment may take a work folder whose
  // lock is not yet taken for debris: then another is made.
  for (int attempt = 0; attempt < 5 && !lock_; ++attempt) {
    QTemporaryDir work(dir.filePath(kWorkPrefix + QStringLiteral("XXXXXX")));
    if (!work.isValid()) {
      failure_ = QStringLiteral("nothing can be written in the folder (%1); choose a folder in which you may write")
                     .arg(work.errorString());
      abandon();
      return false;
    }
    work.setAutoRemove(false);
    std::unique_ptr<QLockFile> lock = lockIn(work.path());
    if (lock->tryLock(0)) {
      work_ = work.path();
      lock_ = std::move(lock);
    }
  }
  if (!lock_) {
    failure_ = QStringLiteral("its work folder was taken away while it was being made");
    abandon();
    return false;
  }
  return true;
}

QString OutputFolder::workFile(const QString& name) const { return QDir(work_).filePath(name); }

QStringList OutputFolder::entriesMatching(const QString& pattern) const {
  const QRegularExpression re(QRegularExpression::anchoredPattern(pattern));
  QStringList names;
  for (const QString& name : QDir(folder_).entryList(QDir::Files | QDir::Hidden | QDir::System))
    if (re.match(name).hasMatch()) names << name;
  return names;
}

bool OutputFolder::commit(const QStringList& names, const QStringList& previous) {
  failure_.clear();
  const QDir dir(folder_);
  const QString earlier = workFile(kEarlierFiles);
  if (!QDir().mkpath(earlier)) {
    failure_ = QStringLiteral("nothing can be written in the folder");
    return false;
  }
  // Out of the way: the earlier run's files, and any file of a name this run
  // writes, so that a failed move can put each back as it was.
  QStringList out = previous;
  for (const QString& name : names)
    if (!out.contains(name)) out << name;
  QStringList movedOut, movedIn;
  std::error_code ec;
  auto undo = [&](const QString& name) {
    const QString why = QString::fromStdString(ec.message());
    for (const QString& n : movedIn) move(dir.filePath(n), workFile(n), ec);
    for (const QString& n : movedOut) move(QDir(earlier).filePath(n), dir.filePath(n), ec);
    failure_ = QStringLiteral("%1 cannot be replaced (%2); the folder was left as it was")
                   .arg(name, why);
    return false;
  };
  for (const QString& name : out) {
    const fs::file_status status = fs::symlink_status(pathOf(dir.filePath(name)), ec);
    if (!fs::exists(status)) continue;
    // A folder of that name is somebody's: never moved, nor replaced.
    if (fs::is_directory(status)) {
      ec = std::make_error_code(std::errc::is_a_directory);
      return undo(name);
    }
    if (!move(dir.filePath(name), QDir(earlier).filePath(name), ec)) return undo(name);
    movedOut << name;
  }
  for (const QString& name : names) {
    if (!move(workFile(name), dir.filePath(name), ec)) return undo(name);
    movedIn << name;
  }
  lock_->unlock();
  lock_.reset();
  QDir(work_).removeRecursively();
  work_.clear();
  madeFolder_ = false;
  return true;
}

void OutputFolder::abandon() {
  if (lock_) {
    lock_->unlock();
    lock_.reset();
  }
  if (!work_.isEmpty()) QDir(work_).removeRecursively();
  work_.clear();
  if (madeFolder_) QDir().rmdir(folder_);  // only when nothing else was put in it
  madeFolder_ = false;
}

}  // namespace velmont::print
