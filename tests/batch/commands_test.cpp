// Command-line manners and the CSV dump.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "batch/arguments.h"
#include "batch/table_dump.h"
#include "batch_test_helpers.h"

using namespace velmont;
using namespace velmont::testing;

TEST(CommandLineTest, WrongArgumentsGiveOneLineAndStatusTwo) {
  const std::vector<std::vector<std::string>> wrong = {
      {},
      {"print"},
      {"demo"},
      {"demo", "a", "b"},
      {"demo", "x", "--students", "many"},
      {"demo", "x", "--students", "5"},
      {"demo", "x", "--year", "20"},
      {"demo", "x", "--flags", "grade,colour"},
      {"demo", "x", "--seed"},
      {"demo", "x", "--colour", "red"},
      {"check"},
      {"dump"},
      {"dump", "t", "--fields", ","}};
  for (const auto& args : wrong) {
    const CommandResult r = runCommand(args);
    std::string shown;
    for (const auto& a : args) shown += a + " ";
    EXPECT_EQ(r.status, 2) << shown;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << shown << ": " << r.err;
    EXPECT_TRUE(r.out.empty()) << shown;
  }
}

TEST(CommandLineTest, HelpOnEveryCommand) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"--help"}, {"demo", "--help"}, {"check", "--help"}, {"dump", "--help"}}) {
    const CommandResult r = runCommand(args);
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("usage: velmont-batch"), std::string::npos) << args[0];
  }
}

TEST(CommandLineTest, DataProblemsNameTheFileAndGiveStatusOne) {
  TempDir dir;
  CommandResult r = runCommand({"dump", dir.file("nothing.dbf")});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("nothing.dbf"), std::string::npos) << r.err;
  r = runCommand({"check", dir.file("no-such-dir")});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("no-such-dir"), std::string::npos) << r.err;
  r = runCommand({"dump", sharedDemoDir() + "/ststuden", "--fields", "ST_NUMBER,ST_SHOE"});
  EXPECT_EQ(r.status, 2) << "a field the table lacks is a wrong argument";
  EXPECT_NE(r.err.find("ST_SHOE"), std::string::npos);
}

TEST(ArgumentsTest, OptionsTakeValuesInEitherForm) {
  batch::Arguments a({"dir", "--students=45", "--flags", " grade , arank,,", "--replace"},
                     {"students", "flags"}, {"replace"});
  EXPECT_EQ(a.positionals(), std::vector<std::string>{"dir"});
  EXPECT_EQ(a.number("students", 1, 30, 100), 45);
  EXPECT_EQ(a.number("seed", 7, 0, 9), 7);
  EXPECT_EQ(a.list("flags"), (std::vector<std::string>{"grade", "arank"}));
  EXPECT_TRUE(a.has("replace"));
  EXPECT_THROW(batch::Arguments({"--replace=yes"}, {}, {"replace"}), batch::UsageError);
}

TEST(DumpTest, CsvOfStudentsInIndexOrder) {
  const CommandResult r = runCommand({"dump", sharedDemoDir() + "/ststuden.dbf", "--index", "STNUMBER",
                                      "--fields", "ST_NUMBER,ST_DOB,ST_BOARDER,ST_GRAD_DT,ST_SURNAME"});
  ASSERT_EQ(r.status, 0) << r.err;
  std::istringstream lines(r.out);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, "ST_NUMBER,ST_DOB,ST_BOARDER,ST_GRAD_DT,ST_SURNAME");
  int previous = 0, rows = 0;
  while (std::getline(lines, line)) {
    ++rows;
    const int number = std::stoi(line);
    EXPECT_LT(previous, number) << "in student number order";
    previous = number;
    // Dates as YYYY-MM-DD, logicals as T or F, an empty date as nothing.
    EXPECT_EQ(line[line.find(',') + 5], '-') << line;
    EXPECT_NE(line.find(",F,"), std::string::npos) << line;
  }
  EXPECT_EQ(rows, 40);
}

TEST(DumpTest, ATableInAFolderWithNationalLettersIsFoundWithItsIndex) {
  TempDir dir;
  const std::string school = dir.file("Sch\xC3\xBCler \xC3\xA9t\xC3\xA9");
  copyDirectory(sharedDemoDir(), school);
  // Named without its extension, the index found beside the table.
  const CommandResult r = runCommand({"dump", school + "/ststuden", "--index", "STNUMBER", "--fields", "ST_NUMBER"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 41) << r.out;
  const CommandResult wrong = runCommand({"dump", school + "/ststuden", "--fields", "ST_SHOE"});
  EXPECT_NE(wrong.err.find("ststuden.dbf has no field ST_SHOE"), std::string::npos) << wrong.err;
}

TEST(DumpTest, DeletedRecordsLeftOutAndTextQuotedWhereNeeded) {
  TempDir dir;
  copyDirectory(sharedDemoDir(), dir.file("s"));
  const std::string table = dir.file("s") + "/STSUB24.dbf";
  overwrite(table, fieldOffset(table, "STSUB_NUMB", 1) - 1, "*");
  const CommandResult all = runCommand({"dump", sharedDemoDir() + "/STSUB24.dbf"});
  const CommandResult some = runCommand({"dump", table});
  ASSERT_EQ(some.status, 0) << some.err;
  auto rows = [](const std::string& csv) {
    // Records, not lines: a memo with a line break stays in one quoted cell.
    int n = 0;
    bool quoted = false;
    for (char c : csv) {
      if (c == '"') quoted = !quoted;
      if (c == '\n' && !quoted) ++n;
    }
    return n;
  };
  EXPECT_EQ(rows(some.out), rows(all.out) - 1);
  EXPECT_NE(all.out.find("\r\n"), std::string::npos) << "memo line breaks kept inside quotes";
}
