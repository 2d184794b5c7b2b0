#pragma once
// The school's text between the bytes of its code page and Unicode: decoded
// where it is shown or printed, encoded where typed text is written into a
// table or compared with what a table holds. Which code page is in force is
// decided in the table engine (data/code_page.h); the conversion itself is the
// ICU converter that Qt offers by name.
#include <QByteArray>
#include <QString>
#include <memory>
#include <string>
#include <string_view>

namespace velmont::data {
class Table;
}

namespace velmont::qtcore {

class SchoolText {
 public:
  // The converter of a code page (shared and immutable, so any thread may use it).
  // An unknown or unconvertible code page converts ASCII only (valid() false).
  static const SchoolText& of(int codePage);
  // The converter of the code page in force for the table.
  static const SchoolText& of(const data::Table& table);

  int codePage() const { return codePage_; }
  bool valid() const { return valid_; }

  // The bytes as Unicode; a byte the code page leaves undefined shows as U+FFFD.
  QString decode(std::string_view bytes) const;
  // The bytes as UTF-8 (for text that travels on as std::string, such as file names).
  std::string toUtf8(std::string_view bytes) const { return decode(bytes).toStdString(); }

  // The first character of `text` that the code page cannot hold, or an empty
  // string when it holds them all.
  QString refusedCharacter(const QString& text) const;
  // The text in the code page; false (and `out` untouched) when a character
  // cannot be held: nothing is ever stored as a substitute.
  bool encode(const QString& text, std::string& out) const;
  // For output that must go on (a plain-text file): characters the code page
  // cannot hold become `substitute`, except the box line, which becomes "-".
  QByteArray encodeLossy(const QString& text, char substitute = '?') const;

  // lmdProper for the school's bytes: each word with a capital first letter
  // and the rest in small letters, national letters included.
  std::string properCase(std::string_view bytes) const;

  // The bytes with every letter in capitals, national letters included (a
  // letter whose capital the code page lacks stays as it is).
  std::string upperCase(std::string_view bytes) const;

  // Bytes of `from`'s code page in this one; characters this code page cannot
  // hold become "?" (only when two tables of a school disagree on the code page).
  std::string transcode(std::string_view bytes, const SchoolText& from) const;

  // The converter of the report run on the calling thread: the school's code
  // page, which the run sets for its thread while it draws; 850 elsewhere.
  static const SchoolText& forThisThread();
  // Makes `text` the calling thread's converter for good (the program's GUI
  // thread, which works in one data directory for its whole life).
  static void useForThisThread(const SchoolText& text);
  class ThreadScope {
   public:
    explicit ThreadScope(const SchoolText& text);
    ~ThreadScope();
    ThreadScope(const ThreadScope&) = delete;
    ThreadScope& operator=(const ThreadScope&) = delete;

   private:
    const SchoolText* before_;
  };

  // A message naming a refused character: "The character "ł" (U+0142) cannot
  // be stored in the school's code page 850."
  QString refusalMessage(const QString& character) const;

  explicit SchoolText(int codePage);

 private:
  int encodeOne(char32_t ch) const;  // the byte, or -1

  int codePage_;
  bool valid_ = false;
  char16_t toUnicode_[256];
  std::unique_ptr<int16_t[]> fromUnicode_;  // byte of each BMP code point, -1 when none
};

}  // namespace velmont::qtcore
