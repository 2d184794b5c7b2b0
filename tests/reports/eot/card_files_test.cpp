// One PDF per family or per student: each file holds exactly the pages its
// family (or student) gets in the single-file run, cards.csv lists them, and
// a run that fails or prints nothing leaves the folder as it was.
#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "eot_fixture.h"
#include "print/pdf_file_set.h"
#include "qtcore/school_text.h"
#include "reports/eot/card_files.h"
#include "temp_dir.h"
#include "host_tool.h"

namespace velmont::eot::testing {
namespace {

namespace fs = std::filesystem;

// Notes where each card copy of a run kept in memory begins.
class NotingCards : public CardObserver {
 public:
  explicit NotingCards(std::shared_ptr<std::vector<print::PageList>> pages) : pages_(std::move(pages)) {}
  struct Start {
    std::string family;
    int number = 0;
    QString name;
    size_t page = 0;  // the copy's first page
  };
  void cardBegins(const CardCopy& copy) override {
    starts.push_back({data::trim(copy.familyCode), int(copy.studentNumber),
                      qtcore::SchoolText::of(850).decode(data::trim(copy.firstName) + " " + data::trim(copy.surname)),
                      pages_->size()});
  }
  std::vector<Start> starts;

 private:
  std::shared_ptr<std::vector<print::PageList>> pages_;
};

int pdfPages(const QString& file) {
  const auto p = velmont::testing::runHostTool("pdfinfo", {file}, 60000);
  const auto m = QRegularExpression(R"(Pages:\s+(\d+))").match(QString::fromUtf8(p.out));
  return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// cards.csv's rows as fields; the demo's text needs no quoting but the
// header and the students' separator must come out as written.
std::vector<QStringList> csvRows(const QString& file) {
  QFile f(file);
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << file.toStdString();
  std::vector<QStringList> rows;
  for (const QByteArray& line : f.readAll().split('\n'))
    if (!line.isEmpty()) rows.push_back(QString::fromUtf8(line).chopped(line.endsWith('\r') ? 1 : 0).split(','));
  return rows;
}

class CardFilesTest : public EotRun {
 protected:
  reports::RunOutcome runInto(const QString& folder, CardSplit split) {
    auto set = CardFiles::makeSet(folder);
    CardFiles cards(set, split, 850);
    reports::RunRequest r = eotRunRequest(session, print::kPdfDeviceName, false);
    r.makeDevice = [set] { return set->device(); };
    return PR_EOT_RPTS(r, options, session, ui, &figures, &cards);
  }
  velmont::testing::TempDir out;
};

TEST_F(CardFilesTest, EachFileHoldsItsFamilysOrStudentsPagesOfTheSingleRun) {
  // The single run, kept in memory, with where each copy begins.
  reports::RunRequest single = eotRunRequest(session, print::kPdfDeviceName, false);
  auto kept = pages;
  single.makeDevice = [kept] { return std::make_unique<KeepingDevice>(kept); };
  NotingCards noted(pages);
  ASSERT_TRUE(PR_EOT_RPTS(single, options, session, ui, &figures, &noted).ran);
  ASSERT_FALSE(noted.starts.empty());
  std::map<std::string, int> familyPages, studentPages;
  std::map<std::string, std::set<int>> familyStudents;
  for (size_t i = 0; i < noted.starts.size(); ++i) {
    const auto& s = noted.starts[i];
    // The copy begins on the page that names its student.
    ASSERT_TRUE(find(s.page, s.name)) << s.name.toStdString() << " on page " << s.page;
    const size_t end = i + 1 < noted.starts.size() ? noted.starts[i + 1].page : pages->size();
    familyPages[s.family] += int(end - s.page);
    studentPages[std::to_string(s.number)] += int(end - s.page);
    familyStudents[s.family].insert(s.number);
  }
  ASSERT_TRUE(std::any_of(familyStudents.begin(), familyStudents.end(), [](auto& f) { return f.second.size() > 1; }))
      << "the demo should have a family with several students";

  for (const CardSplit split : {CardSplit::kFamily, CardSplit::kStudent}) {
    const QString folder = QString::fromStdString(out.file(split == CardSplit::kFamily ? "family" : "student"));
    ASSERT_TRUE(runInto(folder, split).ran);
    const std::vector<QStringList> rows = csvRows(folder + "/cards.csv");
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0], QStringList({"file", "pages", "family", "addressee", "students", "email"}));
    const auto& expected = split == CardSplit::kFamily ? familyPages : studentPages;
    ASSERT_EQ(rows.size() - 1, expected.size());
    size_t pdfs = 0;
    for (const auto& entry : fs::directory_iterator(folder.toStdString())) pdfs += entry.path().extension() == ".pdf";
    EXPECT_EQ(pdfs, expected.size());
    for (size_t i = 1; i < rows.size(); ++i) {
      const QStringList& row = rows[i];
      ASSERT_EQ(row.size(), 6) << row.join(',').toStdString();
      EXPECT_TRUE(QRegularExpression("^[A-Za-z0-9_-]+\\.pdf$").match(row[0]).hasMatch()) << row[0].toStdString();
      const std::string key = split == CardSplit::kFamily ? row[2].toStdString() : row[4].section(' ', 0, 0).toStdString();
      ASSERT_TRUE(expected.count(key)) << key;
      EXPECT_EQ(row[1].toInt(), expected.at(key)) << row[0].toStdString();
      EXPECT_EQ(pdfPages(folder + "/" + row[0]), expected.at(key)) << row[0].toStdString();
      if (split == CardSplit::kFamily) {
        EXPECT_TRUE(row[0].startsWith(row[2] + "-")) << row[0].toStdString();
        EXPECT_EQ(row[4].split("; ").size(), qsizetype(familyStudents[key].size())) << row[4].toStdString();
      }
      EXPECT_FALSE(row[3].isEmpty());
      EXPECT_EQ(row[5], row[2].toLower() + "@example.org");  // the demo's PA_EMAIL
    }
  }
}

TEST_F(CardFilesTest, AFailedOrEmptyRunLeavesTheFolderAsItWas) {
  // A folder that cannot be made: the run says so rather than "sent".
  const std::string blocker = out.file("plain-file");
  { std::ofstream(blocker) << "x"; }
  const reports::RunOutcome blocked = runInto(QString::fromStdString(blocker + "/cards"), CardSplit::kFamily);
  EXPECT_TRUE(blocked.destination.isEmpty());
  EXPECT_TRUE(blocked.error.startsWith("The report could not be written to")) << blocked.error.toStdString();
  EXPECT_TRUE(std::none_of(ui.notices.begin(), ui.notices.end(),
                           [](const QString& n) { return n.startsWith("Report has been sent"); }));

  // A folder with an earlier run's files: a run that matches nobody leaves them.
  const QString folder = QString::fromStdString(out.file("cards"));
  ASSERT_TRUE(runInto(folder, CardSplit::kFamily).ran);
  const auto before = csvRows(folder + "/cards.csv");
  const auto countFiles = [&] { return std::distance(fs::directory_iterator(folder.toStdString()), {}); };
  const auto filesBefore = countFiles();
  options.student = "NOBODY-BY-THIS-NAME";
  EXPECT_TRUE(runInto(folder, CardSplit::kFamily).nothingMatched);
  EXPECT_EQ(csvRows(folder + "/cards.csv"), before);
  EXPECT_EQ(countFiles(), filesBefore);  // nor a work folder left behind
}

TEST(PdfFileSetTest, FileNamesAreSafeAndUniqueAndCsvFieldsQuoted) {
  using print::PdfFileSet;
  EXPECT_EQ(PdfFileSet::safeStem("MULL0001-Müller"), "MULL0001-Muller");
  EXPECT_EQ(PdfFileSet::safeStem("O'Brien / Ngāti  Kahu"), "O_Brien_Ngati_Kahu");
  EXPECT_EQ(PdfFileSet::safeStem("../../etc/passwd"), "etc_passwd");
  EXPECT_EQ(PdfFileSet::safeStem("CON"), "CON_");
  EXPECT_EQ(PdfFileSet::safeStem("???"), "file");
  EXPECT_EQ(PdfFileSet::safeStem(QString(100, 'a')).size(), 60);

  PdfFileSet set("unused", "cards.csv", {"family"});
  set.beginFile("F:A", "SMIT01-Smith");
  set.beginFile("F:B", "smit01-smith");  // the same name but for letter case
  set.beginFile("F:C", "SMIT01-Smith");
  set.beginFile("F:D", "cards");
  set.beginFile("F:A", "ignored: A is known");
  ASSERT_EQ(set.files().size(), 4u);
  EXPECT_EQ(set.files()[0].name, "SMIT01-Smith.pdf");
  EXPECT_EQ(set.files()[1].name, "smit01-smith-2.pdf");
  EXPECT_EQ(set.files()[2].name, "SMIT01-Smith-3.pdf");
  EXPECT_EQ(set.files()[3].name, "cards.pdf");
}

}  // namespace
}  // namespace velmont::eot::testing
