// Boxes, bars, frames, rules, densities and pictures on the display list.
#include <QDir>
#include <QTemporaryDir>

#include "printer_fixture.h"

namespace velmont::print::testing {
namespace {

constexpr QRgb kBlackRgb = 0xff000000, kWhiteRgb = 0xffffffff;
QRgb grey(int level) { return qRgb(level, level, level); }

using Graphics = PrinterTest;

TEST_F(Graphics, BoxCornersFollowRowsAndColumns) {
  printer.PrBox(3, 1, 2, 40);
  ASSERT_EQ(boxes().size(), 1u);
  const BoxItem box = boxes()[0];
  const double h = printer.nPgHt;
  EXPECT_DOUBLE_EQ(box.area.left, 0);
  EXPECT_DOUBLE_EQ(box.area.bottom, h - 86 - 9 - 86);
  EXPECT_DOUBLE_EQ(box.area.right, 812.8);
  EXPECT_DOUBLE_EQ(box.area.top, h - 86 - 9);
  EXPECT_TRUE(box.outline);
  EXPECT_FALSE(box.fill);
  EXPECT_EQ(box.foreground, kBlackRgb);
  EXPECT_EQ(box.lineType, line::kSolid);
}

TEST_F(Graphics, BoxFillNamesAndModesInAnyCase) {
  printer.PrBox(1, 1, 1, 10, "fill", "dense3");
  printer.PrBox(1, 1, 1, 10, "FILL", "nosuchpattern");
  printer.PrBox(1, 1, 1, 10, "outline", 200, "dot");
  printer.PrBox(1, 1, 1, 10, "OUTLINE", 240, "dash");  // boxes know only SOLID and DOT
  const auto drawn = boxes();
  ASSERT_EQ(drawn.size(), 4u);
  EXPECT_TRUE(drawn[0].fill);
  EXPECT_FALSE(drawn[0].outline);
  EXPECT_EQ(drawn[0].pattern, 1002);
  EXPECT_EQ(drawn[0].foreground, kBlackRgb);
  EXPECT_EQ(drawn[0].background, kWhiteRgb);
  EXPECT_EQ(drawn[1].pattern, pattern::kNoShade);
  EXPECT_FALSE(drawn[2].fill);
  EXPECT_EQ(drawn[2].lineType, line::kDot);
  EXPECT_EQ(drawn[3].lineType, line::kSolid);
}

TEST_F(Graphics, OutlineFillWithGreyKeepsABlackBorder) {
  printer.PrBox(2, 2, 3, 5, "OUTLINEFILL", 200);
  const auto drawn = boxes();
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_TRUE(drawn[0].fill);
  EXPECT_EQ(drawn[0].pattern, pattern::kSolid);
  EXPECT_EQ(drawn[0].foreground, grey(200));
  EXPECT_TRUE(drawn[1].outline);
  EXPECT_FALSE(drawn[1].fill);
  EXPECT_EQ(drawn[1].foreground, kBlackRgb);
  EXPECT_DOUBLE_EQ(drawn[1].area.left, drawn[0].area.left);
  EXPECT_DOUBLE_EQ(drawn[1].area.top, drawn[0].area.top);
}

TEST_F(Graphics, ColourPairsAndPaletteColours) {
  printer.PrBox(1, 1, 1, 1, "FILL", ColourPair{rgbColour(255, 0, 0), kBlue, "hatch"});
  printer.PrBox(1, 1, 1, 1, "FILL", ColourPair{kWhite, kBlack, "unknown"});
  EXPECT_EQ(boxes()[0].pattern, pattern::kHatch);
  EXPECT_EQ(boxes()[0].foreground, qRgb(255, 0, 0));
  EXPECT_EQ(boxes()[0].background, qRgb(0, 0, 255));
  EXPECT_EQ(boxes()[1].pattern, pattern::kSolid);
  EXPECT_EQ(boxes()[1].foreground, kWhiteRgb);
}

TEST_F(Graphics, DensityGreyLevelsAndFallBacks) {
  const std::pair<Density, QRgb> cases[] = {
      {300, grey(17)}, {16, grey(17)}, {256, grey(17)}, {200, grey(200)}, {17, grey(17)}};
  for (const auto& [density, expected] : cases) {
    printer.setDens(density, 17);
    EXPECT_EQ(toRgb(printer.oPs->foreground()), expected);
    EXPECT_EQ(printer.oPs->pattern(), pattern::kSolid);
  }
  printer.setDens("Diag4", 17);
  EXPECT_EQ(printer.oPs->pattern(), pattern::kDiag4);
  EXPECT_EQ(printer.oPs->foreground(), kBlack);
  printer.setDens("nothing", 99);
  EXPECT_EQ(printer.oPs->pattern(), pattern::kSolid);
  EXPECT_EQ(toRgb(printer.oPs->foreground()), grey(99));
}

TEST_F(Graphics, BarsSitBelowTheTopOfTheRow) {
  printer.PrHbar(1, 1, 10, 5);
  printer.PrVbar(2, 3, 2, 4, 100);
  const auto drawn = boxes();
  const double h = printer.nPgHt;
  EXPECT_DOUBLE_EQ(drawn[0].area.top, h - 7);  // 0.7 mm below the top of row 1
  EXPECT_DOUBLE_EQ(drawn[0].area.bottom, h - 7 - 5);
  EXPECT_DOUBLE_EQ(drawn[0].area.right, 10 * 20.32);
  EXPECT_EQ(drawn[0].foreground, grey(17));
  EXPECT_TRUE(drawn[0].fill && !drawn[0].outline);
  EXPECT_DOUBLE_EQ(drawn[1].area.left, 2 * 20.32);
  EXPECT_DOUBLE_EQ(drawn[1].area.right, 2 * 20.32 + 4);
  EXPECT_DOUBLE_EQ(drawn[1].area.top, h - 43 - 7);
  EXPECT_DOUBLE_EQ(drawn[1].area.bottom, h - 43 - 7 - 86);
  EXPECT_EQ(drawn[1].foreground, grey(100));
}

TEST_F(Graphics, FrameWithShadowAndInterior) {
  printer.PrFrame(1, 1, 2, 10, 3, 17, FrameFill{true, 230}, FrameShadow{true, 200, 20});
  const auto drawn = boxes();
  ASSERT_EQ(drawn.size(), 7u);
  const double X = 0, Y = printer.nPgHt - 86 - 9, W = 203.2, H = 86;
  EXPECT_DOUBLE_EQ(drawn[0].area.left, X);  // left bar
  EXPECT_DOUBLE_EQ(drawn[0].area.right, X + 3);
  EXPECT_DOUBLE_EQ(drawn[0].area.bottom, Y);
  EXPECT_DOUBLE_EQ(drawn[0].area.top, Y + H);
  EXPECT_DOUBLE_EQ(drawn[1].area.left, X + W - 3);  // right bar
  EXPECT_DOUBLE_EQ(drawn[2].area.bottom, Y + H - 3);  // top bar
  EXPECT_DOUBLE_EQ(drawn[3].area.top, Y + 3);         // bottom bar
  EXPECT_DOUBLE_EQ(drawn[4].area.left, X + 20);       // shadow under the frame
  EXPECT_DOUBLE_EQ(drawn[4].area.bottom, Y - 21);
  EXPECT_DOUBLE_EQ(drawn[4].area.top, Y - 1);
  EXPECT_DOUBLE_EQ(drawn[5].area.left, X + W + 1);    // shadow at its right
  EXPECT_DOUBLE_EQ(drawn[5].area.top, Y + H - 20);
  EXPECT_EQ(drawn[4].foreground, grey(200));
  EXPECT_DOUBLE_EQ(drawn[6].area.left, X + 3);        // interior
  EXPECT_DOUBLE_EQ(drawn[6].area.top, Y + H - 3);
  EXPECT_EQ(drawn[6].foreground, grey(230));
}

TEST_F(Graphics, RulesTakeLineTypesByNameOrCode) {
  printer.prHline(2, 2, 5, " dashdot ");
  printer.PrVline(2, 2, 3, 4);
  printer.prHline(1, 1, 1, "wavy");
  const auto drawn = lines();
  const double baseline = printer.nPgHt - 86;
  EXPECT_DOUBLE_EQ(drawn[0].from.x, 20.32);
  EXPECT_DOUBLE_EQ(drawn[0].from.y, baseline);
  EXPECT_DOUBLE_EQ(drawn[0].to.x, 20.32 + 5 * 20.32);
  EXPECT_EQ(drawn[0].lineType, line::kDashDot);
  EXPECT_DOUBLE_EQ(drawn[1].to.y, baseline - 3 * 43);
  EXPECT_EQ(drawn[1].lineType, line::kDash2Dot);
  EXPECT_EQ(drawn[2].lineType, line::kSolid);
  EXPECT_EQ(printer.oPs->lineType(), line::kSolid);
}

TEST_F(Graphics, TextAfterGraphicsKeepsTheColourSetBefore) {
  printer.setColor(rgbColour(0, 0, 200));
  printer.PrBox(1, 1, 1, 5, "OUTLINEFILL", 150);
  printer.PrBox(1, 1, 1, 5, "FILL", ColourPair{kWhite, kBlack, "HATCH"});
  printer.PrHbar(2, 1, 5);
  printer.PrFrame(3, 1, 1, 5, 2, 17, FrameFill{true, 240}, FrameShadow{true, 235, std::nullopt});
  printer.setDens(100);  // a direct setDens changes the colour for what follows
  printer.setColor(printer.setColor());  // returns the previous colour
  printer.PrPt(4, 1, "after");
  EXPECT_EQ(texts().back().colour, grey(100));
  EXPECT_EQ(printer.setColor(rgbColour(0, 0, 200)), greyColour(100));
  printer.PrHbar(5, 1, 5);
  printer.PrPt(5, 1, "blue");
  EXPECT_EQ(texts().back().colour, qRgb(0, 0, 200));
  EXPECT_EQ(printer.oPs->pattern(), pattern::kSolid);
  EXPECT_EQ(printer.oPs->background(), kWhite);
}

TEST_F(Graphics, PicturesLoadByTheirLastThreeLetters) {
  QTemporaryDir dir;
  QImage image(20, 10, QImage::Format_RGB32);
  image.fill(Qt::red);
  ASSERT_TRUE(image.save(dir.filePath("logo.bMp"), "BMP"));
  ASSERT_TRUE(image.save(dir.filePath("logo.png"), "PNG"));
  ASSERT_TRUE(QFile::copy(dir.filePath("logo.png"), dir.filePath("logo.tif")));
  printer.PrImage(2, 3, dir.filePath("logo.bMp"), 4, 10);
  printer.PrImage(2, 3, dir.filePath("logo.tif"), 4, 10);
  printer.PrImage(2, 3, dir.filePath("missing.png"), 4, 10);
  printer.PrImage(2, 3, dir.filePath("logo.png"), 2, 5, 30, 7, -2);
  const auto pictures = itemsOf<ImageItem>(printer.currentPage());
  ASSERT_EQ(pictures.size(), 2u);
  const double top = printer.nPgHt - 43 - 7;
  EXPECT_DOUBLE_EQ(pictures[0].area.left, 2 * 20.32);
  EXPECT_DOUBLE_EQ(pictures[0].area.top, top);
  EXPECT_DOUBLE_EQ(pictures[0].area.bottom, top - 4 * 43);
  EXPECT_DOUBLE_EQ(pictures[0].area.right, 2 * 20.32 + 10 * 20.32);
  EXPECT_EQ(pictures[0].picture->bitmap.size(), QSize(20, 10));
  EXPECT_DOUBLE_EQ(pictures[1].area.left, 2 * 20.32 + 7);  // column position keeps nPt
  EXPECT_DOUBLE_EQ(pictures[1].area.right, 2 * 20.32 + 7 + 5 * 30);
  EXPECT_DOUBLE_EQ(pictures[1].area.top, top - 2);
}

}  // namespace
}  // namespace velmont::print::testing
