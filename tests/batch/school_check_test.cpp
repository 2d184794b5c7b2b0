// The data directory check: clean on the demo school, and each kind of fault
// named on a copy damaged on purpose.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "batch_test_helpers.h"
#include "school/subject_table.h"
#include "field_widths.h"

using namespace velmont::testing;
namespace fs = std::filesystem;

namespace {

class SchoolCheckTest : public ::testing::Test {
 protected:
  void SetUp() override { copyDirectory(sharedDemoDir(), school()); }
  std::string school() const { return dir_.file("school"); }
  std::string path(const std::string& file) const { return school() + "/" + file; }
  CommandResult check() const { return runCommand({"check", school(), "--year", std::to_string(kTestYear)}); }
  // Runs the check and expects it to fail with a line naming `file` and `words`.
  void expectError(const std::string& file, const std::string& words) const {
    const CommandResult r = check();
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.out.find("error: " + file + ": "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(words), std::string::npos) << r.out;
  }
  // Expects a warning naming `file` and `words`, and no error: no report stops.
  void expectWarningOnly(const std::string& file, const std::string& words) const {
    const CommandResult r = check();
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out.find("error: "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("warning: " + file + ": "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(words), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("no report would be stopped"), std::string::npos) << r.out;
  }

  TempDir dir_;
};

}  // namespace

TEST_F(SchoolCheckTest, DemoSchoolIsCleanAndNothingIsWritten) {
  const auto before = readDirectory(school());
  const CommandResult r = check();
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out.find("error:"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("warning:"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("STSUB24.ntx: missing: the program builds it"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("0 errors"), std::string::npos);
  EXPECT_TRUE(readDirectory(school()) == before) << "check must never write";
}

TEST_F(SchoolCheckTest, MissingFilesAreWeighedByWhatTheyStop) {
  fs::remove(path("ststuden.dbf"));
  fs::remove(path("paindx.ntx"));
  fs::remove(path("STSUB24.dbf"));
  fs::remove(path("STSUB24.dbt"));
  const CommandResult r = check();
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("error: ststuden.dbf: missing"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("error: paindx.ntx: missing: the program opens this index and never builds it"), std::string::npos);
  EXPECT_NE(r.out.find("warning: STSUB24.dbf: missing"), std::string::npos) << r.out;
}

TEST_F(SchoolCheckTest, FieldsMissingOfTheWrongTypeOrInTheWrongPlace) {
  overwrite(path("ststuden.dbf"), fieldOffset(path("ststuden.dbf"), "ST_YEAR", 0), "ST_YEAX");
  overwrite(path("ststuden.dbf"), fieldOffset(path("ststuden.dbf"), "ST_DOB", 0) + 11, "C");
  const CommandResult r = check();
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("error: ststuden.dbf: has no field ST_YEAR"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("error: ststuden.dbf: field ST_DOB is character; the program needs date"), std::string::npos) << r.out;

  // Houses are read as field 41: a table with another field there is wrong even
  // though every name is present.
  const uint64_t house = fieldOffset(path("sccontro.dbf"), "ST_HOUSE", 0);
  const uint64_t colour = fieldOffset(path("sccontro.dbf"), "ST_HSE_COL", 0);
  overwrite(path("sccontro.dbf"), house, std::string("ST_HSE_COL\0", 11));
  overwrite(path("sccontro.dbf"), colour, std::string("ST_HOUSE\0\0\0", 11));
  expectError("sccontro.dbf", "field ST_HOUSE is field 43; start-up reads field 41");
}

TEST_F(SchoolCheckTest, IndexKeysThatNoLongerMatchTheirRecords) {
  // A surname changed behind the name index's back.
  overwrite(path("ststuden.dbf"), fieldOffset(path("ststuden.dbf"), "ST_SURNAME", 3), "Zzyzx");
  expectWarningOnly("STSTNAME.ntx", "record 3 is filed under");
}

TEST_F(SchoolCheckTest, OnlyWhatStopsAReportIsAnError) {
  // A number index under old keys misses a seek; a family index the same.
  const std::string stnumber = readFile(path("STNUMBER.ntx"));
  overwrite(path("ststuden.dbf"), fieldOffset(path("ststuden.dbf"), "ST_NUMBER", 4), "   999");
  expectWarningOnly("STNUMBER.ntx", "record 4 is filed under");
  // A damaged past students' table stops only a past student's card.
  overwrite(path("STNUMBER.ntx"), 0, stnumber);
  overwrite(path("ststuden.dbf"), fieldOffset(path("ststuden.dbf"), "ST_NUMBER", 4),
            readFile(sharedDemoDir() + "/ststuden.dbf").substr(fieldOffset(path("ststuden.dbf"), "ST_NUMBER", 4), 6));
  keepRecords(path("stpast.dbf"), 2);
  expectWarningOnly("stpast.ntx", "(only past students' cards need it)");
  // A table cut short under its index stops the reports that meet the entries.
  fs::remove(path("stpast.dbf"));  // copy_file's overwrite option fails in the mingw runtime
  fs::copy_file(sharedDemoDir() + "/stpast.dbf", path("stpast.dbf"));
  keepRecords(path("ststuden.dbf"), 30);
  expectError("STSTNAME.ntx", "names record 31 but the table has 30 records: reports that meet it stop");
}

TEST_F(SchoolCheckTest, AHeaderCountBehindItsRecordsIsAWarning) {
  overwrite(path("ttstaff.dbf"), 4, std::string("\x02\0\0\0", 4));
  expectWarningOnly("ttstaff.dbf", "the header counts 2 records but the file holds ");
}

TEST_F(SchoolCheckTest, RecordsAddedWithoutTheirIndexEntries) {
  const std::string copy = readFile(path("paparent.dbf"));
  // Appending a copy of the last record without touching paindx.ntx.
  const uint16_t headerLength = uint16_t(uint8_t(copy[8]) | uint8_t(copy[9]) << 8);
  const uint16_t recordLength = uint16_t(uint8_t(copy[10]) | uint8_t(copy[11]) << 8);
  const uint32_t count = uint32_t(uint8_t(copy[4]) | uint8_t(copy[5]) << 8);
  const std::string last = copy.substr(headerLength + size_t(count - 1) * recordLength, recordLength);
  overwrite(path("paparent.dbf"), headerLength + uint64_t(count) * recordLength, last);
  // The cards stop on a family index that leaves a family out.
  expectError("paindx.ntx", "record " + std::to_string(count + 1) + " (key ");
}

TEST_F(SchoolCheckTest, WhatStopsTheReportsAtTheirStartIsAnError) {
  // A flag file the reports' start cannot read.
  fs::remove(path("homecl.$vl"));
  fs::create_directory(path("homecl.$vl"));
  expectError("homecl.$vl", "not a file");
  fs::remove(path("homecl.$vl"));
  // The year's subject table gone, its memo file left: the reports cannot make it anew.
  fs::remove(path("STSUB24.dbf"));
  fs::remove(path("STSUB24.ntx"));
  expectError("STSUB24.dbf", "its memo file STSUB24.dbt is there");
}

TEST_F(SchoolCheckTest, DamagedIndexAndMemoFiles) {
  const std::string ntx = path("STNUMBER.ntx");
  overwrite(ntx, 1024, std::string(64, '\x7F'));  // the first tree page
  const CommandResult r = check();
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("error: STNUMBER.ntx: "), std::string::npos) << r.out;

  fs::remove(ntx);  // copy_file's overwrite option fails in the mingw runtime
  fs::copy_file(sharedDemoDir() + "/STNUMBER.ntx", ntx);
  overwrite(path("STSUB24.dbf"), fieldOffset(path("STSUB24.dbf"), "STSUB_NOTE", 2), "   9999999");
  expectError("STSUB24.dbf", "record 2: ");
}

TEST_F(SchoolCheckTest, ControlRecordsTheProgramAddresses) {
  keepRecords(path("sccontro.dbf"), 3);
  expectError("sccontro.dbf", "has 3 records; the program reads records 1 to 6");

  copyDirectory(sharedDemoDir(), dir_.file("fees"));
  const std::string ctl = dir_.file("fees") + "/sccontro.dbf";
  for (uint32_t rec = 1; rec <= 20; ++rec) overwrite(ctl, fieldOffset(ctl, "PA_FE_AM", rec), "     0.00");
  const CommandResult r = runCommand({"check", dir_.file("fees"), "--year", std::to_string(kTestYear)});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("no year level has a fee amount"), std::string::npos) << r.out;
}

TEST_F(SchoolCheckTest, WarningsDoNotStopReports) {
  overwrite(path("ccmp.dst"), fieldOffset(path("ccmp.dst"), "C1", 1), std::string(60, ' '));
  fs::remove(path("watermark.bmp"));
  const CommandResult r = check();
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("warning: ccmp.dst: the school's name (C1) is blank"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("warning: rvhplogo.dbf: record 6 names the watermark watermark.bmp"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("2 warnings"), std::string::npos) << r.out;
}

TEST_F(SchoolCheckTest, UnreadableTableIsNamed) {
  overwrite(path("subjects.dbf"), 0, "\x30");  // a version byte no dBASE III reader takes
  expectError("subjects.dbf", "cannot be opened");
}

TEST_F(SchoolCheckTest, SubjectIndexOfAnotherKeyAndShortHeadingsTable) {
  // An index over the year's subjects under a key the program does not seek.
  auto subjects = velmont::data::Table::open(path("STSUB24.dbf"), "STSUB");
  subjects->createIndex(path("STSUB24.ntx"), "str(stsub_numb)+str(stsub_line)+str(stsub_term)");
  expectError("STSUB24.ntx", "the program seeks str(stsub_numb)+str(stsub_term)+str(stsub_line)");
  subjects->createIndex(path("STSUB24.ntx"), "STR(STSUB_NUMB) + STR(STSUB_TERM) + STR(STSUB_LINE)");
  EXPECT_EQ(check().status, 0) << "the same key in other letters and spacing is the program's";

  // A headings table without its records: the cards stop on it, and check says so.
  velmont::data::DbfFile::create(path("headeots.dbf"), {{"H4", 'C', 4}, {"H20", 'C', 20}});
  expectError("headeots.dbf", "has 0 records of 6: the cards stop on it");
}

TEST_F(SchoolCheckTest, SubjectIndexIsWeighedAgainstTheTablesOwnWidths) {
  // A school whose subject numbers are 8 wide: the program's index over them is right.
  rewriteWithWidths(path("STSUB24.dbf"), {{"STSUB_NUMB", {8}}, {"STSUB_TERM", {2}}, {"STSUB_LINE", {3}}});
  velmont::data::Table::open(path("STSUB24.dbf"), "STSUB")->createIndex(path("STSUB24.ntx"),
                                                                        velmont::school::kSubjectKeyExpression);
  const CommandResult r = check();
  EXPECT_EQ(r.status, 0) << r.out;
  // The table narrowed again behind the index's back: its keys no longer fit the seeks.
  rewriteWithWidths(path("STSUB24.dbf"), {{"STSUB_NUMB", {7}}, {"STSUB_TERM", {1}}, {"STSUB_LINE", {2}}});
  expectError("STSUB24.ntx", "key is 13 bytes; the fields STSUB_NUMB, STSUB_TERM and STSUB_LINE make 10");
}

TEST(SchoolCheckCodePageTest, NamesEachTablesCodePageAndWarnsOfTextInAnother) {
  TempDir dir;
  const std::string school = dir.file("school");
  ASSERT_EQ(runCommand({"demo", school, "--students", "40", "--year", std::to_string(kTestYear), "--codepage", "1252"})
                .status,
            0);
  auto check = [&](std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"check", school, "--year", std::to_string(kTestYear)};
    args.insert(args.end(), extra.begin(), extra.end());
    return runCommand(args);
  };
  CommandResult r = check();
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("note: ststuden.dbf: text in code page 1252 (codepage.$vl)"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("warning:"), std::string::npos) << r.out;

  // Without its flag file the school's 1252 text is read as 850: the family
  // address's É and ü are box characters and signs there.
  fs::remove(school + "/codepage.$vl");
  r = check();
  EXPECT_NE(r.out.find("note: paparent.dbf: text in code page 850 (the default)"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("warning: paparent.dbf: "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("looks written in another code page"), std::string::npos) << r.out;
  EXPECT_EQ(r.status, 0) << "a warning stops no report";

  r = check({"--codepage", "1252"});
  EXPECT_NE(r.out.find("note: paparent.dbf: text in code page 1252 (given for this run)"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("warning:"), std::string::npos) << r.out;

  std::ofstream(school + "/codepage.$vl") << "Latin-1\r\n";
  r = check();
  EXPECT_NE(r.out.find("warning: codepage.$vl: its first line holds no code page number; it is ignored"),
            std::string::npos)
      << r.out;
}
