#include "code_page.h"

#include <atomic>

#include "dbf_file.h"
#include "error.h"
#include "table.h"
#include "workspace.h"

namespace velmont::data {
namespace {

// The dBASE/Clipper/FoxPro language-driver ids of single-byte code pages. Ids
// of multi-byte code pages (Japanese, Chinese, Korean) are left out: a field's
// width in bytes would not be its width in characters.
struct DriverId {
  uint8_t id;
  int codePage;
};
constexpr DriverId kDrivers[] = {
    {0x01, 437},  {0x02, 850},  {0x03, 1252}, {0x08, 865},  {0x09, 437},  {0x0A, 850},  {0x0B, 437},
    {0x0D, 437},  {0x0E, 850},  {0x0F, 437},  {0x10, 850},  {0x11, 437},  {0x12, 850},  {0x14, 850},
    {0x15, 437},  {0x16, 850},  {0x17, 865},  {0x18, 437},  {0x19, 437},  {0x1A, 850},  {0x1B, 437},
    {0x1C, 863},  {0x1D, 850},  {0x1F, 852},  {0x22, 852},  {0x23, 852},  {0x24, 860},  {0x25, 850},
    {0x26, 866},  {0x37, 850},  {0x40, 852},  {0x57, 1252}, {0x58, 1252}, {0x59, 1252}, {0x64, 852},
    {0x65, 866},  {0x66, 865},  {0x67, 861},  {0x6A, 737},  {0x6B, 857},  {0x6C, 863},  {0x7C, 874},
    {0x7D, 1255}, {0x7E, 1256}, {0x86, 737},  {0x87, 852},  {0x88, 857},  {0xC8, 1250}, {0xC9, 1251},
    {0xCA, 1254}, {0xCB, 1253}, {0xCC, 1257},
};

// The id each code page is stamped with: the first of its ids above, except
// where the plain "MS-DOS" or "Windows" id is the usual one.
struct Stamp {
  int codePage;
  uint8_t id;
};
constexpr Stamp kStamps[] = {{437, 0x01}, {850, 0x02}, {1252, 0x03}, {852, 0x64}, {866, 0x65}, {865, 0x66}};

constexpr int kSupported[] = {437, 737, 850, 852, 857, 860, 861, 863, 865, 866, 874,
                              1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257};

constexpr size_t kFlagFileBound = 64;  // the number is on the first line; nothing more is read

std::atomic<int> gRunCodePage{0};

std::string hexByte(unsigned v) {
  static const char* digits = "0123456789ABCDEF";
  return std::string("0x") + digits[(v >> 4) & 15] + digits[v & 15];
}

}  // namespace

int codePageOfDriver(uint8_t driver) {
  for (const DriverId& d : kDrivers)
    if (d.id == driver) return d.codePage;
  return 0;
}

uint8_t driverOfCodePage(int codePage) {
  for (const Stamp& s : kStamps)
    if (s.codePage == codePage) return s.id;
  for (const DriverId& d : kDrivers)
    if (d.codePage == codePage) return d.id;
  return 0;
}

bool codePageSupported(int codePage) {
  for (int c : kSupported)
    if (c == codePage) return true;
  return false;
}

std::string supportedCodePages() {
  std::string text;
  for (int c : kSupported) text += (text.empty() ? "" : ", ") + std::to_string(c);
  return text;
}

std::string CodePageChoice::describe(uint8_t driver) const {
  const std::string n = std::to_string(codePage);
  switch (source) {
    case CodePageSource::kRun: return n + " (given for this run)";
    case CodePageSource::kDriverByte: return n + " (language driver " + hexByte(driver) + ")";
    case CodePageSource::kFlagFile: return n + " (" + kCodePageFlagFile + ")";
    case CodePageSource::kDefault: break;
  }
  return n + " (the default)";
}

CodePageFlag readCodePageFlag(const std::string& dataDir) {
  CodePageFlag flag;
  const std::string path = Env::current()->find(dataDir, kCodePageFlagFile);
  if (path.empty() || !nonRegularKind(path).empty()) return flag;
  flag.present = true;
  std::string head;
  try {
    head = readSideFile(path, kFlagFileBound);
  } catch (const DataError&) {
    // An unreadable flag reads as an empty one: its problem is reported below.
  }
  std::string line = head.substr(0, head.find_first_of("\r\n"));
  // A number, perhaps written as "CP850" or with blanks around it.
  size_t p = 0;
  while (p < line.size() && (line[p] == ' ' || line[p] == '\t')) ++p;
  if (line.compare(p, 2, "CP") == 0 || line.compare(p, 2, "cp") == 0) p += 2;
  int number = 0;
  size_t digits = 0;
  while (p < line.size() && line[p] >= '0' && line[p] <= '9' && digits < 6) {
    number = number * 10 + (line[p++] - '0');
    ++digits;
  }
  while (p < line.size() && (line[p] == ' ' || line[p] == '\t')) ++p;
  if (digits == 0 || p != line.size()) {
    flag.problem = std::string(kCodePageFlagFile) + ": its first line holds no code page number";
  } else if (!codePageSupported(number)) {
    flag.problem = std::string(kCodePageFlagFile) + ": code page " + std::to_string(number) +
                   " is not one of " + supportedCodePages();
  } else {
    flag.codePage = number;
  }
  return flag;
}

void setRunCodePage(int codePage) { gRunCodePage.store(codePage); }
int runCodePage() { return gRunCodePage.load(); }

CodePageChoice codePageInForce(uint8_t driver, const CodePageFlag& flag) {
  if (const int run = runCodePage(); run != 0) return {run, CodePageSource::kRun};
  if (const int fromDriver = codePageOfDriver(driver); fromDriver != 0)
    return {fromDriver, CodePageSource::kDriverByte};
  if (flag.codePage != 0) return {flag.codePage, CodePageSource::kFlagFile};
  return {kDefaultCodePage, CodePageSource::kDefault};
}

CodePageChoice codePageInForce(uint8_t driver, const std::string& dataDir) {
  if (runCodePage() != 0 || codePageOfDriver(driver) != 0) return codePageInForce(driver, CodePageFlag{});
  return codePageInForce(driver, readCodePageFlag(dataDir));
}

CodePageChoice codePageOf(const Table& table) {
  return codePageInForce(table.languageDriver(), directoryOf(table.path()));
}

uint8_t schoolLanguageDriver(const std::string& dataDir) {
  uint8_t driver = 0;
  try {
    const std::string students = Env::current()->find(dataDir, "ststuden.dbf");
    if (!students.empty() && nonRegularKind(students).empty())
      driver = DbfFile::open(students, OpenMode::kRead)->languageDriver();
  } catch (...) {
    driver = 0;  // a damaged students table is reported where it is opened
  }
  return codePageOfDriver(driver) != 0 ? driver : 0;
}

void CodePageEvidence::add(std::string_view bytes, int codePage) {
  const bool windows = codePage >= 1250 && codePage <= 1258;
  for (char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    if (b < 0x80) continue;
    ++national;
    bool odd;
    if (windows) {
      // 0x80-0x9F are quotes, dashes and unassigned codes in the Windows code
      // pages; the DOS code pages keep their accented small letters there.
      odd = b <= 0x9F;
    } else if (codePage == 437 || codePage == 850 || codePage == 865 || codePage == 866) {
      // 0xB0-0xDF are box and block characters in the DOS code pages (850 keeps
      // a few capitals among them), where the Windows code pages keep capitals
      // such as É and Ü; 0xEE-0xFF are signs in 850 (0xE0-0xFF mostly Greek and
      // mathematical signs in 437 and 865) where the Windows code pages keep
      // small letters such as ö, ü and ñ.
      odd = b >= 0xB0 && b <= 0xDF;
      if (codePage == 850 && (b == 0xB5 || b == 0xB6 || b == 0xB7 || b == 0xC6 || b == 0xC7 ||
                              (b >= 0xD0 && b <= 0xD8) || b == 0xDE))
        odd = false;
      if (codePage == 850 && b >= 0xEE) odd = true;
      if ((codePage == 437 || codePage == 865) && b >= 0xE0 && b != 0xE1) odd = true;  // 0xE1 is ß
    } else {
      odd = false;  // no telling for the other code pages
    }
    if (odd) ++suspicious;
  }
}

}  // namespace velmont::data
