// The grid of a student list: who is selected, which columns come out in what
// order with which headings, the combined mark and the class averages, and the
// year's subject table and index built when missing.
#include <gtest/gtest.h>

#include <filesystem>

#include "list_fixture.h"
#include "reports/lists/list_grid.h"

using namespace velmont;
using namespace velmont::lists;
using namespace velmont::lists::testing;

namespace {

std::vector<std::string> names(const ListRunContext& ctx) {
  std::vector<std::string> n;
  for (const StudentEntry& e : ctx.field_a) n.push_back(e[kEntryName]);
  return n;
}

class ListGridTest : public ::testing::Test {
 protected:
  ListRunContext prepare(bool subjectNames = false, const std::string& homeClass = "", double weight = 100) {
    school.write();
    ListRunContext ctx = school.context(ws);
    ctx.home_cl = homeClass;
    ctx.C_assex = weight;
    found = PREP_HCLSUB(ctx, subjectNames);
    return ctx;
  }
  TinySchool school;
  data::Workspace ws;
  bool found = false;
};

TEST_F(ListGridTest, SelectsTheLevelAndClassEnrolledOnTheDate) {
  const data::Date d = data::Date::fromYmd(kYear, 6, 30);
  school.students = {
      {1, "Young", "anna", "", "7A"},
      {2, "Brown", "", "bea jo", "7B"},                            // named by the preferred name
      {3, "Clark", "Cy", "", "7A", 8},                             // another level
      {4, "Davis", "Di", "", "7A", 7, d.plusDays(-400), d.plusDays(-10)},  // left before the date
      {5, "Evans", "Ed", "", "7A", 7, d.plusDays(-5), d.plusDays(-100)},  // re-enrolled after leaving
      {6, "Ford", "Fay", "", "7A", 7, d.plusDays(1)},              // starts after the date
      {7, "Gray", "Gus", "", "7A", 7, d.plusDays(-400), d.plusDays(10)},  // leaves after the date
  };
  school.subjects = {{"7ENG", "English"}};
  school.marks = {{1, "7ENG", 50}};
  ListRunContext all = prepare();
  EXPECT_TRUE(found);
  EXPECT_EQ(names(all), (std::vector<std::string>{"BROWN Bea Jo", "EVANS Ed", "GRAY Gus", "YOUNG Anna"}));
  EXPECT_EQ(all.fld_a.size(), 4u);
  EXPECT_EQ(all.fld_a[0][kEntryName], "YOUNG Anna") << "fld_a keeps the table's order";

  data::Workspace ws2;
  ListRunContext ctx = school.context(ws2);
  ctx.home_cl = "7B";
  PREP_HCLSUB(ctx, false);
  EXPECT_EQ(names(ctx), (std::vector<std::string>{"BROWN Bea Jo"}));
}

TEST_F(ListGridTest, ATypedClassIsAValueNotPartOfTheExpression) {
  school.students = {{1, "Young", "Anna", "", "7A"}};
  school.subjects = {{"7ENG", "English"}};
  school.marks = {{1, "7ENG", 50}};
  const ListRunContext ctx = prepare(false, "7\".or.\"A");
  EXPECT_FALSE(found);
  EXPECT_TRUE(ctx.field_a.empty());
}

TEST_F(ListGridTest, ColumnsInCodeOrderWithSummaryColumns) {
  school.students = {{1, "Avery", "Al"}, {2, "Baker", "Bo"}};
  school.subjects = {{"7MAT", "Mathematics"}, {"7ENG", "English", "N", 50}, {"7SCI", "Science"}, {"7ART", "Art"}};
  school.marks = {{1, "7SCI", 60, 0, 1}, {1, "7MAT", 70, 0, 2}, {2, "7MAT", 40, 0, 1}, {2, "7ENG", 30, 0, 2},
                  {2, "7ART", 90, 0, 32},      // a line past the subjects
                  {2, "7ZZZ", 90, 0, 3},       // not in the subjects table
                  {1, "7ART", 90, 0, 1, 2}};   // another term
  const ListRunContext codes = prepare(false);
  ASSERT_TRUE(found);
  EXPECT_EQ(codes.subj_cod, (std::vector<std::string>{"7ENG", "7MAT", "7SCI", "", "AVGE", "TOTL"}));
  EXPECT_EQ(codes.subj_hdg, (std::vector<std::string>{"7ENG", "7MAT", "7SCI", "", "AVGE", "TOTL"}));
  EXPECT_EQ(codes.subj_max, (std::vector<double>{50, 100, 100, 0, 0, 0}));
  EXPECT_EQ(codes.subj_curic, (std::vector<std::string>{"N", "Y", "Y", "", "N", "N"}));
  EXPECT_EQ(codes.num_stud, (std::vector<int>(6, 0)));
  EXPECT_EQ(codes.subj_sort.size(), 4u) << "7MAT met twice gives one entry";

  data::Workspace ws2;
  ListRunContext named = school.context(ws2);
  ASSERT_TRUE(PREP_HCLSUB(named, true));
  EXPECT_EQ(named.subj_hdg, (std::vector<std::string>{"ENGLISH", "MATHEMATICS", "SCIENCE", "", "AVERAGE", "TOTAL"}));
}

TEST_F(ListGridTest, ClassAveragesOfTheCombinedMark) {
  school.students = {{1, "Avery", "Al"}, {2, "Baker", "Bo"}, {3, "Cole", "Cy"}};
  school.subjects = {{"7ENG", "English"}, {"7MAT", "Mathematics"}, {"7SCI", "Science"}};
  school.marks = {{1, "7ENG", 80, 50, 1}, {2, "7ENG", 71, 40, 1}, {3, "7ENG", 0, 0, 1},
                  {1, "7MAT", 0, 0, 2},   {2, "7MAT", 0, 0, 2},
                  {1, "7SCI", 0, 90, 3}};
  ListRunContext ctx = prepare(false, "", 60);
  ASSERT_TRUE(found);
  // 60 % of 80 and 40 % of 50: 68; 60 % of 71 and 40 % of 40: 58.6; the zero is not counted.
  EXPECT_EQ(ctx.subj_gavg[0], 63) << "(68 + 58.6) / 2 = 63.3";
  EXPECT_EQ(ctx.cnt_gavg[0], 2);
  EXPECT_EQ(ctx.subj_gavg[1], 0) << "no student with a mark other than 0";
  EXPECT_EQ(ctx.subj_gavg[2], 36) << "40 % of 90";

  ctx.C_assex = 100;
  GR_AVGE(ctx);
  EXPECT_EQ(ctx.subj_gavg[0], 76) << "exam marks only: (80 + 71) / 2 = 75.5";
  EXPECT_EQ(ctx.subj_gavg[2], 0);
  ctx.C_assex = 0;
  GR_AVGE(ctx);
  EXPECT_EQ(ctx.subj_gavg[0], 45) << "assessment marks only";
  EXPECT_EQ(ctx.subj_gavg[2], 90);
  EXPECT_DOUBLE_EQ(combinedMark(60, 50, 80), 68);
}

TEST_F(ListGridTest, NoSubjectsNoColumns) {
  school.students = {{1, "Avery", "Al"}};
  const ListRunContext ctx = prepare();
  EXPECT_FALSE(found);
  EXPECT_TRUE(ctx.subj_cod.empty());
  EXPECT_EQ(ctx.field_a.size(), 1u);
}

TEST_F(ListGridTest, TheYearsIndexIsBuiltOnceAndAMissingTableIsCreated) {
  namespace fs = std::filesystem;
  school.students = {{1, "Avery", "Al"}};
  school.subjects = {{"7ENG", "English"}};
  school.marks = {{1, "7ENG", 50}};
  const std::string index = school.file("STSUB04.ntx");
  std::vector<std::string> notices;
  school.write();
  {
    ListRunContext ctx = school.context(ws);
    ctx.notice = [&](const std::string& n) { notices.push_back(n); };
    ASSERT_TRUE(PREP_HCLSUB(ctx, false));
  }
  EXPECT_TRUE(fs::exists(index));
  EXPECT_EQ(notices, (std::vector<std::string>{"Indexing Student Subjects .. please wait"}));
  ws.closeAll();
  const auto built = fs::last_write_time(index);
  {
    data::Workspace again;
    ListRunContext ctx = school.context(again);
    ctx.notice = [&](const std::string& n) { notices.push_back(n); };
    ASSERT_TRUE(PREP_HCLSUB(ctx, false));
  }
  EXPECT_EQ(notices.size(), 1u) << "the index is built only when missing";
  EXPECT_EQ(fs::last_write_time(index), built);

  fs::remove(school.file("STSUB04.dbf"));
  fs::remove(school.file("STSUB04.dbt"));
  fs::remove(index);
  data::Workspace fresh;
  ListRunContext ctx = school.context(fresh);
  EXPECT_FALSE(PREP_HCLSUB(ctx, false)) << "a new year has no subjects yet";
  EXPECT_TRUE(fs::exists(school.file("STSUB04.dbf")));
  EXPECT_TRUE(fs::exists(index));
}

TEST(ListPictureTest, BlankForZeroAndRoundedHalfUp) {
  EXPECT_EQ(pictureZ3(0), "   ");
  EXPECT_EQ(pictureZ3(70.5), " 71");
  EXPECT_EQ(pictureZ3(100), "100");
  EXPECT_EQ(pictureZ4(140), " 140");
  EXPECT_EQ(pictureZ3(1000), "***");
}

}  // namespace
