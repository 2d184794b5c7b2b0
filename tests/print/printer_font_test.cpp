// Font descriptors, style switches, the weight rule and the Courier New pitches.
#include <QFontInfo>

#include "printer_fixture.h"

namespace velmont::print::testing {
namespace {

TEST(FontDescriptor, SizeFaceAndStyleWords) {
  const PrintFont font = PrintFont::fromDescriptor("10.Times New Roman Bold Italic");
  EXPECT_EQ(font.family, "Times New Roman");
  EXPECT_EQ(font.pointSize, 10);
  EXPECT_TRUE(font.bold);
  EXPECT_TRUE(font.italic);
  EXPECT_FALSE(font.underscore);
  EXPECT_EQ(font.descriptor(), "10.Times New Roman Bold Italic");
  EXPECT_EQ(PrintFont::fromDescriptor("").descriptor(), "12.Courier New");
  EXPECT_EQ(PrintFont::fromDescriptor("8.5.Arial Underscore").descriptor(),
            "8.5.Arial Underscore");
  // Style words count only as written; the weight rule then draws the face normal.
  const PrintFont lower = PrintFont::fromDescriptor("9.Arial bold");
  EXPECT_FALSE(lower.bold);
  EXPECT_EQ(lower.toQFont().weight(), QFont::Normal);
  EXPECT_EQ(font.toQFont().pixelSize(), 353);  // 10 pt in 0.01 mm
}

TEST(FontDescriptor, WindowsFacesResolveToMetricMatches) {
  EXPECT_EQ(QFontInfo(PrintFont::fromDescriptor("10.Times New Roman").toQFont()).family(),
            "Liberation Serif");
  EXPECT_EQ(QFontInfo(PrintFont::fromDescriptor("10.Arial").toQFont()).family(),
            "Liberation Sans");
  EXPECT_EQ(QFontInfo(PrintFont::fromDescriptor("12.Courier New").toQFont()).family(),
            "Liberation Mono");
  EXPECT_EQ(QFontInfo(PrintFont::fromDescriptor("8.MS Sans Serif").toQFont()).family(),
            "Liberation Sans");
}

using FontSwitching = PrinterTest;

TEST_F(FontSwitching, NewFontSetsStylesAndOnlyCourierSetsPitches) {
  EXPECT_EQ(printer.newFont("10.Arial Bold"), "12.Courier New");
  EXPECT_EQ(printer.cBold, "on");
  EXPECT_DOUBLE_EQ(printer.nQpt, 25.41);
  EXPECT_DOUBLE_EQ(printer.nLpt, 25.41);
  EXPECT_EQ(printer.newFont("10.Courier New"), "10.Arial Bold");
  EXPECT_EQ(printer.cBold, "off");
  EXPECT_DOUBLE_EQ(printer.nQpt, 21.18);
  EXPECT_DOUBLE_EQ(printer.nLpt, 21.18);
  EXPECT_DOUBLE_EQ(printer.nPt, 20.32);  // lAutoPt is off
  printer.lAutoPt = true;
  printer.newFont("7.Courier New Italic");
  EXPECT_DOUBLE_EQ(printer.nPt, 15.25);
  EXPECT_EQ(printer.cItal, "on");
  printer.newFont("11.Courier New");  // other sizes leave the pitches alone
  EXPECT_DOUBLE_EQ(printer.nQpt, 15.25);
}

TEST_F(FontSwitching, CondensedAndEliteKeepStylesAndSetPitches) {
  printer.setBold("ON");
  printer.setUnder(true);
  printer.setCond(true);
  EXPECT_EQ(printer.oFont.descriptor(), "7.Courier New Bold Underscore");
  EXPECT_DOUBLE_EQ(printer.nQpt, 15.25);
  EXPECT_DOUBLE_EQ(printer.nLpt, 15.25);
  EXPECT_DOUBLE_EQ(printer.nPt, 20.32);
  printer.setElite("on");
  EXPECT_EQ(printer.oFont.pointSize, 10);
  EXPECT_DOUBLE_EQ(printer.nQpt, 21.18);
  printer.setElite("Off");
  EXPECT_EQ(printer.oFont.pointSize, 12);
  EXPECT_DOUBLE_EQ(printer.nQpt, 25.41);
  printer.setBold("");  // no state: nothing changes
  printer.setBold("maybe");
  EXPECT_EQ(printer.cBold, "on");
  printer.setBold(false);
  printer.setItal("on");
  printer.PrPt(1, 1, "styled");
  const PrintFont& used = fontOf(texts()[0]);
  EXPECT_FALSE(used.bold);
  EXPECT_TRUE(used.italic);
  EXPECT_TRUE(used.underscore);
  EXPECT_EQ(used.toQFont().weight(), QFont::Normal);
}

TEST_F(FontSwitching, CourierPitchesMatchTheMeasuredFaces) {
  // Ten characters of Courier New measure ten pitches at 12 and 10 points; at 7 points
  // (17 characters per inch) they fit within the pitch of 16.7 characters per inch.
  for (auto [descriptor, pitch] : {std::pair{"12.Courier New", 25.41},
                                   std::pair{"10.Courier New", 21.18}}) {
    printer.newFont(descriptor);
    EXPECT_NEAR(printer.oPs->textWidth("0123456789"), 10 * pitch, 10 * pitch * 0.003)
        << descriptor;
  }
  printer.newFont("7.Courier New");
  EXPECT_NEAR(printer.oPs->textWidth("0123456789"), 10 * 14.82, 0.5);
  EXPECT_LT(printer.oPs->textWidth("0123456789"), 10 * printer.nQpt);
}

TEST_F(FontSwitching, FontOperationsDoNothingInTextMode) {
  printer.lAscii = true;
  EXPECT_EQ(printer.newFont("10.Arial Bold"), "12.Courier New");
  printer.setCond(true);
  EXPECT_EQ(printer.oFont.descriptor(), "12.Courier New");
  EXPECT_DOUBLE_EQ(printer.nQpt, 25.41);
}

}  // namespace
}  // namespace velmont::print::testing
