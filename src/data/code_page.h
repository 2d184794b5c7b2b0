#pragma once
// Which code page the school's text is in. Character fields hold one byte per
// character in a code page of the program that wrote them; the bytes stay as
// they are for keys, seeks and comparisons, and are turned into Unicode only
// where text is shown or printed (that conversion lives in the Qt layers).
//
// The code page in force for a table is decided here, in this order:
//   1. a code page given for the whole run (velmont-batch --codepage N);
//   2. the table's language-driver byte (header offset 29) when it is not 0;
//   3. the school's choice in the flag file codepage.$vl of the data directory
//      (its first line holds the number, such as 850 or 1252);
//   4. 850, the DOS code page in which the card's box character (byte 196) is a line.
#include <cstdint>
#include <string>
#include <string_view>

namespace velmont::data {

class Table;

constexpr int kDefaultCodePage = 850;
inline constexpr const char* kCodePageFlagFile = "codepage.$vl";

// The code page a dBASE/Clipper language-driver id stands for; 0 for no id, or
// an id of a code page the program cannot convert.
int codePageOfDriver(uint8_t driver);
// The usual language-driver id of a code page (the one tables are stamped
// with), 0 when it has none.
uint8_t driverOfCodePage(int codePage);
// True for the single-byte code pages the program converts.
bool codePageSupported(int codePage);
// The supported code pages as text for messages: "437, 737, 850, ...".
std::string supportedCodePages();

enum class CodePageSource { kRun, kDriverByte, kFlagFile, kDefault };

struct CodePageChoice {
  int codePage = kDefaultCodePage;
  CodePageSource source = CodePageSource::kDefault;
  // For messages and `check`: "850 (the default)", "1252 (language driver 0x03)", ...
  std::string describe(uint8_t driver = 0) const;
};

// What the flag file codepage.$vl says: present or not, and its code page, or
// why it cannot be used (then the code page is 0).
struct CodePageFlag {
  bool present = false;
  int codePage = 0;
  std::string problem;
};
CodePageFlag readCodePageFlag(const std::string& dataDir);

// A code page for every table of this process's run (0 ends it). Thread-safe.
void setRunCodePage(int codePage);
int runCodePage();

// The decision above for a table with this driver byte in `dataDir`, or
// beside the flag file already read.
CodePageChoice codePageInForce(uint8_t driver, const std::string& dataDir);
CodePageChoice codePageInForce(uint8_t driver, const CodePageFlag& flag);
// For an open table: its own driver byte, and its directory's flag file.
CodePageChoice codePageOf(const Table& table);
// The students table's language-driver byte when it names a code page, else 0.
// Side tables this program creates carry it, so that their text is held in the
// same code page as the school's own.
uint8_t schoolLanguageDriver(const std::string& dataDir);

// A table's text written in another code page than the one in force shows up
// as bytes that the code page in force holds as box or control characters
// where a name would hold letters. Counts of a table's character bytes above
// 127: all of them, and those that look wrong for the code page in force.
struct CodePageEvidence {
  uint64_t national = 0;
  uint64_t suspicious = 0;
  void add(std::string_view bytes, int codePage);
  // Many suspicious bytes, and most of the national ones.
  bool looksForeign() const { return suspicious >= 3 && suspicious * 2 >= national; }
};

}  // namespace velmont::data
