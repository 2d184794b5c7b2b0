// Plain-text mode: text lands at rows and columns of a file, pages end in form feeds.
#include <QFile>
#include <QTemporaryDir>

#include "printer_fixture.h"

namespace velmont::print::testing {
namespace {

class TextMode : public PrinterTest {
 protected:
  TextMode() {
    printer.lAscii = true;
    path = dir.filePath("report.txt");
    EXPECT_TRUE(printer.charDevice().open(path));
  }
  QStringList pagesWritten() {
    printer.charDevice().close();
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QString::fromUtf8(file.readAll()).split('\f');
  }
  QTemporaryDir dir;
  QString path;
};

TEST_F(TextMode, TextLandsAtRowsAndColumnsWithFormFeedsBetweenPages) {
  printer.PrLn(2, 5, "Smith");
  printer.PrPt(2, 20, "Year 9");
  printer.PrPtNum(3, 20, "  7");
  printer.PrLn(2, 0, "No");
  printer.PrPtRjust(5, 10, "not in text mode");
  printer.PrBox(1, 1, 3, 10, "FILL", 100);
  printer.newPage();
  EXPECT_EQ(printer.nPage, 2);
  printer.PrCenter(1, "Page two");
  const QStringList pages = pagesWritten();
  ASSERT_EQ(pages.size(), 2);
  EXPECT_EQ(pages[0], "\n\nNo   Smith          Year 9\n                      7\n");
  const QStringList second = pages[1].split('\n');
  EXPECT_EQ(second[1], QString(36, ' ') + "Page two" + QString(36, ' '));
}

TEST_F(TextMode, QueryOutputWritesLinesAndContinuesThem) {
  printer.Q({"Class", 9});
  printer.QQ({"A"});
  printer.QQ({""});
  printer.Q();
  printer.Q({"end"});
  EXPECT_DOUBLE_EQ(printer.QRow(), 3);
  EXPECT_DOUBLE_EQ(printer.QCol(), 3);
  printer.setQprc(6, 2);
  printer.QQ({"at"});
  EXPECT_EQ(pagesWritten()[0], "\nClass 9A \n\nend\n\n\n  at\n");
}

TEST_F(TextMode, FractionalRowsGetLinesOfTheirOwnAndLaterRowsMoveDownWithThem) {
  // A page heading's rows: time and date, the centred school and title, the heading
  // with the page number, the heavy rule of two strokes, then the body.
  printer.PrPt(1, 63, "10:29:07");
  printer.PrPt(1, 68, "07/12/2026");
  printer.PrCenter(1.2, "Velmont High");
  printer.PrCenter(2.2, "Class List");
  printer.PrCenter(3.2, "Year 7  Term 1");
  printer.PrPt(3.2, 70, "PAGE   1");
  printer.PrPt(3.4, 1, QString(20, '_'));
  printer.PrPt(3.5, 1, QString(20, '_'));
  printer.PrPt(5, 5, "Smith");
  printer.PrPt(6, 5, "Jones");
  const QStringList lines = pagesWritten()[0].split('\n');
  ASSERT_GE(lines.size(), 8);
  EXPECT_EQ(lines[1].trimmed(), "10:29:07 07/12/2026") << "the date moves past the time";
  EXPECT_EQ(lines[2].trimmed(), "Velmont High");
  EXPECT_EQ(lines[3].trimmed(), "Class List");
  EXPECT_EQ(lines[4].simplified(), "Year 7 Term 1 PAGE 1");
  EXPECT_EQ(lines[5].trimmed(), QString(20, '_')) << "the two strokes are one rule";
  EXPECT_EQ(lines[6].trimmed(), "Smith") << "row 5 moves down below the rule";
  EXPECT_EQ(lines[7].trimmed(), "Jones");
}

TEST_F(TextMode, TextOnOneLineNeverCoversOtherText) {
  printer.PrPt(1, 0, "Music Performance and Composition");
  printer.PrPt(1, 9, "100");      // would land inside the name: moves past it
  printer.PrPt(2, 0, "AB");
  printer.PrPt(2, 0, "     ");    // blanks erase nothing
  printer.PrPt(2, 3, "CD");       // a blank apart already: stays
  printer.PrPt(3, 0, "REPORT OF:");
  printer.PrPt(3, 10, "George");   // would touch the label: a blank between
  printer.PrPt(4, 3, "Mathematics with Calculus");
  printer.PrPt(4, 21, "100");      // moved past the name ...
  printer.PrPt(4, 27, "100");      // ... to where the next figure, the same, lands: both stay
  const QStringList lines = pagesWritten()[0].split('\n');
  EXPECT_EQ(lines[1], "Music Performance and Composition 100");
  EXPECT_EQ(lines[2], "AB CD");
  EXPECT_EQ(lines[3], "REPORT OF: George");
  EXPECT_EQ(lines[4], "   Mathematics with Calculus 100 100");
}

TEST_F(TextMode, SettingsThatBelongToThePageStayPut) {
  printer.setRowHt(60);
  printer.setTopMar(100);
  printer.setPt(30);
  EXPECT_DOUBLE_EQ(printer.nRowHt, 43);
  EXPECT_DOUBLE_EQ(printer.nTopMar, 0);
  EXPECT_DOUBLE_EQ(printer.nPt, 30);  // the pitch applies in both modes
}

}  // namespace
}  // namespace velmont::print::testing
