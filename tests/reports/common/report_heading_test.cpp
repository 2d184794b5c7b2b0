// The student list's page heading: logo and watermark geometry, heading font sizes,
// the first free row, page numbers and the stop answer of a stepped preview.
#include <gtest/gtest.h>

#include <QImage>
#include <optional>

#include "data/table.h"
#include "libs/installation.h"
#include "libs/letterhead_setup.h"
#include "print/preview_document.h"
#include "reports/common/report_heading.h"
#include "printer_fixture.h"
#include "temp_dir.h"

using namespace velmont;
using namespace velmont::print;
using namespace velmont::print::testing;
using velmont::testing::TempDir;

namespace {

// The letterhead table with the logo (record 5) and the watermark (record 6) named.
void nameLogos(const std::string& dir, const std::string& logo, const std::string& mark) {
  libs::setup_lhed(dir + "/" + libs::kLetterheadFile, dir + "/" + libs::kInstallationFile, 0);
  auto t = data::Table::open(dir + "/rvhplogo.dbf", "rvhplogo", data::OpenMode::kReadWrite);
  for (auto [recno, name] : {std::pair{5u, logo}, std::pair{6u, mark}}) {
    t->goTo(recno);
    ASSERT_TRUE(t->lockRecord());
    t->replace("LDE", name);
    t->unlockRecord();
  }
}

void writePicture(const std::string& path, int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::gray);
  ASSERT_TRUE(image.save(QString::fromStdString(path)));
}

class ReportHeadingTest : public PrinterTest {
 protected:
  ReportHeadingTest() {
    nameLogos(dir.path().string(), "", "");
    printer.setPt(26);
    values.folder = school::SchoolFolder(dir.path().string());
    values.C_School = "Velmont High   ";
    values.C_Title = "Velmont Program";
    values.C_date = data::Date::fromYmd(2004, 6, 30);
    values.timeOfDay = QTime(9, 5, 7);
  }
  std::vector<ImageItem> images() const { return itemsOf<ImageItem>(printer.currentPage()); }
  // A copy: the page's items are read afresh on every call.
  std::optional<TextItem> textOf(const QString& wanted) const {
    for (const TextItem& t : texts())
      if (t.text == wanted) return t;
    return std::nullopt;
  }

  TempDir dir;
  reports::ReportHeadingValues values;
};

TEST_F(ReportHeadingTest, LogoKeepsItsProportionsAtTheChosenHeight) {
  nameLogos(dir.path().string(), "logo.png", "");
  writePicture(dir.file("logo.png"), 400, 200);
  values.nPr_logoH = 15;
  ASSERT_TRUE(reports::REP_HD(values, "Heading", printer));
  const auto pics = images();
  ASSERT_EQ(pics.size(), 1u);
  const PageRect& r = pics[0].area;
  EXPECT_NEAR(r.height(), 150, 1e-6) << "15 mm high";
  EXPECT_NEAR(r.width(), 300, 1e-6) << "30 mm wide";
  EXPECT_NEAR(r.left, 0, 1e-6) << "column 1";
  // Top-left corner at row 1.2: the top of that row, 0.7 mm down, as PrImage places it.
  EXPECT_NEAR(r.top, printer.nPgHt - 0.2 * 43 - 7, 1e-6);
}

