// Whole runs: the subject index, stopping in the preview, plain text, a PDF read
// back as text, and the promise to leave the school's files alone.
#include <QCryptographicHash>
#include <QFile>
#include <QRegularExpression>
#include <filesystem>
#include <map>

#include "school/subject_table.h"
#include "eot_fixture.h"
#include "temp_dir.h"
#include "host_tool.h"

namespace velmont::eot::testing {
namespace {

namespace fs = std::filesystem;

std::map<std::string, QByteArray> fingerprints(const std::string& dir) {
  std::map<std::string, QByteArray> out;
  for (const auto& entry : fs::directory_iterator(dir)) {
    QFile f(QString::fromStdString(entry.path().string()));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    out[entry.path().filename().string()] = QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
  }
  return out;
}

class EotWholeRun : public EotRun {
 protected:
  std::string indexFile() const { return school.file(school::subjectTableName(session.year) + ".ntx"); }
};

TEST_F(EotWholeRun, SubjectIndexIsBuiltWhenMissingWithItsNotice) {
  fs::remove(indexFile());
  ASSERT_TRUE(run().ran);
  EXPECT_TRUE(fs::exists(indexFile()));
  ASSERT_FALSE(ui.notices.empty());
  EXPECT_EQ(ui.notices.front(), "Indexing Student Subjects .. please wait");
  const int firstCards = figures.cards;
  EXPECT_GT(firstCards, 3);
  ui.notices.clear();
  ASSERT_TRUE(run().ran);
  EXPECT_EQ(ui.notices, std::vector<QString>{"Report has been sent to memory"});  // the test's device
  EXPECT_EQ(figures.cards, firstCards);
}

// Blank cards for everyone help nobody: a year whose subject table is missing
// or empty prints nothing, creates nothing, and says why.
TEST_F(EotWholeRun, AYearWithoutSubjectRecordsPrintsNothingAndSaysSo) {
  session.year = 2031;
  session.term = 3;
  const auto before = fingerprints(school.dir());
  for (const bool preview : {false, true}) {
    ui.notices.clear();
    const reports::RunOutcome outcome = run(preview);
    EXPECT_TRUE(outcome.nothingMatched);
    EXPECT_TRUE(pages->empty());
    ASSERT_FALSE(ui.notices.empty());
    EXPECT_EQ(ui.notices.back(), "The year 2031 has no subject records (STSUB31.dbf is missing): its cards would have "
                                 "no subjects, marks or comments, so none were printed.");
  }
  EXPECT_EQ(fingerprints(school.dir()), before) << "no table, index or heading file is made";
  school::new_subyr(school.file("STSUB31.dbf"));  // there, but empty
  ui.notices.clear();
  EXPECT_TRUE(run().nothingMatched);
  ASSERT_FALSE(ui.notices.empty());
  EXPECT_TRUE(ui.notices.back().contains("(STSUB31.dbf holds none)")) << ui.notices.back().toStdString();
}

TEST_F(EotWholeRun, NoStudentMatchedSendsNoPageAndSaysSo) {
  for (const bool preview : {false, true}) {
    ui.notices.clear();
    ui.messages.clear();
    options.student = "zzz";
    const reports::RunOutcome outcome = run(preview);
    EXPECT_TRUE(outcome.nothingMatched);
    EXPECT_EQ(outcome.pages, 0);
    EXPECT_TRUE(pages->empty()) << "not even a blank page reaches the device";
    EXPECT_TRUE(ui.messages.empty());
    ASSERT_FALSE(ui.notices.empty());
    EXPECT_EQ(ui.notices.back(), reports::kNoStudentsMatch);
    for (const QString& n : ui.notices) EXPECT_FALSE(n.startsWith("Report has been sent")) << n.toStdString();
    EXPECT_EQ(ui.finalWindows, 0);
  }
  options.student = "-9999";  // no such past student either
  EXPECT_TRUE(run().nothingMatched);
}

TEST_F(EotWholeRun, StoppingInThePreviewBeforeTheSecondCardEndsTheRun) {
  ui.answers = {0};
  const reports::RunOutcome outcome = run(true);
  EXPECT_TRUE(outcome.ran);
  EXPECT_EQ(ui.pagesAtStep, std::vector<int>{1});
  EXPECT_EQ(figures.cards, 1);
  EXPECT_TRUE(figures.stopped);
  EXPECT_EQ(ui.finalWindows, 1);  // the final window still opens on what was drawn
  EXPECT_EQ(pages->size(), 1u);
  EXPECT_EQ(ui.finishedCalls, 1);  // and the buttons come back
  EXPECT_TRUE(ui.notices.empty() || ui.notices.back() != "Report has been sent to the printer");
}

TEST_F(EotWholeRun, PreviewAnsweredTwoRunsToTheEndWithoutAskingAgain) {
  ui.answers = {2};
  ASSERT_TRUE(run(true).ran);
  EXPECT_EQ(ui.pagesAtStep.size(), 1u);
  EXPECT_GT(figures.cards, 3);
  EXPECT_FALSE(figures.stopped);
}

TEST_F(EotWholeRun, TextModeWritesTheCardsToTheFile) {
  velmont::testing::TempDir out;
  session.prAscii = out.file("cards.txt");
  ASSERT_TRUE(run().ran);
  QFile f(QString::fromStdString(session.prAscii));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(f.readAll());
  // One student line per page; pages end in form feeds.
  EXPECT_EQ(text.count("REPORT OF:"), text.count('\f') + 1);
  EXPECT_GE(text.count("REPORT OF:"), figures.cards);
  EXPECT_TRUE(text.contains("Teacher's comments:"));
  // A subject name shows as much as on paper, and the possible mark one blank after it.
  EXPECT_TRUE(text.contains("Mathematics with Statistics 100"));
  EXPECT_FALSE(text.contains(QRegularExpression("[A-Za-z]100")));
  EXPECT_EQ(ui.notices.back(), "Report has been sent to " + QString::fromStdString(session.prAscii));
  EXPECT_TRUE(pages->empty());  // nothing went to the device
}

TEST_F(EotWholeRun, WholeSchoolToPdfNamesEveryCopyOnceInNameOrder) {
  ASSERT_TRUE(run().ran);
  const std::vector<QString> expected = cardNames();
  ASSERT_GT(expected.size(), 5u);
  velmont::testing::TempDir out;
  const QString pdf = QString::fromStdString(out.file("cards.pdf"));
  reports::RunRequest r = eotRunRequest(session, print::kPdfDeviceName, false);
  r.outputFile = pdf;
  NotingUi quiet;
  EotFigures f;
  const reports::RunOutcome outcome = PR_EOT_RPTS(r, options, session, quiet, &f);
  ASSERT_TRUE(outcome.ran);
  EXPECT_EQ(quiet.notices.back(), "Report has been sent to " + pdf);
  const auto p = velmont::testing::runHostTool("pdftotext", {"-layout", pdf, "-"}, 30000);
  ASSERT_TRUE(p.ended);
  const QString text = QString::fromUtf8(p.out);
  const QRegularExpression line(R"(REPORT OF:\s*(\S+(?: \S+)*))");
  // Continuation pages repeat the student line: keep the first of each run of pages.
  std::vector<QString> firstPages;
  int pageNo = 0;
  for (const QString& page : text.split('\f')) {
    if (page.trimmed().isEmpty()) continue;
    ++pageNo;
    if (page.contains(QRegularExpression(R"(Page\s+\d)"))) continue;
    auto m = line.match(page);
    if (m.hasMatch()) firstPages.push_back(m.captured(1));
  }
  EXPECT_EQ(pageNo, outcome.pages);
  EXPECT_EQ(firstPages, expected);
}

TEST_F(EotWholeRun, PrintedPreviewedAndTextRunsLeaveTheSchoolsFilesAsTheyWere) {
  const auto before = fingerprints(school.dir());
  velmont::testing::TempDir out;
  reports::RunRequest r = eotRunRequest(session, print::kPdfDeviceName, false);
  r.outputFile = QString::fromStdString(out.file("cards.pdf"));
  NotingUi quiet;
  ASSERT_TRUE(PR_EOT_RPTS(r, options, session, quiet).ran);
  ASSERT_TRUE(run(true).ran);
  session.prAscii = out.file("cards.txt");
  ASSERT_TRUE(run().ran);
  const auto after = fingerprints(school.dir());
  const std::set<std::string> mayChange = {school::subjectTableName(session.year) + ".ntx", "prntpref.dbf",
                                           "headeots.dbf", "velmont-usage.log"};
  for (const auto& [name, hash] : before) {
    ASSERT_TRUE(after.count(name)) << name << " was removed";
    if (!mayChange.count(name)) {
      EXPECT_EQ(after.at(name), hash) << name << " was changed";
    }
  }
  for (const auto& [name, hash] : after) {
    if (!before.count(name)) {
      EXPECT_TRUE(mayChange.count(name)) << name << " was created";
    }
  }
}

// Each read is a round trip where the school's data lies on a network drive:
// the cards read each file they need about once, not once per card or line.
TEST_F(EotWholeRun, CardsReadEachFileTheyNeedAboutOnce) {
  ASSERT_TRUE(run().ran);  // the year's index is built by the first run
  const data::ReadCounts before = data::readCounts();
  ASSERT_TRUE(run().ran);
  const uint64_t calls = data::readCounts().calls - before.calls;
  // 43 reads today for 33 cards (each file once, in 64 KB reads); one read per
  // card or subject line would be hundreds.
  EXPECT_LE(calls, 70u) << "for " << figures.cards;
}

}  // namespace
}  // namespace velmont::eot::testing
