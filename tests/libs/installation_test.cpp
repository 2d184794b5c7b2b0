// The installation record and the letterhead settings a school starts with.
#include <gtest/gtest.h>

#include "data/dbf_file.h"
#include "data/table.h"
#include "libs/installation.h"
#include "libs/letterhead_setup.h"
#include "temp_dir.h"

using namespace velmont;

namespace {

void writeInstallation(const velmont::testing::TempDir& dir, const std::string& c1) {
  const std::string path = dir.file(libs::kInstallationFile);
  data::DbfFile::create(path, libs::installationFields());
  auto t = data::Table::open(path, "ccmp", data::OpenMode::kReadWrite);
  t->appendBlank();
  t->replace("C1", std::string_view(c1));
  t->commit();
}

}  // namespace

TEST(InstallationTest, DekriptReturnsTheStoredNameTrimmed) {
  EXPECT_EQ(libs::dekript("Harbourside College                 ", -1.0), "Harbourside College");
  EXPECT_EQ(libs::dekript("  St Aldric's College\t\r\n", -1.0), "St Aldric's College");
  EXPECT_EQ(libs::dekript(std::string(60, ' '), -1.0), "");
  EXPECT_EQ(libs::dekript("", 0.0), "");
}

TEST(InstallationTest, SchoolNameComesFromTheRecordOrIsEmpty) {
  velmont::testing::TempDir dir;
  EXPECT_EQ(libs::schoolNameFrom(dir.file(libs::kInstallationFile)), "");
  writeInstallation(dir, "Marlow Bay Area School");
  EXPECT_EQ(libs::schoolNameFrom(dir.file(libs::kInstallationFile)), "Marlow Bay Area School");
}

TEST(LetterheadSetupTest, CreatesElevenRecordsNamingTheSchool) {
  velmont::testing::TempDir dir;
  writeInstallation(dir, "Velmont Grammar School");
  libs::setup_lhed(dir.file(libs::kLetterheadFile), dir.file(libs::kInstallationFile), 0);
  auto t = data::Table::open(dir.file(libs::kLetterheadFile), "rvhplogo");
  ASSERT_EQ(t->reccount(), 11u);
  for (const char* f : {"LX", "LY", "LW", "LH", "LP", "LBLD", "LULN", "LDE"}) EXPECT_GE(t->fieldIndex(f), 0) << f;
  t->goTo(libs::kLetterheadLine1);
  EXPECT_EQ(t->text("LDE"), "Velmont Grammar School");
  EXPECT_TRUE(t->logical("LBLD"));
  EXPECT_GT(t->num("LP"), 0);
  t->goTo(libs::kLogo);
  EXPECT_EQ(t->text("LDE"), "school.gif");
  t->goTo(libs::kWatermark);
  EXPECT_EQ(t->text("LDE"), "");
  for (uint32_t r = 1; r <= 11; ++r) {
    t->goTo(r);
    EXPECT_GE(t->num("LX"), 0) << r;
    EXPECT_LT(t->num("LX"), 2970) << "within a landscape A4 page, record " << r;
    EXPECT_LT(t->num("LY"), 2100) << r;
  }
}

TEST(LetterheadSetupTest, LeavesAnExistingTableAloneAndWorksWithoutInstallation) {
  velmont::testing::TempDir dir;
  libs::setup_lhed(dir.file(libs::kLetterheadFile), dir.file(libs::kInstallationFile), 0);
  {
    auto t = data::Table::open(dir.file(libs::kLetterheadFile), "rvhplogo", data::OpenMode::kReadWrite);
    t->goTo(1);
    EXPECT_EQ(t->text("LDE"), "") << "no installation record: a blank first line";
    ASSERT_TRUE(t->lockRecord());
    t->replace("LDE", "Our own letterhead");
    t->unlockRecord();
  }
  libs::setup_lhed(dir.file(libs::kLetterheadFile), dir.file(libs::kInstallationFile), 0);
  auto t = data::Table::open(dir.file(libs::kLetterheadFile), "rvhplogo");
  EXPECT_EQ(t->reccount(), 11u);
  t->goTo(1);
  EXPECT_EQ(t->text("LDE"), "Our own letterhead");
}
