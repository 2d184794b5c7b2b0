// Saved report options: defaults for a new user, the round trip of a run's
// options, the descriptor-table rule, and two programs saving at once.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <map>

#include "school/saved_options.h"
#include "data/table.h"
#include "temp_dir.h"

using namespace velmont::data;
using namespace velmont::school;
using velmont::testing::TempDir;

namespace {

const SavedOptions kDefaults{"0712    12112  ", std::string(24, ' ') + "3 8    5  35 70"};

std::map<std::string, int> recordsByKey(const std::string& dir) {
  std::map<std::string, int> counts;
  auto t = Table::open(dir + "/prntpref.dbf", "prntpref");
  for (t->goTop(); !t->eof(); t->skip()) ++counts[std::string(t->str("USERNAME")) + "|" + t->text("RPT_CODE")];
  return counts;
}

}  // namespace

TEST(SavedOptionsTest, NewUserGetsDefaultsAndARunStoresTheOptions) {
  TempDir dir;
  const std::string d = dir.path().string();
  SavedOptions o = loadSavedOptions(velmont::school::SchoolFolder(d), "MARY", kEndOfTermReportCode, kDefaults, 2026);
  EXPECT_EQ(o.prefs, "0712    12112  ");
  EXPECT_EQ(o.extras, padTo(kDefaults.extras, 40));

  // A three-character home class sits in positions 5-8 with one trailing blank.
  saveOptions(velmont::school::SchoolFolder(d), "MARY", kEndOfTermReportCode, "0910" + padTo("10B", 4) + "2 11");
  o = loadSavedOptions(velmont::school::SchoolFolder(d), "MARY", kEndOfTermReportCode, kDefaults, 2026);
  EXPECT_EQ(o.prefs, "091010B 2 11   ") << "no descriptor table: position 11 is 1";
  EXPECT_EQ(o.prefs.substr(4, 3), "10B");
  EXPECT_EQ(o.extras, std::string(40, ' ')) << "the end-of-term run never writes the extras";
  EXPECT_EQ(recordsByKey(d), (std::map<std::string, int>{{"MARY           |T_EOT_Rpt", 1}}));
}

TEST(SavedOptionsTest, DescriptorTableKeepsPosition11AndBlankRecordCountsAsMissing) {
  TempDir dir;
  const std::string d = dir.path().string();
  DbfFile::create(d + "/DESCRP26.dbf", {{"X", 'C', 1, 0}});
  saveOptions(velmont::school::SchoolFolder(d), "ANN", kStudentListReportCode, "0707    12212  ", std::string(40, '9'));
  SavedOptions o = loadSavedOptions(velmont::school::SchoolFolder(d), "ANN", kStudentListReportCode, kDefaults, 2026);
  EXPECT_EQ(o.prefs, "0707    12212  ");
  EXPECT_EQ(o.extras, std::string(40, '9'));
  saveOptions(velmont::school::SchoolFolder(d), "ANN", kStudentListReportCode, std::string(15, ' '));
  o = loadSavedOptions(velmont::school::SchoolFolder(d), "ANN", kStudentListReportCode, kDefaults, 2026);
  EXPECT_EQ(o.prefs, kDefaults.prefs) << "a blank record counts as missing";
  EXPECT_EQ(o.extras, padTo(kDefaults.extras, 40));
}

TEST(SavedOptionsTest, WithoutTheDescriptorTableOnlyTheEndOfTermPosition11ReadsOne) {
  TempDir dir;
  const std::string d = dir.path().string();
  saveOptions(velmont::school::SchoolFolder(d), "ANN", kEndOfTermReportCode, "0712    22222  ");
  saveOptions(velmont::school::SchoolFolder(d), "ANN", kStudentListReportCode, "0707    12212  ", "100");
  EXPECT_EQ(loadSavedOptions(velmont::school::SchoolFolder(d), "ANN", kEndOfTermReportCode, kDefaults, 2025).prefs[10], '1');
  // The list's position 11 is its marks switch: a saved "no" (2) stays "no".
  EXPECT_EQ(loadSavedOptions(velmont::school::SchoolFolder(d), "ANN", kStudentListReportCode, kDefaults, 2025).prefs, "0707    12212  ");
  const SavedOptions fresh = loadSavedOptions(velmont::school::SchoolFolder(d), "NEW", kStudentListReportCode, {"0712    12212  ", "100"}, 2025);
  EXPECT_EQ(fresh.prefs[10], '2') << "a new user of the list starts with marks off";
}

#ifndef _WIN32  // under Wine the same races run in tests/locks/locks_across_systems.sh
// Runs `work(c)` in two forked programs (c = 0 and 1) released at the same
// moment; true when both end well.
template <typename Work>
bool twoProgramsAtOnce(Work work) {
  int go[2];
  if (pipe(go) != 0) return false;
  pid_t children[2];
  for (int c = 0; c < 2; ++c) {
    children[c] = fork();
    if (children[c] < 0) return false;
    if (children[c] == 0) {
      char start;
      if (read(go[0], &start, 1) != 1) _exit(2);
      try {
        work(c);
      } catch (...) {
        _exit(1);
      }
      _exit(0);
    }
  }
  bool ok = write(go[1], "gg", 2) == 2;
  for (pid_t child : children) {
    int status = 0;
    waitpid(child, &status, 0);
    ok = ok && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }
  close(go[0]);
  close(go[1]);
  return ok;
}

TEST(SavedOptionsTest, TwoProgramsSavingAtOnceNeverLoseOrDuplicateARecord) {
  TempDir dir;
  const std::string d = dir.path().string();
  constexpr int kUsers = 150;
  // Both programs save every user's first run at about the same moment.
  ASSERT_TRUE(twoProgramsAtOnce([&](int c) {
    for (int i = 0; i < kUsers; ++i)
      saveOptions(velmont::school::SchoolFolder(d), "USER" + std::to_string(i), kEndOfTermReportCode, "0712    1211" + std::to_string(c) + "  ");
  }));
  const auto counts = recordsByKey(d);
  EXPECT_EQ(counts.size(), size_t(kUsers));
  for (const auto& [key, n] : counts) EXPECT_EQ(n, 1) << key;
}

// The table is created by whichever program saves first. The other must never
// open it between its creation and its header: each round starts both
// programs on a data directory that has no options table yet.
TEST(SavedOptionsTest, TwoProgramsCreatingTheTableAtOnceBothSave) {
  for (int round = 0; round < 25; ++round) {
    TempDir dir;
    const std::string d = dir.path().string();
    ASSERT_TRUE(twoProgramsAtOnce([&](int c) {
      saveOptions(velmont::school::SchoolFolder(d), "USER" + std::to_string(c), kEndOfTermReportCode, "0712    12110  ");
    })) << "round " << round;
    EXPECT_EQ(recordsByKey(d).size(), 2u) << "round " << round;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
      EXPECT_EQ(entry.path().filename(), "prntpref.dbf") << "a temporary file was left behind";
  }
}
#endif
