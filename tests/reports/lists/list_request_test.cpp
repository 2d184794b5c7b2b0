// The class-list request builder that the dialog, velmont-batch list, the
// benchmarks and the tests share.
#include <gtest/gtest.h>

#include "reports/lists/list_request.h"
#include "school/school_settings.h"
#include "school_fixture.h"

namespace velmont::lists {
namespace {

TEST(ListRequestTest, EntriesAndSessionValuesMakeTheRequest) {
  testing::SchoolCopy school({"homecl"});
  school::SessionValues v = school::freshSessionValues(school::SchoolFolder(school.dir()), data::Date::fromYmd(2026, 8, 3));
  v.year = testing::kDemoYear;
  v.term = 2;
  school::readSchoolWords(v);
  school::readSchoolName(v);
  ListEntries e;
  e.level = "7";
  e.homeClass = "7A ";
  e.weight = 60;
  e.choices = {true, false, true};
  e.printerName = "PDF";
  const ListBuilt built = listRequest(v, e);
  const ListRequest& r = built.request;
  EXPECT_EQ(r.strt_yr, 7);
  EXPECT_EQ(built.yearCode, " 7");
  EXPECT_EQ(r.home_cl, "7A");
  EXPECT_EQ(r.enrl_date, v.date) << "no as-at date: the processing date";
  EXPECT_EQ(r.C_assex, 60);
  EXPECT_TRUE(r.choices.birthDates && !r.choices.marks && r.choices.shading);
  EXPECT_EQ(r.term, 2);
  EXPECT_EQ(r.year, testing::kDemoYear);
  EXPECT_EQ(r.hdAscii, "Y");
  EXPECT_EQ(r.run.reportCode, kListReportCode);
  EXPECT_EQ(r.run.title.toStdString(), v.homeCl + " List with Subjects");
  EXPECT_EQ(r.run.folder.dir(), school.dir());

  e.level = "99";
  try {
    listRequest(v, e);
    ADD_FAILURE() << "level 99 accepted";
  } catch (const reports::RequestRefused& refused) {
    EXPECT_EQ(refused.field(), "level");
    EXPECT_EQ(std::string(refused.what()), "level 99: a year level lies between 1 and 20");
  }
}

}  // namespace
}  // namespace velmont::lists
