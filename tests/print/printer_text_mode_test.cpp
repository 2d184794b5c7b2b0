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
