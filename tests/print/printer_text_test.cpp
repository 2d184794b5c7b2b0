// Placing text by row and column, aligned figures, and the query output.
#include "printer_fixture.h"

namespace velmont::print::testing {
namespace {

using TextPlacement = PrinterTest;

TEST_F(TextPlacement, RowsCountDownFromTopOfPrintableArea) {
  EXPECT_EQ(printer.nPgHt, 2886);  // A4 of the PDF device less 4.2 mm at top and bottom
  printer.PrPt(1, 1, "one");
  printer.PrPt(10, 1, "ten");
  printer.setTopMar(100);
  printer.setRowHt(50);
  printer.PrLn(2, 3, "margins");
  const auto placed = texts();
  ASSERT_EQ(placed.size(), 3u);
  EXPECT_DOUBLE_EQ(placed[0].at.y, 2886 - 43);  // 4.3 mm below the top
  EXPECT_DOUBLE_EQ(placed[1].at.y, 2886 - 430);
  EXPECT_DOUBLE_EQ(placed[0].at.x, 0);
  EXPECT_DOUBLE_EQ(placed[2].at.y, 2886 - (100 + 2 * 50));
  EXPECT_DOUBLE_EQ(placed[2].at.x, 2 * 25.41);  // PrLn uses its own pitch
}

TEST_F(TextPlacement, ColumnOneSitsOnTheLeftMarginWhateverThePitch) {
  printer.setLeftMar(150);
  printer.setPt(33.3);
  printer.PrPt(5, 1, "x");
  printer.PrPt(5, 3, "y");
  EXPECT_DOUBLE_EQ(texts()[0].at.x, 150);
  EXPECT_DOUBLE_EQ(texts()[1].at.x, 150 + 2 * 33.3);
  EXPECT_DOUBLE_EQ(printer.qRow, 5);
  EXPECT_DOUBLE_EQ(printer.nPtPos, 150 + 2 * 33.3 + 1 * 25.41);
}

TEST_F(TextPlacement, PaddedFiguresEndAtTheSameX) {
  printer.newFont("10.Times New Roman");
  printer.PrPtNum(1, 4, "  7");
  printer.PrPtNum(2, 4, "123");
  printer.PrPtNum(3, 4, " 45");
  const auto placed = texts();
  ASSERT_EQ(placed.size(), 3u);
  EXPECT_EQ(placed[0].text, "7");  // drawn trimmed
  const double end7 = placed[0].at.x + printer.oPs->textWidth("7");
  const double end123 = placed[1].at.x + printer.oPs->textWidth("123");
  const double end45 = placed[2].at.x + printer.oPs->textWidth("45");
  EXPECT_NEAR(end7, end123, 1e-9);
  EXPECT_NEAR(end45, end123, 1e-9);
  EXPECT_DOUBLE_EQ(placed[1].at.x, 3 * 20.32);
  EXPECT_DOUBLE_EQ(printer.nPtPos, 3 * 20.32 + 3 * 25.41);  // the length as passed
}

TEST_F(TextPlacement, RightJustifiedAndCentredText) {
  printer.newFont("10.Arial");
  const double width = printer.oPs->textWidth("Total");
  printer.PrPtRjust(1, 11, "Total");
  printer.PrPtColCtr(2, 1, 11, "Total");
  printer.PrCenter(3, "Total");
  const auto placed = texts();
  EXPECT_DOUBLE_EQ(placed[0].at.x, 10 * 20.32 - width);
  EXPECT_DOUBLE_EQ(placed[1].at.x, (10 * 20.32 - width) / 2);
  EXPECT_DOUBLE_EQ(placed[2].at.x, (printer.nPgWd - width) / 2);
  EXPECT_GT(width, 50);  // about 8.6 mm in 10 pt Arial
  EXPECT_LT(width, 120);
}

TEST_F(TextPlacement, SettingsFallBackToTheirDefaults) {
  printer.lAutoPt = true;
  printer.create();
  EXPECT_DOUBLE_EQ(printer.nPt, 25.41);
  printer.setRowHt(60);
  EXPECT_DOUBLE_EQ(printer.setRowHt(), 60);  // returns what it replaces
  EXPECT_DOUBLE_EQ(printer.nRowHt, 43);
  EXPECT_DOUBLE_EQ(printer.setPt(), 25.41);
  EXPECT_DOUBLE_EQ(printer.nPt, 20.32);  // not the 25.41 of create
  printer.setTopMar(30);
  printer.setTopMar(std::nullopt);
  EXPECT_DOUBLE_EQ(printer.nTopMar, 30);
}

using QueryOutput = PrinterTest;

TEST_F(QueryOutput, ContinuingRightAfterCreateWritesOnRowOne) {
  printer.QQ({"Name:", 12, true, QDate(2004, 12, 31)});
  ASSERT_EQ(texts().size(), 1u);
  EXPECT_EQ(texts()[0].text, "Name: 12 T 31/12/2004");
  EXPECT_DOUBLE_EQ(texts()[0].at.y, 2886 - 43);
  EXPECT_DOUBLE_EQ(printer.QRow(), 1);
  EXPECT_DOUBLE_EQ(printer.nPtPos, 21 * 25.41);
  printer.QQ({"more"});
  EXPECT_DOUBLE_EQ(texts()[1].at.x, 21 * 25.41);
  EXPECT_DOUBLE_EQ(printer.QCol(), 26);  // 25 characters written
}

TEST_F(QueryOutput, NewLinesAdvanceTheRow) {
  printer.Q();
  EXPECT_TRUE(texts().empty());
  EXPECT_DOUBLE_EQ(printer.QRow(), 1);
  EXPECT_DOUBLE_EQ(printer.QCol(), 1);
  printer.Q({"a", QueryValue(), "b"});  // a value of no kind keeps its blank
  EXPECT_EQ(texts()[0].text, "a  b");
  EXPECT_DOUBLE_EQ(texts()[0].at.y, 2886 - 86);
  printer.QQ();  // no values: nothing
  EXPECT_EQ(texts().size(), 1u);
  printer.setQprc(7, 5);
  EXPECT_DOUBLE_EQ(printer.nPtPos, 4 * 25.41);
  EXPECT_DOUBLE_EQ(printer.QCol(), 5);
  printer.newPage();
  EXPECT_DOUBLE_EQ(printer.QRow(), 0);
  EXPECT_DOUBLE_EQ(printer.QCol(), 1);
}

}  // namespace
}  // namespace velmont::print::testing
