// An index that does not hold each record of its table once (an entry past the
// end, a record left out or filed twice) stops a report with an error that
// names the index and the table, instead of leaving students out or printing
// them twice; the year's subject index, which the program builds, is built
// again instead, also when records were added to its table since.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "data/table.h"
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
  void expectStopped(const CommandResult& r, const std::string& index, const std::string& what,
                     const std::string& table = "ststuden.dbf") {
    EXPECT_EQ(r.status, 1) << what << ": " << r.out << r.err;
    EXPECT_NE(r.err.find(index), std::string::npos) << what << ": " << r.err;
    EXPECT_NE(r.err.find(table), std::string::npos) << what << ": " << r.err;
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

// Appends a copy of record `recno` with some fields changed, as the school's
// system would, leaving every index as it was.
void appendCopy(const std::string& tablePath, uint32_t recno, const std::map<std::string, std::string>& changes) {
  auto t = data::Table::open(tablePath, "T", data::OpenMode::kReadWrite);
  t->goTo(recno);
  std::vector<std::string> values;
  for (int i = 0; i < t->fieldCount(); ++i) values.emplace_back(t->str(i));
  t->appendBlank();
  for (int i = 0; i < t->fieldCount(); ++i)
    if (t->field(i).type != 'M') t->replace(i, std::string_view(values[size_t(i)]));
  for (const auto& [name, value] : changes) t->replace(name, std::string_view(value));
  t->commit();
}

TEST_F(DamagedIndex, AnIndexThatDoesNotHoldEachRecordOnceStopsTheReports) {
  struct Case {
    const char* what;
    const char* table;
    const char* index;
    std::function<void(IndexEntries&)> edit;
    bool list;  // the list reads through this index too
  };
  const Case cases[] = {
      {"a student left out", "ststuden.dbf", "STSTNAME.ntx", [](IndexEntries& e) { e.erase(e.begin() + 5); }, true},
      {"a student filed twice", "ststuden.dbf", "STSTNAME.ntx",
       [](IndexEntries& e) { e.insert(e.begin() + 6, e[5]); }, true},
      {"two entries naming one student", "ststuden.dbf", "STSTNAME.ntx",
       [](IndexEntries& e) { e[6].second = e[5].second; }, true},
      {"a family left out", "paparent.dbf", "paindx.ntx", [](IndexEntries& e) { e.erase(e.begin() + 3); }, false},
      {"a subject left out", "subjects.dbf", "subjects.ntx", [](IndexEntries& e) { e.erase(e.begin() + 2); }, true},
  };
  for (const Case& c : cases) {
    rebuildIndex(file(c.table), file(c.index), c.edit);
    expectStopped(eot(dir.file("cards.pdf")), c.index, c.what, c.table);
    if (c.list) expectStopped(list(dir.file("list.pdf")), c.index, c.what, c.table);
    rebuildIndex(file(c.table), file(c.index), [](IndexEntries&) {});
  }
  // A current student the school's system added without an index entry.
  appendCopy(file("ststuden.dbf"), 1, {{"ST_NUMBER", "99999"}, {"ST_SURNAME", "ZAPPENDED"}});
  expectStopped(eot(dir.file("cards.pdf")), "STSTNAME.ntx", "an appended student");
}

TEST_F(DamagedIndex, MarksAddedAfterTheYearsIndexWasBuiltArePrinted) {
  ASSERT_EQ(eot(dir.file("first.pdf")).status, 0);  // builds the year's index
  const std::string sub = school::subjectTableName(kTestYear) + ".dbf";
  uint32_t recno = 0;
  std::string student;
  {
    auto t = data::Table::open(file(sub), "S");
    for (t->goTop(); !t->eof() && recno == 0; t->skip())
      if (t->num("STSUB_TERM") == 3 && t->num("STSUB_LINE") < 20) {
        recno = t->recno();
        student = std::to_string(int(t->num("STSUB_NUMB")));
      }
  }
  ASSERT_NE(recno, 0u);
  // The same late mark in a copy of the school whose index is then built afresh.
  const std::string fresh = dir.file("fresh");
  copyDirectory(school(), fresh);
  for (const std::string& folder : {school(), fresh})
    appendCopy((fs::path(folder) / sub).string(), recno, {{"STSUB_LINE", "20"}, {"STSUB_EMRK", "77"}});
  fs::remove(fs::path(fresh) / (school::subjectTableName(kTestYear) + ".ntx"));
  auto card = [&](const std::string& folder, const std::string& text) {
    return runReportCommand({"eot", "--data-dir", folder, "--year", std::to_string(kTestYear), "--term", "3",
                             "--student", student, "--text", text, "--text-encoding", "utf-8"});
  };
  const CommandResult late = card(school(), dir.file("late.txt"));
  ASSERT_EQ(late.status, 0) << late.err;
  EXPECT_NE(late.err.find("Indexing Student Subjects .. please wait"), std::string::npos) << late.err;
  ASSERT_EQ(card(fresh, dir.file("fresh.txt")).status, 0);
  EXPECT_EQ(readFile(dir.file("late.txt")), readFile(dir.file("fresh.txt")));
}

// Without the families table the cards go "To the Parents of" each student: the
// run says so, once, and still prints every student.
TEST_F(DamagedIndex, ARunWithoutTheFamiliesTableSaysSo) {
  const CommandResult sound = eot(dir.file("sound.pdf"));
  fs::remove(file("paparent.dbf"));
  fs::remove(file("paindx.ntx"));
  const CommandResult r = eot(dir.file("cards.pdf"));
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string notice = "paparent.dbf is missing: the cards are addressed \"To the Parents of\"";
  ASSERT_NE(r.err.find(notice), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find(notice, r.err.find(notice) + 1), std::string::npos) << "said once: " << r.err;
  EXPECT_EQ(r.out.substr(0, r.out.find(" students")), sound.out.substr(0, sound.out.find(" students")));
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
