#include "char_device.h"

#include <algorithm>

#include "school_text.h"

namespace velmont::print {

bool CharDevice::open(const QString& path) {
  close();
  output_.clear();
  file_.setFileName(path);
  return file_.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

void CharDevice::close() {
  if (!rows_.isEmpty()) send(pageText());
  rows_.clear();
  row_ = column_ = 0;
  if (file_.isOpen()) file_.close();
}

void CharDevice::setPos(double row, double column) {
  row_ = std::max(0, int(row));
  column_ = std::max(0, int(column));
}

void CharDevice::write(const QString& text) {
  if (text.isEmpty()) return;
  while (rows_.size() <= row_) rows_.append(QString());
  QString& line = rows_[row_];
  if (line.size() < column_ + text.size()) line = line.leftJustified(column_ + text.size(), ' ');
  line.replace(column_, text.size(), text);
  column_ += int(text.size());
}

void CharDevice::newLine() {
  ++row_;
  column_ = 0;
}

void CharDevice::formFeed() {
  send(pageText() + '\f');
  rows_.clear();
  row_ = column_ = 0;
}

QByteArray CharDevice::pageText() const {
  QByteArray text;
  const SchoolText* codePage = codePage_ != 0 ? &SchoolText::of(codePage_) : nullptr;
  for (const QString& line : rows_) {
    text += codePage ? codePage->encodeLossy(line) : line.toUtf8();
    text += '\n';
  }
  return text;
}

void CharDevice::send(const QByteArray& bytes) {
  if (file_.isOpen())
    file_.write(bytes);
  else
    output_ += bytes;
}

}  // namespace velmont::print
