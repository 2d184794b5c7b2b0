// An index that names records past its table's end stops a report with an error
// that names the index and the table, instead of leaving students out; the
// year's subject index, which the program builds, is built again instead.
#include <gtest/gtest.h>

#include <filesystem>

#include "school/subject_table.h"
#include "report_commands.h"

namespace velmont::testing {
namespace {

namespace fs = std::filesystem;

class DamagedIndex : public ::testing::Test {
 protected:
  DamagedIndex() { makeDemo(school(), 40, 3); }
  std::string school() const { return dir.file("school"); }
  std::string file(const std::string& name) const { return (fs::path(school()) / name).string(); }
  CommandResult eot(const std::string& pdf) {
    return runReportCommand({"eot", "--data-dir", school(), "--year", std::to_string(kTestYear), "--pdf", pdf});
  }
  CommandResult list(const std::string& pdf) {
    // Level 7 is a level every demo school fills.
    return runReportCommand(
        {"list", "--data-dir", school(), "--year", std::to_string(kTestYear), "--level", "7", "--pdf", pdf});
  }
  void expectStopped(const CommandResult& r, const std::string& index, const std::string& what) {
    EXPECT_EQ(r.status, 1) << what << ": " << r.out << r.err;
    EXPECT_NE(r.err.find(index), std::string::npos) << what << ": " << r.err;
    EXPECT_NE(r.err.find("ststuden.dbf"), std::string::npos) << what << ": " << r.err;
    EXPECT_NE(r.err.find("reindex"), std::string::npos) << what << ": " << r.err;
    EXPECT_EQ(r.out.find("students,"), std::string::npos) << what << ": no success line";
  }

  TempDir dir;
};

TEST_F(DamagedIndex, AnEntryPastTheEndStopsTheCardsWhereverItLies) {
  const std::string before = eot(dir.file("sound.pdf")).out;
  ASSERT_NE(before.find("students,"), std::string::npos);
  for (size_t rank : {size_t(0), size_t(17)}) {
    rebuildIndexPointing(file("ststuden.dbf"), file("STSTNAME.ntx"), rank, 9999);
    expectStopped(eot(dir.file("cards.pdf")), "STSTNAME.ntx", "entry " + std::to_string(rank));
    const CommandResult dump = runReportCommand({"dump", file("ststuden.dbf"), "--index", file("STSTNAME.ntx")});
    EXPECT_EQ(dump.status, 1) << dump.out;
    EXPECT_NE(dump.err.find("STSTNAME.ntx"), std::string::npos) << dump.err;
  }
}

TEST_F(DamagedIndex, ATableCutShortUnderItsIndexesStopsCardsAndList) {
  keepRecords(file("ststuden.dbf"), 30);  // header made to agree: only the indexes know
  expectStopped(eot(dir.file("cards.pdf")), "STSTNAME.ntx", "cards");
  const CommandResult r = list(dir.file("list.pdf"));
  EXPECT_EQ(r.status, 1) << r.out << r.err;
  EXPECT_NE(r.err.find("ststuden.dbf"), std::string::npos) << r.err;
}

TEST_F(DamagedIndex, TheYearsSubjectIndexIsBuiltAgainWithItsNotice) {
  const CommandResult sound = eot(dir.file("sound.pdf"));
  ASSERT_EQ(sound.status, 0) << sound.err;
  const std::string sub = school::subjectTableName(kTestYear);
  rebuildIndexPointing(file(sub + ".dbf"), file(sub + ".ntx"), 5, 999999);
  const CommandResult r = eot(dir.file("cards.pdf"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("Indexing Student Subjects .. please wait"), std::string::npos) << r.err;
  EXPECT_EQ(r.out.substr(0, r.out.find(" to ")), sound.out.substr(0, sound.out.find(" to ")));
  const CommandResult again = list(dir.file("list.pdf"));
  EXPECT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(again.err.find("Indexing"), std::string::npos) << "the index is sound again";
}

}  // namespace
}  // namespace velmont::testing
