// Term, year and processing date rules and the captions they produce.
#include <gtest/gtest.h>

#include <fstream>

#include "school/school_settings.h"
#include "school/term_rules.h"
#include "data/workspace.h"
#include "libs/date_text.h"
#include "school_fixture.h"

namespace velmont::school {
namespace {

using data::Date;

TermStarts starts(int year, int year3 = 0) {
  return {Date::fromYmd(year, 2, 3), Date::fromYmd(year, 4, 20), Date::fromYmd(year3 ? year3 : year, 7, 13),
          Date::fromYmd(year, 10, 5)};
}

SessionValues started(const Date& today) { return freshSessionValues(school::SchoolFolder("."), today); }

TEST(TermRules, ProcessingDateFindsItsTerm) {
  EXPECT_EQ(deriveTerm(starts(2004), Date::fromYmd(2004, 5, 1)).term, 2);
  EXPECT_EQ(deriveTerm(starts(2004), Date::fromYmd(2004, 1, 10)).term, 1);  // before term 1
  EXPECT_EQ(deriveTerm(starts(2004), Date::fromYmd(2004, 7, 13)).term, 3);  // on the first day
  EXPECT_EQ(deriveTerm(starts(2004), Date::fromYmd(2004, 12, 24)).term, 4);
  EXPECT_EQ(deriveTerm(TermStarts{}, Date::fromYmd(2004, 5, 1)).term, 1);
  TermStarts three = starts(2004);
  three[3] = {};
  EXPECT_EQ(deriveTerm(three, Date::fromYmd(2004, 12, 1)).term, 3);
}

TEST(TermRules, AllYearOnlyWhenTheDefinedTermsShareTheirYear) {
  EXPECT_TRUE(deriveTerm(starts(2004), Date::fromYmd(2004, 5, 1)).allYear);
  EXPECT_FALSE(deriveTerm(starts(2004, 2005), Date::fromYmd(2004, 5, 1)).allYear);
  EXPECT_FALSE(deriveTerm(TermStarts{}, Date::fromYmd(2004, 5, 1)).allYear);
  TermStarts two = {Date::fromYmd(2004, 2, 3), Date::fromYmd(2004, 4, 20), {}, {}};
  EXPECT_TRUE(deriveTerm(two, Date::fromYmd(2004, 5, 1)).allYear);
}

TEST(TermRules, WithoutArgumentsTheHeadingShowsTermYearAndDateAndTheNowCaptionIsHidden) {
  libs::setDateOrder(libs::DateOrder::kDayMonthYear);
  SessionValues v = started(Date::fromYmd(2026, 3, 9));
  EXPECT_FALSE(applyArguments(v, {}));
  EXPECT_EQ(v.term, 3);
  EXPECT_EQ(v.year, 2026);
  EXPECT_EQ(headingCaption(v), "Term 3 2026  09/03/2026");
  // Nothing registered yet, but without arguments start-up does not bring the
  // captions up to date, so the window only shows the heading.
}

TEST(TermRules, ArgumentsSetTermAndYearAndTheNowCaptionShows) {
  libs::setDateOrder(libs::DateOrder::kDayMonthYear);
  SessionValues v = started(Date::fromYmd(2026, 3, 9));
  EXPECT_TRUE(applyArguments(v, {"2", "2004"}));
  EXPECT_EQ(v.term, 2);
  EXPECT_EQ(v.year, 2004);
  EXPECT_TRUE(nowCaptionShown(v));  // no term registered yet
  EXPECT_EQ(nowCaption(v), "Term 2 2004  09/03/2026");

  SessionValues one = started(Date::fromYmd(2026, 3, 9));
  applyArguments(one, {"1"});
  EXPECT_EQ(one.term, 1);
  EXPECT_EQ(one.year, 2026);
}

TEST(TermRules, ChangeProcessingDateRegistersAndHidesTheNowCaption) {
  libs::setDateOrder(libs::DateOrder::kDayMonthYear);
  SessionValues v = started(Date::fromYmd(2026, 3, 9));
  applyArguments(v, {"2", "2004"});
  applyProcessingDate(v, starts(2004), Date::fromYmd(2004, 5, 1));
  EXPECT_EQ(v.term, 2);
  EXPECT_EQ(v.year, 2004);
  EXPECT_TRUE(v.allYear);
  EXPECT_FALSE(nowCaptionShown(v));
  EXPECT_EQ(headingCaption(v), "Term 2 2004  01/05/2004");

  // An empty answer keeps the date but still derives and registers.
  applyProcessingDate(v, starts(2004, 2005), Date());
  EXPECT_EQ(v.date, Date::fromYmd(2004, 5, 1));
  EXPECT_FALSE(v.allYear);
  EXPECT_EQ(headingCaption(v), "Term 2 2004  01/05/2004");  // the year is shown also when terms span two

  // Another term through the term and year dialog shows the now caption again.
  applyTermYear(v, true, "3", "2004");
  EXPECT_TRUE(nowCaptionShown(v));
  applyTermYear(v, true, "0", "2004");
  EXPECT_EQ(v.term, 0);
  EXPECT_FALSE(nowCaptionShown(v));  // term 0 never shows it
}

TEST(TermRules, ATermOrYearWithADecimalOrAnotherCharacterIsRefusedNotCut) {
  SessionValues v = started(Date::fromYmd(2026, 3, 9));
  for (const char* refused : {"2.5", "2,5", "-1", "5", "1 2", "x"}) {
    EXPECT_FALSE(termTaken(refused)) << refused;
    applyTermYear(v, true, refused, "2026");
    EXPECT_EQ(v.term, 3) << refused;
  }
  for (const char* refused : {"2026.5", "1990", "20260", "2O26"}) {
    EXPECT_FALSE(yearTaken(refused)) << refused;
    applyTermYear(v, true, "3", refused);
    EXPECT_EQ(v.year, 2026) << refused;
  }
  applyTermYear(v, true, " 2", " 2027 ");
  EXPECT_EQ(v.term, 2);
  EXPECT_EQ(v.year, 2027);
}

TEST(TermRules, TermAndYearDialogIgnoresOutOfRangeAndCancelledEntries) {
  SessionValues v = started(Date::fromYmd(2026, 3, 9));
  applyTermYear(v, true, "5", "1990");
  EXPECT_EQ(v.term, 3);
  EXPECT_EQ(v.year, 2026);
  applyTermYear(v, false, "1", "2010");
  EXPECT_EQ(v.term, 3);
  applyTermYear(v, true, "1", "1991");
  EXPECT_EQ(v.term, 1);
  EXPECT_EQ(v.year, 1991);
  applyTermYear(v, true, " ", "    ");  // blanks read as 0: term 0 is taken, the year kept
  EXPECT_EQ(v.term, 0);
  EXPECT_EQ(v.year, 1991);
}

TEST(TermRules, DemoSchoolControlRecordGivesItsTerms) {
  testing::SchoolCopy school;
  data::Workspace ws;
  data::Table& control = ws.open(school.file("sccontro.dbf"), "sccontro");
  const TermStarts s = readTermStarts(control);
  EXPECT_EQ(s[0], Date::fromYmd(testing::kDemoYear, 2, 9));
  EXPECT_EQ(deriveTerm(s, Date::fromYmd(testing::kDemoYear, 8, 1)).term, 3);
}

TEST(SchoolSettings, WordsHousesAndSchoolName) {
  testing::SchoolCopy school({"homecl", "house"});
  SessionValues v = freshSessionValues(school::SchoolFolder(school.dir()), Date::fromYmd(2026, 3, 9));
  readSchoolWords(v);
  readSchoolName(v);
  readControlValues(v);
  EXPECT_EQ(v.homeCl, "Form Class");
  EXPECT_EQ(v.house, "Whanau");
  EXPECT_EQ(v.school, "Kestrel Point High School");
  EXPECT_EQ(v.gender, "MF");
  ASSERT_EQ(v.houses.size(), 4u);  // the non-blank names of records 1 to 9 only (not record 12's)
  EXPECT_EQ(v.houses[0], "Ashcombe       ");
  EXPECT_EQ(v.houses[3], "Dunmore        ");
  ASSERT_EQ(v.cottages.size(), 2u);
  EXPECT_EQ(v.cottages[1], "Harbour House  ");
  EXPECT_TRUE(v.parents);
  EXPECT_FALSE(data::Workspace::forThisThread().isOpen("sccontro"));
}

TEST(SchoolSettings, WordFilesGiveTheirFirstLineCutToTwelve) {
  testing::SchoolCopy school;
  std::ofstream(school.file("homecl.$vl"), std::ios::binary) << "Tutor Group\r\nsecond line\r\n";
  std::ofstream(school.file("house.$vl"), std::ios::binary) << "Whare Kura Extra Long";
  SessionValues v = freshSessionValues(school::SchoolFolder(school.dir()), Date::fromYmd(2026, 3, 9));
  readSchoolWords(v);
  EXPECT_EQ(v.homeCl, "Tutor Group");
  EXPECT_EQ(v.house, "Whare Kura E");
}

TEST(DateText, SystemOrderAndTypedDates) {
  using libs::DateOrder;
  const Date d = Date::fromYmd(2026, 5, 1);
  EXPECT_EQ(libs::dateText(d, DateOrder::kDayMonthYear), "01/05/2026");
  EXPECT_EQ(libs::dateText(d, DateOrder::kMonthDayYear), "05/01/2026");
  EXPECT_EQ(libs::dateText(d, DateOrder::kYearMonthDay), "2026/05/01");
  EXPECT_EQ(libs::dateText(Date(), DateOrder::kDayMonthYear), "  /  /    ");
  EXPECT_EQ(libs::dateFromText("01/05/2026", DateOrder::kDayMonthYear), d);
  EXPECT_EQ(libs::dateFromText("05/01/26", DateOrder::kMonthDayYear), d);
  EXPECT_EQ(libs::dateFromText(" 1/ 5/2026", DateOrder::kDayMonthYear), d);
  EXPECT_TRUE(libs::dateFromText("  /  /    ", DateOrder::kDayMonthYear).empty());
  EXPECT_TRUE(libs::dateFromText("31/02/2026", DateOrder::kDayMonthYear).empty());
  EXPECT_TRUE(libs::dateFromText("1x/05/2026", DateOrder::kDayMonthYear).empty());
  EXPECT_EQ(libs::datePicture(DateOrder::kDayMonthYear), "@K  /  /    ");
}

}  // namespace
}  // namespace velmont::school
