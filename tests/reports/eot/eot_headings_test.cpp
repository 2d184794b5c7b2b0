// Card headings: the headings table's defaults, the control table's headings
// with every default rule, and a partly filled group used unchanged.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "data/dbf_file.h"
#include "data/error.h"
#include "data/text.h"
#include "data/table.h"
#include "school/year_names.h"
#include "reports/eot/eot_headings.h"
#include "temp_dir.h"

using namespace velmont;
using namespace velmont::data;
using velmont::testing::TempDir;

namespace {

struct ControlRecord {
  std::string msg1a, msg1b, msg2a, cottage;
};

// A control table of `records` with the heading fields; the rest stays blank.
std::unique_ptr<Table> controlTable(const TempDir& dir, const std::vector<ControlRecord>& records) {
  const std::string path = dir.file("sccontro.dbf");
  DbfFile::create(path, {{"STM_MSG1A", 'C', 36, 0}, {"STM_MSG1B", 'C', 36, 0}, {"STM_MSG2A", 'C', 10, 0},
                         {"ST_COTTG", 'C', 15, 0}});
  auto t = Table::open(path, "sccontro", OpenMode::kReadWrite);
  for (const ControlRecord& r : records) {
    t->appendBlank();
    t->replace("STM_MSG1A", r.msg1a);
    t->replace("STM_MSG1B", r.msg1b);
    t->replace("STM_MSG2A", r.msg2a);
    t->replace("ST_COTTG", r.cottage);
  }
  t->commit();
  return t;
}

}  // namespace

TEST(EotHeadingsTest, HeadingsTableDefaultsFollowTheYearWord) {
  TempDir dir;
  eot::HeadingWords w = eot::loadHeadingWords(school::SchoolFolder(dir.path().string()), "Grade");
  EXPECT_EQ(w.poss_hd, "Poss");
  EXPECT_EQ(w.totl_hd, "Totl");
  EXPECT_EQ(w.subj_hd, "SUBJECT:");
  EXPECT_EQ(w.page_hd, "Page");
  EXPECT_EQ(w.rptof_hd, "REPORT OF:");
  EXPECT_EQ(w.prnt_hd, "To the Parents of:");
  EXPECT_EQ(w.term_hd, "TERM");
  EXPECT_EQ(w.year_hd, "GRADE");
  {
    auto t = Table::open(dir.file("headeots.dbf"), "headeots", OpenMode::kReadWrite);
    t->goTo(3);
    ASSERT_TRUE(t->lockRecord());
    t->replace("H20", "RAPPORT DE:");
    t->unlockRecord();
  }
  w = eot::loadHeadingWords(school::SchoolFolder(dir.path().string()), " Year");
  EXPECT_EQ(w.rptof_hd, "RAPPORT DE:") << "an edited heading is used, not recreated";
  EXPECT_EQ(w.year_hd, "GRADE");

  TempDir other;
  EXPECT_EQ(eot::loadHeadingWords(school::SchoolFolder(other.path().string()), " Year").year_hd, "YEAR");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(other.path()), {}), 1) << "no temporary file is left";

  // Another run made the table a moment ago: it is used, not an error.
  eot::MK_HDEOTS(school::SchoolFolder(dir.path().string()), " Year");
  EXPECT_EQ(eot::loadHeadingWords(school::SchoolFolder(dir.path().string()), " Year").rptof_hd, "RAPPORT DE:");

  // A headings table without its records is damage, named, never cards without headings.
  TempDir cut;
  DbfFile::create(cut.file("headeots.dbf"), {{"H4", 'C', 4, 0}, {"H20", 'C', 20, 0}});
  try {
    eot::loadHeadingWords(school::SchoolFolder(cut.path().string()), " Year");
    ADD_FAILURE() << "a headings table without records was read";
  } catch (const DataError& e) {
    EXPECT_EQ(e.file(), cut.file("headeots.dbf"));
    EXPECT_NE(e.reason().find("holds 0 of its 6 card heading records"), std::string::npos) << e.what();
  }
}

