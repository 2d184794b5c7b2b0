// Which code page a table's text is read in: the run's choice, the table's
// language-driver byte, the school's flag file codepage.$vl, then 850; and the
// sign that a table's text was written in another code page.
#include <gtest/gtest.h>

#include <fstream>

#include "school/school_folder.h"
#include "data/code_page.h"
#include "data/dbf_file.h"
#include "data/table.h"
#include "temp_dir.h"

using namespace velmont::data;
using velmont::testing::TempDir;

namespace {

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A one-field table whose header carries `driver` at offset 29.
std::string tableWithDriver(const TempDir& dir, const std::string& name, uint8_t driver) {
  const std::string path = dir.file(name);
  DbfFile::create(path, {{"T", 'C', 10}}, driver);
  return path;
}

class RunCodePage : public ::testing::Test {
 protected:
  void TearDown() override { setRunCodePage(0); }
};

}  // namespace

TEST(CodePageTest, DriverIdsOfTheCommonCodePages) {
  EXPECT_EQ(codePageOfDriver(0x00), 0);
  EXPECT_EQ(codePageOfDriver(0x01), 437);
  EXPECT_EQ(codePageOfDriver(0x02), 850);
  EXPECT_EQ(codePageOfDriver(0x03), 1252);
  EXPECT_EQ(codePageOfDriver(0x64), 852);
  EXPECT_EQ(codePageOfDriver(0x65), 866);
  EXPECT_EQ(codePageOfDriver(0x66), 865);
  EXPECT_EQ(codePageOfDriver(0xC8), 1250);
  EXPECT_EQ(codePageOfDriver(0xC9), 1251);
  EXPECT_EQ(codePageOfDriver(0x13), 0) << "a multi-byte code page is not taken";
  EXPECT_EQ(codePageOfDriver(0xFF), 0);
  // Each code page's stamp names it again.
  for (int cp : {437, 850, 852, 865, 866, 1250, 1251, 1252}) EXPECT_EQ(codePageOfDriver(driverOfCodePage(cp)), cp) << cp;
}

TEST_F(RunCodePage, PrecedenceRunThenDriverByteThenFlagFileThenDefault) {
  TempDir dir;
  const std::string plain = tableWithDriver(dir, "plain.dbf", 0);
  const std::string ansi = tableWithDriver(dir, "ansi.dbf", 0x03);
  auto cpOf = [](const std::string& path) { return codePageOf(*Table::open(path, "T")); };

  EXPECT_EQ(cpOf(plain).codePage, 850);
  EXPECT_EQ(cpOf(plain).source, CodePageSource::kDefault);
  EXPECT_EQ(cpOf(ansi).codePage, 1252);
  EXPECT_EQ(cpOf(ansi).source, CodePageSource::kDriverByte);

  writeFile(dir.file("CODEPAGE.$VL"), "1251\r\nanything after the first line\r\n");  // any letter case
  EXPECT_EQ(cpOf(plain).codePage, 1251);
  EXPECT_EQ(cpOf(plain).source, CodePageSource::kFlagFile);
  EXPECT_EQ(cpOf(ansi).codePage, 1252) << "the table's own driver byte comes before the school's flag";

  setRunCodePage(437);
  EXPECT_EQ(cpOf(plain).codePage, 437);
  EXPECT_EQ(cpOf(ansi).codePage, 437);
  EXPECT_EQ(cpOf(ansi).source, CodePageSource::kRun);
  EXPECT_EQ(cpOf(ansi).describe(0x03), "437 (given for this run)");
  setRunCodePage(0);
  EXPECT_EQ(cpOf(ansi).describe(0x03), "1252 (language driver 0x03)");
}

TEST(CodePageTest, SchoolCodePageFollowsTheStudentsTableAndStampsNewSideTables) {
  TempDir dir;
  EXPECT_EQ(velmont::school::SchoolFolder(dir.path().string()).codePage().codePage, 850) << "no students table: the default";
  tableWithDriver(dir, "STSTUDEN.DBF", 0xC8);
  EXPECT_EQ(velmont::school::SchoolFolder(dir.path().string()).codePage().codePage, 1250);
  EXPECT_EQ(schoolLanguageDriver(dir.path().string()), 0xC8);
  // A damaged students table counts as one without a driver byte.
  writeFile(dir.file("STSTUDEN.DBF"), "not a table");
  writeFile(dir.file("codepage.$vl"), "1252");
  EXPECT_EQ(velmont::school::SchoolFolder(dir.path().string()).codePage().codePage, 1252);
  EXPECT_EQ(schoolLanguageDriver(dir.path().string()), 0);
}

TEST(CodePageTest, FlagFileIsReadWithABoundAndOddContentIsIgnored) {
  TempDir dir;
  const std::string d = dir.path().string();
  EXPECT_FALSE(readCodePageFlag(d).present);
  const std::pair<std::string, int> cases[] = {
      {"850", 850},       {" 1252 \n", 1252},   {"CP852\r\n", 852}, {"cp866", 866},
      {"", 0},            {"Western", 0},       {"1252x", 0},       {"999", 0},
      {"12520000000", 0}, {std::string(100000, '7'), 0}};
  for (const auto& [content, expected] : cases) {
    writeFile(dir.file("codepage.$vl"), content);
    const CodePageFlag flag = readCodePageFlag(d);
    EXPECT_TRUE(flag.present);
    EXPECT_EQ(flag.codePage, expected) << "\"" << content.substr(0, 20) << "\"";
    EXPECT_EQ(flag.problem.empty(), expected != 0) << content.substr(0, 20);
    EXPECT_EQ(codePageInForce(0, d).codePage, expected ? expected : 850);
  }
}

TEST(CodePageTest, TextWrittenInAnotherCodePageLooksForeign) {
  // Names as a Windows program writes them, read as 850: É (0xC9) and À (0xC0)
  // are box characters there and ü (0xFC) a sign, while ë and ç (0xEB, 0xE7)
  // fall on other letters and prove nothing.
  CodePageEvidence windowsTextAs850;
  windowsTextAs850.add("Zo\xEB M\xFCller", 850);
  windowsTextAs850.add("\xC9" "conomie", 850);
  windowsTextAs850.add("Fran\xE7" "ais", 850);
  EXPECT_FALSE(windowsTextAs850.looksForeign()) << "two odd characters among four are no proof";
  windowsTextAs850.add("\xC9l\xE8ve \xC0 \xC9t\xC9", 850);
  EXPECT_TRUE(windowsTextAs850.looksForeign());

  // The same names from a DOS program, read as 1252: ë is 0x89, ü 0x81, é 0x82.
  CodePageEvidence dosTextAs1252;
  dosTextAs1252.add("Zo\x89 M\x81ller Jos\x82", 1252);
  EXPECT_TRUE(dosTextAs1252.looksForeign());
  CodePageEvidence dosTextAs850;
  dosTextAs850.add("Zo\x89 M\x81ller Jos\x82 \x90" "cole", 850);
  EXPECT_FALSE(dosTextAs850.looksForeign());
  EXPECT_EQ(dosTextAs850.national, 4u);
}
