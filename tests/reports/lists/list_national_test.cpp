// National letters on the class list: names, a home class and a subject's
// name stored in a 1252 school's code page, read back from the PDF and the
// text file (in the code page, or in UTF-8 when asked).
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <fstream>
#include <sstream>

#include "list_fixture.h"
#include "print/page_printer.h"
#include "reports/lists/list_run.h"
#include "temp_dir.h"
#include "host_tool.h"

using namespace velmont;
using namespace velmont::lists;
using namespace velmont::lists::testing;

namespace {

class SilentUi : public reports::RunUi {
 public:
  void message(const QStringList& lines) override { messages << lines.join(" / "); }
  QStringList messages;
};

class ListNationalTest : public ::testing::Test {
 protected:
  ListNationalTest() {
    // "Zoë Müller-Upton" in class "7É" takes "Économie", all as 1252 stores them.
    school.students = {{.number = 1, .surname = "M\xFCller-Upton", .first = "Zo\xEB", .cls = "7\xC9"},
                       {.number = 2, .surname = "Smith", .first = "Ann", .cls = "7B"}};
    school.subjects = {{.code = "ECO", .desc = "\xC9" "conomie"}};
    school.marks = {{.number = 1, .code = "ECO", .exam = 80}, {.number = 2, .code = "ECO", .exam = 60}};
    school.write();
    std::ofstream(school.file("codepage.$vl")) << "1252\r\n";
  }

  ListRequest request() const {
    ListRequest r;
    r.run.reportCode = kListReportCode;
    r.run.title = QString::fromUtf8("Liste de la classe");
    r.run.printerName = print::kPdfDeviceName;
    r.run.folder = school::SchoolFolder(school.dir());
    r.strt_yr = 7;
    r.home_cl = "7\xC9";
    r.cHomeCl = "Cl\xE9";  // the school's word, from its flag file
    r.term = 1;
    r.year = kYear;
    r.date = r.enrl_date = data::Date::fromYmd(kYear, 6, 30);
    r.school = "\xC9" "cole Velmont";
    r.subjectNames = true;
    r.hdAscii = "Y";
    r.timeOfDay = QTime(10, 0, 0);
    return r;
  }

  std::string textFile(bool utf8) {
    ListRequest r = request();
    r.run.prAscii = out.file("list.txt");
    r.run.textUtf8 = utf8;
    const ListOutcome o = PR_STUDENTS(r, ui);
    EXPECT_TRUE(o.printed) << ui.messages.join("\n").toStdString();
    std::ifstream in(r.run.prAscii, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  TinySchool school;
  velmont::testing::TempDir out;
  SilentUi ui;
};

TEST_F(ListNationalTest, PdfShowsNamesClassSubjectAndHeadingWithTheirLetters) {
  ListRequest r = request();
  r.run.outputFile = QString::fromStdString(out.file("list.pdf"));
  const ListOutcome o = PR_STUDENTS(r, ui);
  ASSERT_TRUE(o.printed) << ui.messages.join("\n").toStdString();
  EXPECT_EQ(o.students, 1) << "the typed class 7É selects the class stored as 7\\xC9 only";
  const auto p = velmont::testing::runHostTool("pdftotext", {"-layout", r.run.outputFile, "-"}, 20000);
  ASSERT_TRUE(p.ended);
  const QString text = QString::fromUtf8(p.out);
  for (const char* word : {"MÜLLER-UPTON Zoë", "Liste de la classe", "Clé: 7É", "École Velmont"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(word))) << word << ":\n" << text.toStdString();
  EXPECT_TRUE(text.contains(QRegularExpression(QString::fromUtf8("^\\s*É\\s"), QRegularExpression::MultilineOption)))
      << "the subject's name, one letter a row";
  EXPECT_FALSE(text.contains(QChar(0xFFFD)));
}

TEST_F(ListNationalTest, TextFileInTheSchoolsCodePageOrInUtf8) {
  const std::string windows = textFile(false);
  EXPECT_NE(windows.find("M\xDCLLER-UPTON Zo\xEB"), std::string::npos) << windows;
  EXPECT_NE(windows.find("\xC9" "cole Velmont"), std::string::npos);
  const std::string utf8 = textFile(true);
  EXPECT_NE(utf8.find("MÜLLER-UPTON Zoë"), std::string::npos) << utf8;
  EXPECT_NE(utf8.find("École Velmont"), std::string::npos) << utf8;
}

}  // namespace
