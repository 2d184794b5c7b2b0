#include "char_device.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

#include "qtcore/school_text.h"

namespace velmont::print {

namespace {

constexpr long kRowUnits = 100;       // rows are kept in hundredths
constexpr long kSameLine = 15;        // rows closer than 0.15 share a line

long rowKey(double row) { return std::lround(std::max(0.0, row) * kRowUnits); }

// True when `text` at `column` would cover a character of `line`. A rule that only
// repeats what is there already (its second stroke) covers nothing; a word or a
// figure is a field of its own even where the same characters stand already (an
// exam mark of 100 beside a possible mark of 100 moved on by a long name).
bool covers(const QString& line, int column, const QString& text) {
  bool meets = false, repeats = true;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == ' ') continue;
    if (text[i].isLetterOrNumber()) repeats = false;
    const qsizetype at = column + i;
    const QChar there = at < line.size() ? line[at] : QChar(' ');
    if (there != ' ') meets = true;
    if (there != text[i]) repeats = false;
  }
  return meets && !repeats;
}

}  // namespace

int placeWithoutOverwriting(QString& line, int column, const QString& text) {
  // Only the text's own characters count; its leading blanks may lie over others.
  qsizetype lead = 0;
  while (lead < text.size() && text[lead] == ' ') ++lead;
  if (lead == text.size()) {
    if (line.size() < column + text.size()) line = line.leftJustified(column + text.size(), ' ');
    return column;
  }
  while (covers(line, column, text)) {
    // Past the run of characters holding the last one met, and one blank more.
    qsizetype at = column;
    for (qsizetype i = 0; i < text.size() && column + i < line.size(); ++i)
      if (text[i] != ' ' && line[column + i] != ' ') at = column + i;
    while (at < line.size() && line[at] != ' ') ++at;
    column = int(at + 1 - lead);
  }
  if (line.size() < column + text.size()) line = line.leftJustified(column + text.size(), ' ');
  for (qsizetype i = 0; i < text.size(); ++i)
    if (text[i] != ' ') line[column + i] = text[i];
  return column;
}

bool CharDevice::open(const QString& path) {
  close();
  output_.clear();
  file_.setFileName(path);
  // A device (a printer port) cannot be replaced by renaming: it is written directly.
  const QFileInfo info(path);
  file_.setDirectWriteFallback(info.exists() && !info.isFile());
  return file_.open(QIODevice::WriteOnly);
}

void CharDevice::close() {
  if (!rows_.empty()) send(pageText());
  rows_.clear();
  row_ = 0;
  column_ = 0;
  if (file_.isOpen()) file_.commit();
}

void CharDevice::discard() {
  rows_.clear();
  row_ = 0;
  column_ = 0;
  if (file_.isOpen()) {
    file_.cancelWriting();
    file_.commit();  // after cancelWriting this removes the temporary file
  }
}

void CharDevice::setPos(double row, double column) {
  row_ = std::max(0.0, row);
  column_ = std::max(0, int(column));
  placed_ = true;
}

void CharDevice::write(const QString& text) {
  if (text.isEmpty()) return;
  QString& line = rows_[rowKey(row_)];
  // A field of its own whose first character would touch the text before it keeps
  // a blank apart (a figure padded on the left as much as a word).
  if (placed_) {
    qsizetype lead = 0;
    while (lead < text.size() && text[lead] == ' ') ++lead;
    while (lead < text.size() && column_ + lead > 0 && column_ + lead <= line.size() && line[column_ + lead - 1] != ' ')
      ++column_;
  }
  placed_ = false;
  const int landed = placeWithoutOverwriting(line, column_, text);
  column_ = landed + int(text.size());
}

void CharDevice::newLine() {
  row_ = std::floor(row_) + 1;
  column_ = 0;
  placed_ = false;
}

void CharDevice::formFeed() {
  send(pageText() + '\f');
  rows_.clear();
  row_ = 0;
  column_ = 0;
}

QByteArray CharDevice::pageText() const {
  // Each row (or group of rows less than 0.15 apart) on a line of its own: the line
  // of its whole number, or the next one after the line above when that is taken.
  std::vector<QString> lines;
  long groupStart = -kSameLine - 1;
  long line = -1;
  for (const auto& [key, text] : rows_) {
    if (key - groupStart >= kSameLine || line < 0) {
      groupStart = key;
      line = std::max(key / kRowUnits, line + 1);
    }
    if (lines.size() <= size_t(line)) lines.resize(size_t(line) + 1);
    QString& out = lines[size_t(line)];
    for (qsizetype column = 0; column < text.size();) {
      // The row's text merges into the line group by group of characters.
      qsizetype end = column;
      while (end < text.size() && text[end] != ' ') ++end;
      if (end > column) placeWithoutOverwriting(out, int(column), text.mid(column, end - column));
      column = end;
      while (column < text.size() && text[column] == ' ') ++column;
    }
    if (out.size() < text.size()) out = out.leftJustified(text.size(), ' ');
  }
  QByteArray bytes;
  const qtcore::SchoolText* codePage = codePage_ != 0 ? &qtcore::SchoolText::of(codePage_) : nullptr;
  for (const QString& l : lines) {
    bytes += codePage ? codePage->encodeLossy(l) : l.toUtf8();
    bytes += lineEnd_;
  }
  return bytes;
}

void CharDevice::send(const QByteArray& bytes) {
  if (file_.isOpen())
    file_.write(bytes);
  else
    output_ += bytes;
}

}  // namespace velmont::print
