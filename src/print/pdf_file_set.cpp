#include "pdf_file_set.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <utility>

#include "data/csv.h"
#include "output_folder.h"
#include "painter_device.h"

namespace velmont::print {

namespace {

constexpr int kLongestStem = 60;
// Pages handed to the writers and not yet written, at most (some MB).
constexpr size_t kQueuedPagesAtMost = 240;

bool reservedOnWindows(const QString& stem) {
  static const QStringList names = {"CON", "PRN", "AUX", "NUL"};
  const QString upper = stem.toUpper();
  if (names.contains(upper)) return true;
  return upper.size() == 4 && (upper.startsWith("COM") || upper.startsWith("LPT")) && upper[3].isDigit();
}

}  // namespace

// Prints into the set: keeps each page in the file of the group it came in.
class PdfFileSetDevice : public PrintDevice {
 public:
  explicit PdfFileSetDevice(std::shared_ptr<PdfFileSet> set) : set_(std::move(set)) {}
  ~PdfFileSetDevice() override { abandonDoc(); }
  PaperSize paperSize() const override { return laserA4(orientation_); }
  int orientation() const override { return orientation_; }
  void setOrientation(int orientation) override { orientation_ = orientation == kLandscape ? kLandscape : kPortrait; }
  bool startDoc(const QString& name) override {
    open_ = set_->start(name, orientation_, archival_, author_);
    return open_;
  }
  bool printPage(const PageList& page) override {
    if (!open_) return false;
    set_->addPage(page);
    return true;
  }
  bool endDoc() override {
    if (!open_) return false;
    open_ = false;
    return set_->finish();
  }
  void abandonDoc() override {
    if (!open_) return;
    open_ = false;
    set_->abandon();
  }
  QString destination() const override { return set_->folder(); }
  QString failureReason() const override { return set_->failure_; }
  bool writesFiles() const override { return true; }
  int filesWritten() const override { return set_->filesWritten(); }
  void setArchival(const QString& author) override {
    archival_ = true;
    author_ = author;
  }
  void setStopCheck(std::function<bool()> stopAsked) override { set_->stopCheck_ = std::move(stopAsked); }

