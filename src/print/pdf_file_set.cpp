#include "pdf_file_set.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <thread>

#include "data/csv.h"
#include "painter_device.h"

namespace velmont::print {

namespace {

constexpr int kLongestStem = 60;

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
    set_->clear();
    title_ = name;
    open_ = true;
    return true;
  }
  bool printPage(const PageList& page) override {
    if (!open_) return false;
    set_->addPage(page);
    return true;
  }
  bool endDoc() override {
    if (!open_) return false;
    open_ = false;
    return set_->writeAll(title_, orientation_, archival_, author_);
  }
  void abandonDoc() override {
    if (!open_) return;
    open_ = false;
    set_->clear();
  }
  QString destination() const override { return set_->folder(); }
  bool writesFiles() const override { return true; }
  int filesWritten() const override { return int(set_->files().size()); }
  void setArchival(const QString& author) override {
    archival_ = true;
    author_ = author;
  }

 private:
  std::shared_ptr<PdfFileSet> set_;
  int orientation_ = kPortrait;
  bool open_ = false;
  bool archival_ = false;
  QString title_, author_;
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

void PdfFileSet::beginFile(const QString& key, const QString& stem) {
  if (const auto known = byKey_.find(key); known != byKey_.end()) {
    current_ = known->second;
    return;
  }
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
  current_ = files_.size() - 1;
  byKey_[key] = current_;
}

QStringList& PdfFileSet::row() {
  if (current_ == SIZE_MAX) beginFile(QString(), QStringLiteral("cards"));
  return files_[current_].row;
}

std::unique_ptr<PrintDevice> PdfFileSet::device() { return std::make_unique<PdfFileSetDevice>(shared_from_this()); }

void PdfFileSet::addPage(const PageList& page) {
  if (current_ == SIZE_MAX) beginFile(QString(), QStringLiteral("cards"));
  PageList kept = page;
  kept.shrinkToFit();
  files_[current_].pages.push_back(std::move(kept));
}

void PdfFileSet::clear() {
  files_.clear();
  byKey_.clear();
  takenNames_.clear();
  current_ = SIZE_MAX;
}

bool PdfFileSet::writeAll(const QString& title, int orientation, bool archival, const QString& author) {
  if (!QDir().mkpath(folder_)) return false;
  // Everything is written into a work folder inside the target first: the
  // moves into place then stay on one disk.
  QTemporaryDir work(QDir(folder_).filePath(QStringLiteral(".velmont-XXXXXX")));
  if (!work.isValid()) return false;
  // Each file embeds its own fonts, which costs more than its pages: the files
  // are shared between two threads, each with a writer of its own.
  std::atomic<size_t> next{0};
  std::atomic<bool> failed{false};
  auto writeFiles = [&] {
    for (size_t i = next++; i < files_.size() && !failed; i = next++) {
      const File& f = files_[i];
      if (f.pages.empty()) continue;
      PdfFileDevice pdf;
      pdf.setOrientation(orientation);
      if (archival) pdf.setArchival(author);
      pdf.setOutputFile(work.filePath(f.name));
      bool ok = pdf.startDoc(title);
      for (size_t p = 0; ok && p < f.pages.size(); ++p) ok = pdf.printPage(f.pages[p]);
      if (ok) ok = pdf.endDoc();  // else the device drops its half-written file
      if (!ok) failed = true;
    }
  };
  const unsigned helpers = std::min(1u, std::thread::hardware_concurrency() / 2);
  std::vector<std::thread> threads;
  for (unsigned t = 0; t < helpers; ++t) threads.emplace_back(writeFiles);
  writeFiles();
  for (std::thread& t : threads) t.join();
  if (failed) return false;
  QStringList names;
  for (const File& f : files_)
    if (!f.pages.empty()) names << f.name;
  QFile index(work.filePath(indexName_));
  if (!index.open(QIODevice::WriteOnly)) return false;
  const auto csv = [](const QString& field) { return data::csvField(field.toStdString()); };
  std::string text = "file,pages";
  for (const QString& column : columns_) text += ',' + csv(column);
  text += "\r\n";
  for (const File& f : files_) {
    if (f.pages.empty()) continue;
    text += csv(f.name) + ',' + std::to_string(f.pages.size());
    for (const QString& field : f.row) text += ',' + csv(field);
    text += "\r\n";
  }
  if (index.write(text.data(), qint64(text.size())) != qint64(text.size()) || !index.flush()) return false;
  index.close();
  names << indexName_;
  // All written: into place, replacing files of the same names from an earlier run.
  namespace fs = std::filesystem;
  for (const QString& name : names) {
    std::error_code ec;
    fs::rename(fs::path(work.filePath(name).toStdU16String()), fs::path(QDir(folder_).filePath(name).toStdU16String()),
               ec);
    if (ec) return false;
  }
  return true;
}

}  // namespace velmont::print
