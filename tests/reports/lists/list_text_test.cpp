// The list as a text file, whole, against reference files: the normal grid and the
// wide one (more than 25 columns), with every heading line and figure on a line of
// its own and nothing written over anything else.
#include <QFile>
#include <QRegularExpression>

#include "list_fixture.h"
#include "print/memory_device.h"
#include "reference_file.h"
#include "reports/lists/list_run.h"

namespace velmont::lists::testing {
namespace {

class QuietUi : public reports::RunUi {};

class ListText : public ::testing::Test {
 protected:
  // `subjects` subjects, each taken by every student with marks that make three figures.
  void makeSchool(int subjects, int students) {
    for (int s = 1; s <= subjects; ++s) {
      const std::string code = "S" + std::to_string(100 + s);
      school.subjects.push_back({code, "Subject number " + std::to_string(s), "Y", 100});
      for (int k = 1; k <= students; ++k) school.marks.push_back({double(k), code, 100.0 - k - s % 7, 0, s});
    }
    const char* const surnames[] = {"Abbott", "Brennan", "Castellanos-Whitfield", "Dunn"};
    for (int k = 1; k <= students; ++k)
      school.students.push_back({double(k), surnames[(k - 1) % 4], "Kim", "", "7A"});
    school.write();
  }
  QByteArray listText(bool marks) {
    ListRequest r;
    r.run.reportCode = kListReportCode;
    r.run.title = "Home Class List with Subjects";
    r.run.printerName = print::kPdfDeviceName;
    r.run.folder = school::SchoolFolder(school.dir());
    r.run.prAscii = school.file("list.txt");
    r.strt_yr = 7;
    r.term = 1;
    r.year = kYear;
    r.date = r.enrl_date = data::Date::fromYmd(kYear, 6, 30);
    r.school = "Velmont High";
    r.title = "Velmont Program";
    r.timeOfDay = QTime(10, 29, 7);
    r.choices = {.birthDates = true, .marks = marks, .shading = false};
    QuietUi ui;
    const ListOutcome o = PR_STUDENTS(r, ui);
    EXPECT_TRUE(o.printed);
    QFile f(QString::fromStdString(r.run.prAscii));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
  }
  // Each heading of the page once, on a line of its own kind.
  static void expectHeadingsOnce(const QString& page) {
    for (const char* word : {"10:29:07", "30/06/2004", "Velmont High", "Velmont Program", "PAGE   1",
                             "Home Class List with Subjects for GRADE  7  Term 1", "MAXIMUM MARKS", "NAME:",
                             "Date of Birth", "No. Students"})
      EXPECT_EQ(page.count(word), 1) << word;
    EXPECT_TRUE(page.contains("10:29:07 30/06/2004")) << "the date beside the time, not over it";
  }
  TinySchool school;
};

TEST_F(ListText, NormalGridKeepsEveryHeadingAndFigure) {
  makeSchool(4, 4);
  const QByteArray text = listText(true);
  velmont::testing::expectMatchesReference(text, "tests/reports/lists/reference/list-normal.txt");
  const QString page = QString::fromUtf8(text);
  expectHeadingsOnce(page);
  EXPECT_TRUE(page.contains("GRADE AVERAGE"));
  EXPECT_FALSE(page.contains(QRegularExpression(R"(\d{5,})"))) << "three-figure cells run together";
}

TEST_F(ListText, WideGridGetsALineLongEnoughForItsColumns) {
  makeSchool(26, 2);
  const QByteArray text = listText(true);
  velmont::testing::expectMatchesReference(text, "tests/reports/lists/reference/list-wide.txt");
  const QString page = QString::fromUtf8(text);
  expectHeadingsOnce(page);
  // The maxima row holds 28 separate figures (26 subjects, the average and the total).
  const QString maxima = page.split('\n').filter("MAXIMUM MARKS").value(0);
  EXPECT_EQ(maxima.count(QRegularExpression(R"(\b100\b)")), 28) << maxima.toStdString();
}

}  // namespace
}  // namespace velmont::lists::testing