 private:
  std::shared_ptr<PdfFileSet> set_;
  int orientation_ = kPortrait;
  bool open_ = false;
  bool archival_ = false;
  QString author_;
};

PdfFileSet::PdfFileSet(QString folder, QString indexName, QStringList columns)
    : folder_(std::move(folder)), indexName_(std::move(indexName)), columns_(std::move(columns)) {}

QString PdfFileSet::safeStem(const QString& stem) {
  // Accents come off their letters; anything else outside A-Z, a-z, 0-9, "-"
  // and "_" becomes "_", so that the name travels by e-mail and onto any disk.
  const QString plain = stem.normalized(QString::NormalizationForm_KD);
  QString safe;
  for (const QChar ch : plain) {
    if (ch.category() == QChar::Mark_NonSpacing) continue;
    const char16_t c = ch.unicode();
    const bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
    const QChar out = keep ? ch : QChar('_');
    if (out == '_' && (safe.isEmpty() || safe.endsWith('_') || safe.endsWith('-'))) continue;
    if (out == '-' && safe.endsWith('_')) safe.chop(1);
    safe.append(out);
  }
  while (safe.endsWith('_') || safe.endsWith('-')) safe.chop(1);
  while (safe.startsWith('-')) safe.remove(0, 1);
  safe.truncate(kLongestStem);
  if (safe.isEmpty()) safe = QStringLiteral("file");
  if (reservedOnWindows(safe)) safe += '_';
  return safe;
}

void PdfFileSet::plan(const QString& key) { ++planned_[key]; }

void PdfFileSet::beginFile(const QString& key, const QString& stem) {
  size_t next = SIZE_MAX;
  if (const auto known = byKey_.find(key); known != byKey_.end() && !handedOff_[known->second]) {
    next = known->second;
  } else {
    // A new group, or more of a group whose file was already written (a copy
    // the plan did not hold): a file of its own, so that nothing is lost.
    // Unique without regard to letter case, as the schools' disks compare names.
    const QString base = safeStem(stem);
    QString name = base + ".pdf";
    for (int n = 2; takenNames_.count(name.toLower()) || name.compare(indexName_, Qt::CaseInsensitive) == 0; ++n)
      name = base + "-" + QString::number(n) + ".pdf";
    takenNames_[name.toLower()] = 1;
    File file;
    file.name = name;
    for (qsizetype i = 0; i < columns_.size(); ++i) file.row << QString();
    files_.push_back(std::move(file));
    keys_.push_back(key);
    pending_.emplace_back();
    handedOff_.push_back(false);
    next = files_.size() - 1;
    byKey_[key] = next;
  }
  // The group left behind is written now when all its planned copies have begun.
  if (current_ != SIZE_MAX && current_ != next) {
    const auto left = planned_.find(keys_[current_]);
    if (left != planned_.end() && left->second <= 0) handOff(current_, true);
  }
  current_ = next;
  if (const auto p = planned_.find(key); p != planned_.end()) --p->second;
}

QStringList& PdfFileSet::row() {
  if (current_ == SIZE_MAX) beginFile(QString(), QStringLiteral("cards"));
  return files_[current_].row;
}

std::unique_ptr<PrintDevice> PdfFileSet::device() { return std::make_unique<PdfFileSetDevice>(shared_from_this()); }

void PdfFileSet::addPage(const PageList& page) {
  if (current_ == SIZE_MAX) beginFile(QString(), QStringLiteral("cards"));
  ++files_[current_].pages;
  std::lock_guard lock(mutex_);
  if (stopped_ || failed_) return;  // the document will not come out: nothing is kept
  PageList kept = page;
  kept.shrinkToFit();
  pending_[current_].push_back(std::move(kept));
}

void PdfFileSet::clear() {
  files_.clear();
  pending_.clear();
  handedOff_.clear();
  keys_.clear();
  planned_.clear();
  byKey_.clear();
  takenNames_.clear();
  current_ = SIZE_MAX;
  written_ = 0;
}

bool PdfFileSet::start(const QString& title, int orientation, bool archival, const QString& author) {
  abandon();
  clear();
  title_ = title;
  orientation_ = orientation;
  archival_ = archival;
  author_ = author;
  failure_.clear();
  out_ = std::make_unique<OutputFolder>(folder_);
  if (!out_->begin()) {
    failure_ = out_->failure();
    out_.reset();
    return false;
  }
  closing_ = stopped_ = failed_ = false;
  queuedPages_ = 0;
  // Each file embeds its own fonts, which costs more than drawing its pages:
  // two writers, while the run mostly waits for them.
  const unsigned writers = std::clamp(std::thread::hardware_concurrency(), 1u, 2u);
  for (unsigned t = 0; t < writers; ++t) writers_.emplace_back([this] { writeQueued(); });
  return true;
}

void PdfFileSet::handOff(size_t file, bool wait) {
  if (handedOff_[file]) return;
  handedOff_[file] = true;
  std::unique_lock lock(mutex_);
  if (pending_[file].empty()) return;
  // The run waits while the writers are far behind, so that memory holds a
  // bounded number of pages whatever the size of the school.
  if (wait) changed_.wait(lock, [&] { return queuedPages_ < kQueuedPagesAtMost || stopped_ || failed_; });
  if (stopped_ || failed_) {
    pending_[file].clear();
    return;
  }
  queuedPages_ += pending_[file].size();
  queue_.push_back(Job{files_[file].name, std::move(pending_[file])});
  pending_[file].clear();
  changed_.notify_all();
}

void PdfFileSet::writeQueued() {
  for (;;) {
    Job job;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] { return !queue_.empty() || closing_ || stopped_ || failed_; });
      if (stopped_ || failed_ || queue_.empty()) return;
      job = std::move(queue_.front());
      queue_.pop_front();
    }
    const bool stop = stopAsked();
    const bool ok = !stop && writeFile(job);
    std::lock_guard lock(mutex_);
    queuedPages_ -= std::min(queuedPages_, job.pages.size());  // an abandoned document has emptied the count
    if (stop) {
      stopped_ = true;
    } else if (!ok && !failed_) {
      failed_ = true;
      failure_ = QStringLiteral("%1 cannot be written").arg(job.name);
    }
    changed_.notify_all();
  }
}

