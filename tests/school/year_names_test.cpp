// Year names from the flag files and the year-level routines on the control table.
#include <gtest/gtest.h>

#include <fstream>

#include "data/error.h"
#include "data/workspace.h"
#include "school/year_names.h"
#include "school_fixture.h"

namespace velmont {
namespace {

using school::YearCheck;
using testing::SchoolCopy;

TEST(YearNames, WithoutFlagFilesTheWordIsYearAndNoLevelIsNamed) {
  SchoolCopy school;
  const school::YearNames names = school::YEAR_NAMES(school::SchoolFolder(school.dir()));
  EXPECT_EQ(names.word, " Year");
  for (const std::string& name : names.names) EXPECT_EQ(name, std::string(10, ' '));
}

TEST(YearNames, NamibiaFileMakesThemGrades) {
  SchoolCopy school({"namibia"});
  EXPECT_EQ(school::YEAR_NAMES(school::SchoolFolder(school.dir())).word, "Grade");
}

TEST(YearNames, GradeFileWinsOverNamibiaAndSkipsItsOddLines) {
  SchoolCopy school({"namibia", "grade"});
  const school::YearNames names = school::YEAR_NAMES(school::SchoolFolder(school.dir()));
  EXPECT_EQ(names.word, "Form" + std::string(75, ' '));
  EXPECT_EQ(names.names[6], "Form One");
  EXPECT_EQ(names.names[11], "Sixth && Seventh");  // "&" doubled for labels
  EXPECT_EQ(names.names[13], "Adult Education");
  EXPECT_EQ(names.names[4], "5");  // a line without a comma names its level with itself
  EXPECT_EQ(names.names[0], std::string(10, ' '));
  EXPECT_EQ(names.names[19], std::string(10, ' '));  // "21,Extra" and "0,None" are ignored
}

TEST(YearNames, GradeFileWithWindowsLineEndsAndLongLines) {
  SchoolCopy school;
  std::ofstream(school.file("GRADE.$VL"), std::ios::binary)
      << "Level\r\n3,Junior\r\n4," << std::string(100, 'x') << "\r\n20,Top  \r\n";
  const school::YearNames names = school::YEAR_NAMES(school::SchoolFolder(school.dir()));
  EXPECT_EQ(names.word.substr(0, 6), "Level ");
  EXPECT_EQ(names.names[2], "Junior");
  EXPECT_EQ(names.names[3], std::string(77, 'x'));  // lines are read 79 wide
  EXPECT_EQ(names.names[19], "Top");
}

TEST(YearNames, FeesMessageKeepsTheBlankOfTheDefaultWord) {
  const auto lines = school::yearFeesMessage(" Year");
  EXPECT_EQ(lines[0], "To use this School  Year, please ensure that a SCHOOL FEES AMOUNT");
  EXPECT_EQ(lines[1], "has been allocated in the Miscellaneous Menu - Control Information - School FEES Menu.");
}

class YearLevels : public ::testing::Test {
 protected:
  void TearDown() override { ws.closeAll(); }
  SchoolCopy school;  // levels 7 to 14 have fees; 13 is "FS", 14 is "AE"
  data::Workspace ws;
};

TEST_F(YearLevels, RangeOfTheDemoSchoolRunsFromSevenToTheHighestCode) {
  std::string start, end;
  school::yr_range(ws, school::SchoolFolder(school.dir()), start, end);
  EXPECT_EQ(start, " 7");
  EXPECT_EQ(end, "AE");
  EXPECT_FALSE(ws.isOpen("sccontro"));  // opened for the call only
}

TEST_F(YearLevels, RangeOfLevelsThreeToTen) {
  for (uint32_t level = 1; level <= 20; ++level)
    school.setControl(level, "PA_FE_AM", level >= 3 && level <= 10 ? 100.0 : 0.0);
  std::string start, end;
  school::yr_range(ws, school::SchoolFolder(school.dir()), start, end);
  EXPECT_EQ(start, " 3");
  EXPECT_EQ(end, "10");
}

TEST_F(YearLevels, RangeOfOnlyCodedLevels) {
  for (uint32_t level = 1; level <= 20; ++level)
    school.setControl(level, "PA_FE_AM", level == 13 || level == 14 ? 100.0 : 0.0);
  std::string start, end;
  school::yr_range(ws, school::SchoolFolder(school.dir()), start, end);
  EXPECT_EQ(start, "FS");
  EXPECT_EQ(end, "AE");
}

TEST_F(YearLevels, RangeWithNoLevelInUse) {
  for (uint32_t level = 1; level <= 20; ++level) school.setControl(level, "PA_FE_AM", 0.0);
  std::string start, end;
  school::yr_range(ws, school::SchoolFolder(school.dir()), start, end);
  EXPECT_EQ(start, " 0");
  EXPECT_EQ(end, " 0");
}

TEST_F(YearLevels, DisplayCodes) {
  EXPECT_EQ(school::put_yrout(ws, school::SchoolFolder(school.dir()), 7), " 7");
  EXPECT_EQ(school::put_yrout(ws, school::SchoolFolder(school.dir()), 12), "12");
  EXPECT_EQ(school::put_yrout(ws, school::SchoolFolder(school.dir()), 13), "FS");
  EXPECT_EQ(school::put_yrout(ws, school::SchoolFolder(school.dir()), 25), "  ");
}

TEST_F(YearLevels, EntryCheckAcceptsLevelsWithFeesByNumberOrCode) {
  int level = -1;
  EXPECT_EQ(school::checkYearEntry(ws, school::SchoolFolder(school.dir()), " 7", &level), school::YearCheck::kAccepted);
  EXPECT_EQ(level, 7);
  EXPECT_EQ(school::checkYearEntry(ws, school::SchoolFolder(school.dir()), "AE", &level), school::YearCheck::kAccepted);
  EXPECT_EQ(level, 14);
  EXPECT_EQ(school::checkYearEntry(ws, school::SchoolFolder(school.dir()), "F", &level), school::YearCheck::kAccepted);  // begins the code FS
  EXPECT_EQ(level, 13);
}

TEST_F(YearLevels, EntryCheckRefusals) {
  int level = -1;
  EXPECT_EQ(school::checkYearEntry(ws, school::SchoolFolder(school.dir()), " 5", &level), school::YearCheck::kNoFees);
  EXPECT_EQ(level, 5);
  EXPECT_EQ(school::checkYearEntry(ws, school::SchoolFolder(school.dir()), "ZZ", &level), school::YearCheck::kUnknown);
  EXPECT_EQ(level, 0);
  // A level beyond the table's records has no fees either.
  EXPECT_EQ(school::checkYearEntry(ws, school::SchoolFolder(school.dir()), "45", &level), school::YearCheck::kNoFees);
  EXPECT_EQ(school::checkYearEntry(ws, school::SchoolFolder(school.dir()), "99999999999", &level), school::YearCheck::kNoFees);
  // An empty entry matches the first record, whose code is blank.
  EXPECT_EQ(school::checkYearEntry(ws, school::SchoolFolder(school.dir()), "", &level), school::YearCheck::kUnknown);
  school.setControl(13, "PA_FE_AM", 0.0);
  EXPECT_EQ(school::checkYearEntry(ws, school::SchoolFolder(school.dir()), "FS", &level), school::YearCheck::kNoFees);
  EXPECT_EQ(level, 13);
}

TEST_F(YearLevels, TypedCodeToLevelAlwaysSucceeds) {
  int level = -1;
  EXPECT_TRUE(school::ent_yrin(ws, school::SchoolFolder(school.dir()), "ZZ", level));
  EXPECT_EQ(level, 0);
  EXPECT_TRUE(school::ent_yrin(ws, school::SchoolFolder(school.dir()), "5", level));  // no fee check
  EXPECT_EQ(level, 5);
  EXPECT_TRUE(school::ent_yrin(ws, school::SchoolFolder(school.dir()), "AE", level));
  EXPECT_EQ(level, 14);
}

TEST_F(YearLevels, AnOpenControlTableIsUsedAndLeftOpenOnItsTop) {
  data::Table& students = ws.open(school.file("ststuden.dbf"), "ststuden");
  data::Table& control = ws.open(school.file("sccontro.dbf"), "sccontro");
  control.goTo(5);
  ws.select("ststuden");
  students.goTo(3);
  int level = 0;
  EXPECT_EQ(school::checkYearEntry(ws, school::SchoolFolder(school.dir()), "AE", &level), school::YearCheck::kAccepted);
  EXPECT_TRUE(ws.isOpen("sccontro"));
  EXPECT_EQ(control.recno(), 1u);
  EXPECT_EQ(ws.current(), &students);  // the caller's area is selected again
  EXPECT_EQ(students.recno(), 3u);

  ws.select("sccontro");
  EXPECT_EQ(school::put_yrout(ws, school::SchoolFolder(school.dir()), 14), "AE");
  EXPECT_EQ(ws.current(), &control);
}

TEST_F(YearLevels, PutYroutReselectsTheAreaItFound) {
  data::Table& students = ws.open(school.file("ststuden.dbf"), "ststuden");
  EXPECT_EQ(school::put_yrout(ws, school::SchoolFolder(school.dir()), 13), "FS");
  EXPECT_EQ(ws.current(), &students);
  EXPECT_FALSE(ws.isOpen("SCCONTRO"));
}

TEST_F(YearLevels, MissingControlTableIsAnErrorNamingIt) {
  std::filesystem::remove(school.file("sccontro.dbf"));
  std::string start, end;
  try {
    school::yr_range(ws, school::SchoolFolder(school.dir()), start, end);
    FAIL() << "no error";
  } catch (const data::DataError& e) {
    EXPECT_NE(e.file().find("sccontro.dbf"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace velmont