TEST(EotHeadingsTest, BlankControlHeadingsTakeEveryDefault) {
  TempDir dir;
  auto sc = controlTable(dir, std::vector<ControlRecord>(8));
  eot::SchoolWords words{"Form Group", "Whare", " Year"};
  const eot::CardHeadings h = eot::set_eothd(*sc, words);
  EXPECT_EQ(h.hd0[0], "  EXAM RESULT  ");
  EXPECT_EQ(h.hd0[1], "TERM ASSESSMENT");
  EXPECT_EQ(h.hd2[2][0], "Class");
  EXPECT_EQ(h.hd2[2][1], "Asses");
  EXPECT_EQ(h.hd1[3][0], "Beh");
  EXPECT_EQ(h.hd1[2][1], "b'n");
  EXPECT_EQ(h.hd3[0][0], "FORM GROUP TEACHER  ");
  EXPECT_EQ(h.hd3[1][0], "Whare TEACHER       ");
  EXPECT_EQ(h.hd3[2][0], "YEAR COORDINATOR    ");
  EXPECT_EQ(h.hd3[3][0], "PRINCIPAL           ");
  EXPECT_EQ(h.hd4, "A=OUTSTANDING  B=VERY GOOD  C=GOOD  D=FAIR  E=BELOW AVERAGE  F=POOR EFFORT ");
  EXPECT_EQ(sc->recno(), 1u);
}

TEST(EotHeadingsTest, TutorGroupsAndGradeChangeTheRoleDefaults) {
  TempDir dir;
  std::vector<ControlRecord> records(8);
  records[7].cottage = "Kauri";  // any record with a tutor group counts
  auto sc = controlTable(dir, records);
  const eot::CardHeadings h = eot::set_eothd(*sc, {"Home Class", "House", "Grade"});
  EXPECT_EQ(h.hd3[1][0], "TUTOR GROUP TEACHER ");
  EXPECT_EQ(h.hd3[2][0], "GRADE COORDINATOR   ");
  // The word of a grade.$vl, as read (padded to 79), counts as "Grade" too.
  std::ofstream(dir.file("grade.$vl"), std::ios::binary) << "Grade\r\n7,Grade 7\r\n";
  const std::string word = YEAR_NAMES(school::SchoolFolder(dir.path().string())).word;
  ASSERT_EQ(word.size(), 79u);
  EXPECT_EQ(eot::set_eothd(*sc, {"Home Class", "House", word}).hd3[2][0], "GRADE COORDINATOR   ");
}

TEST(EotHeadingsTest, PartlyFilledGroupsAreUsedUnchanged) {
  TempDir dir;
  std::vector<ControlRecord> records(8);
  records[1].msg1b = " Exam";                                   // record 2: only the exam mark's first line
  records[3].msg1a = padTo("FORM TEACHER", 20) + "YNY";          // record 4: role 1 with its flags
  records[5] = {padTo("A=TOP", 36), "", "XYZ", ""};              // record 6: the legend
  auto sc = controlTable(dir, records);
  const eot::CardHeadings h = eot::set_eothd(*sc, {});
  EXPECT_EQ(h.hd2[0][0], " Exam");
  EXPECT_EQ(h.hd2[1][0], "     ") << "other mark headings stay blank, so their columns are not printed";
  EXPECT_EQ(h.hd1[0][0], "   ");
  EXPECT_EQ(h.hd0[0], std::string(15, ' '));
  EXPECT_EQ(h.hd3[0][0], "FORM TEACHER        ");
  EXPECT_EQ(h.hd3[0][1], "Y");
  EXPECT_EQ(h.hd3[0][2], "N");
  EXPECT_EQ(h.hd3[1][0], std::string(20, ' ')) << "one role set: the others stay blank";
  EXPECT_EQ(h.hd4, padTo("A=TOP", 72) + "XYZ");
}
