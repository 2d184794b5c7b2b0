// The zoom and viewport arithmetic, against figures worked out by hand.
#include <gtest/gtest.h>

#include "preview/preview_geometry.h"

namespace velmont::print {
namespace {

TEST(PreviewGeometry, PageAreaHasThePapersProportionsCentredInTheArea) {
  // Portrait A4: 24 rows (432 px) high, 24 * 2100 / 2970 * 2 columns wide.
  const preview::PreviewGeometry portrait = preview::initialGeometry(laserA4(kPortrait));
  EXPECT_EQ(portrait.canvas, QSize(531, 486));
  EXPECT_EQ(portrait.page, QRect(104, 9, 305, 432));
  // Landscape A4: 52 columns (468 px) wide, 52 * 2100 / 2970 / 2 rows high.
  const preview::PreviewGeometry landscape = preview::initialGeometry(laserA4(kLandscape));
  EXPECT_EQ(landscape.page, QRect(23, 60, 468, 331));
}

TEST(PreviewGeometry, SquarePaperCountsAsLandscape) {
  EXPECT_EQ(paperOrientation({2000, 2000, 0, 0, 2000, 2000}), "L");
  EXPECT_EQ(paperOrientation({2000, 2001, 0, 0, 2000, 2001}), "P");
}

TEST(PreviewGeometry, ZoomStepsGrowCanvasAndPageAndShiftThePage) {
  preview::PreviewGeometry p = preview::initialGeometry(laserA4(kPortrait));
  p = preview::zoomGeometry(p, "P", 1);
  // Canvas: 531 * 0.2 * 0.68 = 72.2 -> 72; 486 * 0.2 * 0.94 = 91.3 -> 91. Page * 1.2.
  EXPECT_EQ(p.canvas, QSize(603, 577));
  EXPECT_EQ(p.page, QRect(99, 9, 366, 518));
  p = zoomGeometry(p, "P", -1);
  // Canvas: 603 * -0.166 * 0.68 * 1.063 = -72.35 -> -72; 577 * -0.166 * 0.94 * 1.013 = -91.2 -> -91.
  EXPECT_EQ(p.canvas, QSize(531, 486));
  // Page: 366 * 0.834 = 305.2 -> 305; 518 * 0.834 = 432.01 -> 432; 5 pixels back right.
  EXPECT_EQ(p.page, QRect(104, 9, 305, 432));

  preview::PreviewGeometry l = preview::initialGeometry(laserA4(kLandscape));
  l = preview::zoomGeometry(l, "L", 1);
  // 531 * 0.2 * 0.93 = 98.77 -> 98; 486 * 0.2 * 0.88 = 85.5 -> 85; the page 2 pixels down.
  EXPECT_EQ(l.canvas, QSize(629, 571));
  EXPECT_EQ(l.page, QRect(23, 62, 561, 397));
  l = zoomGeometry(l, "L", -1);
  EXPECT_EQ(l.page.topLeft(), QPoint(23, 60));
}

TEST(PreviewGeometry, ScrollStepsFollowTheTable) {
  EXPECT_EQ(preview::zoomScrollSteps("P", 3, 1), (preview::ScrollSteps{1, 3}));
  EXPECT_EQ(preview::zoomScrollSteps("P", 2, -1), (preview::ScrollSteps{0, -3}));
  EXPECT_EQ(preview::zoomScrollSteps("P", 0, -1), (preview::ScrollSteps{-2, -3}));
  EXPECT_EQ(preview::zoomScrollSteps("L", 2, 1), (preview::ScrollSteps{1, -5}));
  EXPECT_EQ(preview::zoomScrollSteps("L", 7, -1), (preview::ScrollSteps{2, 0}));
  EXPECT_EQ(preview::zoomScrollSteps("L", 8, 1), (preview::ScrollSteps{-1, 0}));
  EXPECT_EQ(preview::zoomScrollSteps("L", 9, 1), (preview::ScrollSteps{0, 0}));
}

TEST(PreviewGeometry, ViewportPlacesThePrintableAreaAtItsPaperOffsets) {
  PaperSize paper{2100, 2970, 42, 42, 2058, 2928};
  const auto vp = preview::viewportFor(QSize(210, 297), paper, {2016, 2886});
  EXPECT_DOUBLE_EQ(vp[0], 4.2);
  EXPECT_DOUBLE_EQ(vp[1], 4.2);
  EXPECT_DOUBLE_EQ(vp[2], 201.6 + 4.2);
  EXPECT_DOUBLE_EQ(vp[3], 288.6 + 4.2);

  // A zero offset is taken as 1 and kept in the paper size.
  PaperSize edge{2100, 2970, 0, 0, 2100, 2970};
  const auto full = preview::viewportFor(QSize(210, 297), edge, {2100, 2970});
  EXPECT_EQ(edge[2], 1);
  EXPECT_EQ(edge[3], 1);
  EXPECT_DOUBLE_EQ(full[0], 0.1);
  EXPECT_DOUBLE_EQ(full[1], 0.1);
}

}  // namespace
}  // namespace velmont::print