bool PdfFileSet::writeFile(const Job& job) {
  PdfFileDevice pdf;
  pdf.setOrientation(orientation_);
  if (archival_) pdf.setArchival(author_);
  pdf.setOutputFile(out_->workFile(job.name));
  bool ok = pdf.startDoc(title_);
  for (size_t p = 0; ok && p < job.pages.size(); ++p) ok = pdf.printPage(job.pages[p]);
  if (ok) ok = pdf.endDoc();  // else the device drops its half-written file
  return ok;
}

void PdfFileSet::stopWriters() {
  {
    std::lock_guard lock(mutex_);
    closing_ = true;
  }
  changed_.notify_all();
  for (std::thread& t : writers_) t.join();
  writers_.clear();
}

bool PdfFileSet::finish() {
  if (!out_) return false;
  // Every file not yet written goes to the writers, and this thread helps them.
  for (size_t i = 0; i < files_.size(); ++i) handOff(i, false);
  {
    std::lock_guard lock(mutex_);
    closing_ = true;
  }
  changed_.notify_all();
  writeQueued();
  stopWriters();
  bool ok = !stopped_ && !failed_ && !stopAsked();
  QStringList names;
  for (const File& f : files_)
    if (f.pages > 0) names << f.name;
  if (ok && !writeIndex(out_->workFile(indexName_))) {
    failure_ = indexName_ + QStringLiteral(" cannot be written");
    ok = false;
  }
  // The last moment at which a stop still leaves the earlier files in place.
  ok = ok && !stopAsked();
  if (ok) {
    names << indexName_;  // in last, out first: the index never lists a file that is not there
    ok = out_->commit(names, QStringList{indexName_} + earlierFiles());
    if (!ok) failure_ = out_->failure();
  }
  if (ok) written_ = int(names.size()) - 1;
  out_.reset();  // removes the work folder that is left
  return ok;
}

void PdfFileSet::abandon() {
  {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    queue_.clear();
    queuedPages_ = 0;
  }
  changed_.notify_all();
  stopWriters();
  out_.reset();
  for (auto& pages : pending_) pages.clear();
}

PdfFileSet::~PdfFileSet() { abandon(); }

QStringList PdfFileSet::earlierFiles() const {
  // The files the index in place names: this set's own names only, so that an
  // index edited by hand can never take anything else away.
  QFile index(QDir(folder_).filePath(indexName_));
  QStringList names;
  if (!index.open(QIODevice::ReadOnly)) return names;
  bool header = true;
  while (!index.atEnd()) {
    const QString line = QString::fromUtf8(index.readLine()).trimmed();
    if (std::exchange(header, false)) continue;
    const QString name = line.section(',', 0, 0);
    if (isOwnFileName(name) && !names.contains(name)) names << name;
  }
  return names;
}

bool PdfFileSet::isOwnFileName(const QString& name) {
  static const QRegularExpression own(QStringLiteral("^[A-Za-z0-9][A-Za-z0-9_-]{0,%1}\\.pdf$").arg(kLongestStem + 8));
  return own.match(name).hasMatch();
}

bool PdfFileSet::writeIndex(const QString& path) const {
  QFile index(path);
  if (!index.open(QIODevice::WriteOnly)) return false;
  const auto csv = [](const QString& field) { return data::csvCell(field.toStdString()); };
  std::string text = "file,pages";
  for (const QString& column : columns_) text += ',' + csv(column);
  text += "\r\n";
  for (const File& f : files_) {
    if (f.pages == 0) continue;
    text += csv(f.name) + ',' + std::to_string(f.pages);
    for (const QString& field : f.row) text += ',' + csv(field);
    text += "\r\n";
  }
  return index.write(text.data(), qint64(text.size())) == qint64(text.size()) && index.flush();
}

}  // namespace velmont::print
