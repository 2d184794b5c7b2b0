// The letterhead description's layout and the logo and watermark fall-backs.
#include <gtest/gtest.h>

#include <fstream>

#include "data/table.h"
#include "libs/installation.h"
#include "libs/letterhead_setup.h"
#include "reports/common/letterhead.h"
#include "temp_dir.h"

using namespace velmont;
using velmont::testing::TempDir;

namespace {

void touch(const std::string& path) { std::ofstream(path) << "x"; }

// Gives every record distinct values so that the layout can be read back.
void numberRecords(const std::string& dir) {
  libs::setup_lhed(dir + "/" + libs::kLetterheadFile, dir + "/" + libs::kInstallationFile, 0);
  auto t = data::Table::open(dir + "/rvhplogo.dbf", "rvhplogo", data::OpenMode::kReadWrite);
  for (uint32_t r = 1; r <= 11; ++r) {
    t->goTo(r);
    ASSERT_TRUE(t->lockRecord());
    t->replace("LX", double(r * 10 + 1));
    t->replace("LY", double(r * 10 + 2));
    t->replace("LW", double(r * 10 + 3));
    t->replace("LH", double(r * 10 + 4));
    t->replace("LP", double(r));
    t->replace("LBLD", r % 2 == 1);
    t->replace("LULN", false);
    t->replace("LDE", "R" + std::to_string(r));
    t->unlockRecord();
  }
}

std::string trimmed(const std::string& s) {
  const size_t a = s.find_first_not_of(' '), b = s.find_last_not_of(' ');
  return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

}  // namespace

TEST(LetterheadTest, DescriptionHasFiftyFourEntriesInCardOrder) {
  TempDir dir;
  numberRecords(dir.path().string());
  const std::vector<std::string> aLhd = reports::LOAD_LHED(school::SchoolFolder(dir.path().string()));
  ASSERT_EQ(aLhd.size(), 54u);
  std::vector<std::string> t;
  for (const auto& s : aLhd) t.push_back(trimmed(s));
  // 1-4: the logo record's file, x, y, width.
  EXPECT_EQ((std::vector<std::string>(t.begin(), t.begin() + 4)), (std::vector<std::string>{"R5", "51", "52", "53"}));
  // 5-10, 11-16, 17-22: the three lines' x, y, size, bold, underline, text.
  EXPECT_EQ((std::vector<std::string>(t.begin() + 4, t.begin() + 10)),
            (std::vector<std::string>{"11", "12", "1", "Y", "N", "R1"}));
  EXPECT_EQ(t[16], "31");
  EXPECT_EQ(t[21], "R3");
  // 23-26: record 4's x, y, height, width; 27-31: the watermark record's five numbers.
  EXPECT_EQ((std::vector<std::string>(t.begin() + 22, t.begin() + 26)), (std::vector<std::string>{"41", "42", "44", "43"}));
  EXPECT_EQ((std::vector<std::string>(t.begin() + 26, t.begin() + 31)),
            (std::vector<std::string>{"61", "62", "64", "63", "6"}));
  EXPECT_EQ(t[41], "91");
  // 47-50: record 10 without height; 51-54: record 11 without width.
  EXPECT_EQ((std::vector<std::string>(t.begin() + 46, t.end())),
            (std::vector<std::string>{"101", "102", "103", "10", "111", "112", "114", "11"}));
  EXPECT_NE(aLhd[1], t[1]) << "numbers stay right-aligned in their field's width";
}

TEST(LetterheadTest, LogoAndWatermarkFallBacks) {
  TempDir dir;
  const std::string d = dir.path().string();
  numberRecords(d);  // logo "R5", watermark "R6": neither file exists
  std::string mark = "old";
  EXPECT_EQ(reports::FIND_LOGO(school::SchoolFolder(d), "", mark), "");
  EXPECT_EQ(mark, "");
  touch(dir.file("school.gif"));
  EXPECT_EQ(reports::FIND_LOGO(school::SchoolFolder(d), "pre/", mark), "pre/school.gif") << "school.gif stands in for a missing logo";
  touch(dir.file("R5"));
  touch(dir.file("R6"));
  EXPECT_EQ(reports::FIND_LOGO(school::SchoolFolder(d), "", mark), "R5");
  EXPECT_EQ(mark, "R6");

  TempDir fresh;  // no table: it is created first
  EXPECT_EQ(reports::FIND_LOGO(school::SchoolFolder(fresh.path().string()), "", mark), "");
  EXPECT_TRUE(std::ifstream(fresh.file("rvhplogo.dbf")).good());
}