TEST_F(ReportHeadingTest, NoLogoAtHeightZeroWhileTheWatermarkIsStillDrawn) {
  nameLogos(dir.path().string(), "logo.png", "mark.png");
  writePicture(dir.file("logo.png"), 400, 200);
  writePicture(dir.file("mark.png"), 100, 50);
  values.nPr_logoH = 0;
  ASSERT_TRUE(reports::REP_HD(values, "Heading", printer));
  const auto pics = images();
  ASSERT_EQ(pics.size(), 1u);
  EXPECT_TRUE(pics[0].picture->file.endsWith("mark.png"));
  // The printable width less 20 mm, in mm, over 4 columns of 4.3 mm each.
  const double nWDmm = (printer.aSize[4] - printer.aSize[2] - 200) / 10;
  EXPECT_NEAR(pics[0].area.width(), nWDmm / 4 * 43, 1e-6);
  EXPECT_NEAR(pics[0].area.height(), nWDmm / 4 * 0.5 * 43, 1e-6);
  // Placed by the paper's size: its height less the picture's over 100 for the row,
  // its width less the picture's over 260 for the column.
  const double nHTmm = nWDmm * 0.5;
  printer.PrImage((printer.aSize[1] - nHTmm * 10) / 100, (printer.aSize[0] - nWDmm * 10) / 260,
                  QString::fromStdString(dir.file("mark.png")), nWDmm / 4 * 0.5, nWDmm / 4, 43);
  const auto both = images();
  ASSERT_EQ(both.size(), 2u);
  EXPECT_NEAR(both[0].area.left, both[1].area.left, 1e-6);
  EXPECT_NEAR(both[0].area.top, both[1].area.top, 1e-6);
}

TEST_F(ReportHeadingTest, ATallWatermarkIsScaledToFitALandscapePage) {
  nameLogos(dir.path().string(), "logo.png", "mark.png");
  writePicture(dir.file("mark.png"), 50, 100);
  values.nPr_logoH = 0;
  printer.orient("LAND");
  ASSERT_TRUE(reports::REP_HD(values, "Heading", printer));
  const auto pics = images();
  ASSERT_EQ(pics.size(), 1u);
  const PageRect& r = pics[0].area;
  EXPECT_GE(r.bottom, 0);
  EXPECT_LE(r.top, printer.aSize[5] - printer.aSize[3]);
  EXPECT_GE(r.left, 0);
  EXPECT_LE(r.right, printer.aSize[4] - printer.aSize[2]);
  EXPECT_NEAR(r.height() / r.width(), 2.0, 1e-6) << "proportions kept";
}

TEST_F(ReportHeadingTest, NoPicturesWithoutTheLogoFlag) {
  nameLogos(dir.path().string(), "logo.png", "mark.png");
  writePicture(dir.file("logo.png"), 400, 200);
  writePicture(dir.file("mark.png"), 100, 50);
  values.nPr_logoH = 15;
  ASSERT_TRUE(reports::REP_HD(values, "Heading", printer, 78, false));
  EXPECT_TRUE(images().empty());
}

TEST(ReportHeadingFontTest, SizeFollowsTheHeadingsLength) {
  EXPECT_EQ(reports::headingFont(36), "14.Times New Roman Bold");
  EXPECT_EQ(reports::headingFont(37), "12.Times New Roman Bold");
  EXPECT_EQ(reports::headingFont(40), "12.Times New Roman Bold");
  EXPECT_EQ(reports::headingFont(56), "12.Times New Roman Bold");
  EXPECT_EQ(reports::headingFont(57), "10.Times New Roman Bold");
}

TEST_F(ReportHeadingTest, HeadingTextsRulesAndTheFirstFreeRow) {
  const QString heading(40, QChar('H'));
  ASSERT_TRUE(reports::REP_HD(values, heading, printer));
  EXPECT_EQ(values.ln, 5) << "3 + 2 with no column headings";
  EXPECT_EQ(values.P_No, 2);
  const std::optional<TextItem> h = textOf(heading);
  ASSERT_TRUE(h.has_value());
  EXPECT_EQ(fontOf(*h).pointSize, 12);
  ASSERT_TRUE(textOf("Velmont High").has_value()) << "trailing blanks removed";
  const std::optional<TextItem> page = textOf("PAGE   1");
  ASSERT_TRUE(page.has_value());
  EXPECT_NEAR(page->at.x, (78 - 8 - 1) * 26, 1e-6);
  const std::optional<TextItem> time = textOf("09:05:07");
  ASSERT_TRUE(time.has_value());
  EXPECT_NEAR(time->at.x, (78 - 15 - 1) * 26, 1e-6);
  ASSERT_TRUE(textOf("30/06/2004").has_value());
  int rules = 0;
  for (const TextItem& t : texts())
    if (t.text == QString(78, '_')) {
      ++rules;
      EXPECT_EQ(fontOf(t).pointSize, 14);
    }
  EXPECT_EQ(rules, 2);
  EXPECT_EQ(printer.oFont.descriptor(), "12.Times New Roman") << "the body's font is left in force";
}

