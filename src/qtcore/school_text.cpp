#include "school_text.h"

#include <QList>
#include <map>
#include <mutex>

#include "data/code_page.h"
#include "data/table.h"
#include "code_page_converter.h"

namespace velmont::qtcore {
namespace {

thread_local const SchoolText* tThreadText = nullptr;

constexpr char16_t kUndefined = u'\uFFFD';
constexpr char16_t kBoxLine = u'\u2500';

}  // namespace

SchoolText::SchoolText(int codePage) : codePage_(codePage), fromUnicode_(new int16_t[0x10000]) {
  std::fill(fromUnicode_.get(), fromUnicode_.get() + 0x10000, int16_t(-1));
  // ASCII is common to every supported code page; the control codes stay what
  // they are (the IBM converters would swap a few of them).
  for (int b = 0; b < 0x80; ++b) toUnicode_[b] = char16_t(b);
  for (int b = 0x80; b < 0x100; ++b) toUnicode_[b] = kUndefined;
  // Each byte once through the system's converter; the reverse map follows from it,
  // so encoding and decoding always agree.
  if (data::codePageSupported(codePage)) valid_ = convertUpperHalf(codePage, toUnicode_);
  for (int b = 0xFF; b >= 0; --b)
    if (toUnicode_[b] != kUndefined) fromUnicode_[toUnicode_[b]] = int16_t(b);
}

const SchoolText& SchoolText::of(int codePage) {
  static std::mutex mutex;
  static std::map<int, std::unique_ptr<SchoolText>> made;
  std::lock_guard lock(mutex);
  auto& slot = made[codePage];
  if (!slot) slot = std::make_unique<SchoolText>(codePage);
  return *slot;
}

const SchoolText& SchoolText::of(const data::Table& table) { return of(data::codePageOf(table).codePage); }

QString SchoolText::decode(std::string_view bytes) const {
  QString text(qsizetype(bytes.size()), Qt::Uninitialized);
  QChar* out = text.data();
  for (size_t i = 0; i < bytes.size(); ++i) out[i] = QChar(toUnicode_[static_cast<unsigned char>(bytes[i])]);
  return text;
}

int SchoolText::encodeOne(char32_t ch) const { return ch < 0x10000 ? fromUnicode_[ch] : -1; }

QString SchoolText::refusedCharacter(const QString& text) const {
  for (const char32_t ch : text.toUcs4())
    if (encodeOne(ch) < 0) return QString::fromUcs4(&ch, 1);
  return QString();
}

bool SchoolText::encode(const QString& text, std::string& out) const {
  std::string bytes;
  bytes.reserve(size_t(text.size()));
  for (const char32_t ch : text.toUcs4()) {
    const int b = encodeOne(ch);
    if (b < 0) return false;
    bytes += char(b);
  }
  out = std::move(bytes);
  return true;
}

QByteArray SchoolText::encodeLossy(const QString& text, char substitute) const {
  QByteArray bytes;
  bytes.reserve(text.size());
  for (const char32_t ch : text.toUcs4()) {
    const int b = encodeOne(ch);
    bytes += b >= 0 ? char(b) : ch == kBoxLine ? '-' : substitute;
  }
  return bytes;
}

std::string SchoolText::properCase(std::string_view bytes) const {
  std::string out(bytes);
  bool wordStart = true;
  for (char& byte : out) {
    const QChar ch(toUnicode_[static_cast<unsigned char>(byte)]);
    if (ch.isLetter()) {
      const int cased = encodeOne(wordStart ? ch.toUpper().unicode() : ch.toLower().unicode());
      if (cased >= 0) byte = char(cased);  // a letter whose other case the code page lacks stays
      wordStart = false;
    } else {
      wordStart = !(ch.isDigit() || ch == QChar('\''));
    }
  }
  return out;
}

std::string SchoolText::upperCase(std::string_view bytes) const {
  std::string out(bytes);
  for (char& byte : out) {
    const QChar ch(toUnicode_[static_cast<unsigned char>(byte)]);
    if (!ch.isLower()) continue;
    const int upper = encodeOne(ch.toUpper().unicode());
    if (upper >= 0) byte = char(upper);
  }
  return out;
}

std::string SchoolText::transcode(std::string_view bytes, const SchoolText& from) const {
  if (&from == this || from.codePage_ == codePage_) return std::string(bytes);
  const QByteArray out = encodeLossy(from.decode(bytes));
  return std::string(out.constData(), size_t(out.size()));
}

const SchoolText& SchoolText::forThisThread() {
  return tThreadText ? *tThreadText : of(data::kDefaultCodePage);
}

void SchoolText::useForThisThread(const SchoolText& text) { tThreadText = &text; }

SchoolText::ThreadScope::ThreadScope(const SchoolText& text) : before_(tThreadText) { tThreadText = &text; }
SchoolText::ThreadScope::~ThreadScope() { tThreadText = before_; }

QString SchoolText::refusalMessage(const QString& character) const {
  const char32_t ch = character.isEmpty() ? 0 : character.toUcs4().value(0);
  const QString code = QString::number(uint(ch), 16).toUpper().rightJustified(4, QChar('0'));
  return QStringLiteral("The character \"%1\" (U+%2) cannot be stored in the school's code page %3.")
      .arg(character, code, QString::number(codePage_));
}

}  // namespace velmont::qtcore