// A layout wider than the paper keeps the page number on it, ending at the
// printable area's right edge; the rest of the heading keeps its columns.
TEST_F(ReportHeadingTest, APageNumberStaysOnThePaperOfAWideLayout) {
  ASSERT_TRUE(reports::REP_HD(values, "Heading", printer, 200));
  const std::optional<TextItem> page = textOf("PAGE   1");
  ASSERT_TRUE(page.has_value());
  printer.setCond("on");  // the number's own type, to measure it
  const double right = page->at.x + printer.textWidth("PAGE   1");
  EXPECT_LE(right, printer.printableRight() + 1e-6) << "the number must not run off the page";
  EXPECT_NEAR(right, printer.printableRight(), 1.0);
  const std::optional<TextItem> time = textOf("09:05:07");
  ASSERT_TRUE(time.has_value());
  EXPECT_NEAR(time->at.x, (200 - 15 - 1) * 26, 1e-6);
}

TEST_F(ReportHeadingTest, ColumnHeadingLinesMoveTheBodyDown) {
  values.hdl1 = {{5, "NAME"}, {30, "MARK"}};
  values.hdl2 = {{30, "(%)"}};
  ASSERT_TRUE(reports::REP_HD(values, "Heading", printer));
  EXPECT_EQ(values.ln, 8);
  const std::optional<TextItem> mark = textOf("MARK");
  const std::optional<TextItem> pct = textOf("(%)");
  ASSERT_TRUE(mark && pct);
  EXPECT_NEAR(mark->at.y - pct->at.y, 43, 1e-6) << "the second line one row lower";
  EXPECT_NEAR(mark->at.x, 29 * 26, 1e-6);
}

TEST_F(ReportHeadingTest, LaterPagesStartANewPageAndNumberOn) {
  ASSERT_TRUE(reports::REP_HD(values, "Heading", printer));
  values.ln = 41;
  ASSERT_TRUE(reports::REP_HD(values, "Heading", printer));
  EXPECT_EQ(printer.nPage, 2);
  EXPECT_TRUE(textOf("PAGE   2").has_value());
  EXPECT_EQ(values.P_No, 3);
}

TEST_F(ReportHeadingTest, NoHeadingsOnPrintedPagesWhenTheTextSettingSaysN) {
  values.C_Hd_Ascii = "N";
  ASSERT_TRUE(reports::REP_HD(values, "Heading", printer));
  EXPECT_EQ(values.ln, 0) << "-2, then the usual 2";
  EXPECT_TRUE(texts().empty());
  values.ln = 999;
  values.lPreview = true;  // a preview shows them all the same
  ASSERT_TRUE(reports::REP_HD(values, "Heading", printer));
  EXPECT_EQ(values.ln, 5);
}

}  // namespace

namespace {

TEST(ReportHeadingPreviewTest, AStopAnswerStartsNoPageAndReturnsFalse) {
  TempDir dir;
  PreviewDocument preview;
  preview.Init(std::make_unique<MemoryDevice>());
  preview.create();
  preview.startDoc("list");
  reports::ReportHeadingValues v;
  v.folder = school::SchoolFolder(dir.path().string());
  v.lPreview = true;
  int asked = 0, stopped = 0;
  v.stepWindow = [&](PreviewDocument&) { return ++asked, 0; };
  v.onStop = [&] { ++stopped; };
  ASSERT_TRUE(reports::REP_HD(v, "Heading", preview)) << "the first page asks nothing";
  v.ln = 41;
  EXPECT_FALSE(reports::REP_HD(v, "Heading", preview));
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(stopped, 1);
  EXPECT_EQ(preview.nPage, 1) << "no new page";
  EXPECT_EQ(v.ln, 41);
  EXPECT_EQ(v.nPrev_Choice, 0);
  ASSERT_TRUE(reports::REP_HD(v, "Heading", preview)) << "once stopped, the window is not asked again";
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(preview.nPage, 2);
}

}  // namespace
