// Recording pages as segments, zoom levels and the viewport, and printing recorded pages.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <variant>

#include "preview_fixture.h"
#include "preview/preview_window.h"
#include "print/pdf_folder.h"

namespace velmont::print::testing {
namespace {

std::unique_ptr<preview::lmcPrv3> memoryPreview(MemoryDevice** device, int orientation = kPortrait) {
  auto preview = std::make_unique<preview::lmcPrv3>();
  auto memory = std::make_unique<MemoryDevice>();
  memory->setOrientation(orientation);
  *device = memory.get();
  preview->Init(std::move(memory));
  preview->create();
  return preview;
}

QStringList textsOf(const PageList* page) {
  QStringList texts;
  if (!page) return texts;
  for (const DrawItem& item : page->items())
    if (auto* text = std::get_if<TextItem>(&item)) texts << text->text;
  return texts;
}

TEST(PreviewRecording, CreateSetsThePreviewsMembers) {
  MemoryDevice* device = nullptr;
  auto preview = memoryPreview(&device);
  EXPECT_EQ(preview->cOrient, "P");
  EXPECT_EQ(preview->aPageSize[0], 2016);
  EXPECT_EQ(preview->aPageSize[1], 2886);
  EXPECT_EQ(preview->aAreaAttr[0], 0);
  EXPECT_EQ(preview->aLineAttr[0], 1);
  EXPECT_EQ(preview->aLineAttr[3], 2);
  EXPECT_TRUE(preview->aSegments.empty());
  EXPECT_EQ(preview->nSeg, 0);
  EXPECT_EQ(preview->oFont.descriptor(), "12.Courier New");

  auto landscape = memoryPreview(&device, kLandscape);
  EXPECT_EQ(landscape->cOrient, "L");
}

TEST(PreviewRecording, EachPageBecomesAClosedSegmentAndNoJobIsStarted) {
  MemoryDevice* device = nullptr;
  auto preview = memoryPreview(&device);
  EXPECT_TRUE(preview->startDoc("Cards"));
  drawCard(*preview, 1);
  preview->newPage();
  drawCard(*preview, 2);
  preview->newpage();  // the lower-case name is the same operation
  preview->PrPt(2, 1, "Last page");
  const std::size_t firstPageItems = preview->segmentPage(1)->items().size();
  EXPECT_TRUE(preview->endDoc());

  EXPECT_EQ(preview->aSegments, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(preview->nSeg, 3);
  EXPECT_EQ(preview->nPage, 3);
  EXPECT_TRUE(textsOf(preview->segmentPage(1)).contains("Student 1"));
  EXPECT_TRUE(textsOf(preview->segmentPage(2)).contains("Student 2"));
  EXPECT_EQ(textsOf(preview->segmentPage(3)), QStringList{"Last page"});
  EXPECT_EQ(preview->segmentPage(1)->items().size(), firstPageItems);
  // Drawing after the end goes to no page.
  preview->PrPt(3, 1, "Too late");
  EXPECT_EQ(textsOf(preview->segmentPage(3)), QStringList{"Last page"});
  EXPECT_TRUE(device->documents().empty());
}

TEST(PreviewRecording, OrientDoesNotTurnAPreview) {
  MemoryDevice* device = nullptr;
  auto preview = memoryPreview(&device);
  preview->startDoc();
  preview->orient("LAND");
  EXPECT_EQ(preview->cOrient, "P");
  EXPECT_EQ(preview->orientation(), kPortrait);
  EXPECT_EQ(preview->aPageSize[0], 2016);
}

TEST(PreviewZoom, LevelsGiveThePageSizesAndStopAtTheirBounds) {
  ZoomLevelGuard keep;
  MemoryDevice* device = nullptr;
  const std::vector<QSize> portrait = {{305, 432},  {366, 518},  {439, 621},
                                       {526, 745},  {631, 894},  {757, 1072},
                                       {908, 1286}, {1089, 1543}, {1306, 1851}};
  const std::vector<QSize> landscape = {{468, 331},  {561, 397},   {673, 476},
                                        {807, 571},  {968, 685},   {1161, 822},
                                        {1393, 986}, {1671, 1183}, {2005, 1419}};
  for (int orientation : {kPortrait, kLandscape}) {
    auto preview = memoryPreview(&device, orientation);
    preview::PreviewWindow window(*preview, false);  // built, not shown
    const auto& sizes = orientation == kPortrait ? portrait : landscape;
    EXPECT_EQ(window.pageGeometry().page.size(), sizes[0]);
    for (int level = 1; level <= 8; ++level) {
      window.zoom(1);
      EXPECT_EQ(window.level(), level);
      EXPECT_EQ(window.pageGeometry().page.size(), sizes[level]) << "level " << level;
      EXPECT_EQ(preview::previewZoomLevel(), level);
    }
    preview::setPreviewZoomLevel(3);
    window.zoom(1);  // at the top: nothing changes, but the level is stored
    EXPECT_EQ(window.level(), 8);
    EXPECT_EQ(window.pageGeometry().page.size(), sizes[8]);
    EXPECT_EQ(preview::previewZoomLevel(), 8);
    for (int level = 7; level >= 0; --level) window.zoom(-1);
    EXPECT_EQ(window.level(), 0);
    preview::setPreviewZoomLevel(5);
    window.zoom(-1);
    EXPECT_EQ(window.level(), 0);
    EXPECT_EQ(preview::previewZoomLevel(), 0);
  }
}

TEST(PreviewZoom, ViewportFollowsThePageImageAndKeepsAZeroOffsetAsOne) {
  MemoryDevice* device = nullptr;
  auto preview = memoryPreview(&device);
  preview::PreviewWindow window(*preview, false);
  double x1, y1, x2, y2;
  window.calcVP(x1, y1, x2, y2);
  EXPECT_DOUBLE_EQ(x1, 305 * 42 / 2100.0);
  EXPECT_DOUBLE_EQ(y1, 432 * 42 / 2970.0);
  EXPECT_DOUBLE_EQ(x2, 305 * 2016 / 2100.0 + x1);
  EXPECT_DOUBLE_EQ(y2, 432 * 2886 / 2970.0 + y1);

  preview->aPaperSize[2] = 0;
  preview->aPaperSize[3] = 0;
  window.calcVP(x1, y1, x2, y2);
  EXPECT_EQ(preview->aPaperSize[2], 1);
  EXPECT_EQ(preview->aPaperSize[3], 1);
  EXPECT_DOUBLE_EQ(x1, 305 / 2100.0);
}

TEST(PreviewPaint, DrawsegPutsInkWhereThePrinterDrewIt) {
  MemoryDevice* device = nullptr;
  auto preview = memoryPreview(&device);
  preview->startDoc();
  drawCard(*preview, 1);
  preview->endDoc();
  preview::PreviewWindow window(*preview, false);
  for (int level = 0; level < 3; ++level) window.zoom(1);
  window.drawseg();
  const QImage& image = window.pageImage();
  ASSERT_EQ(image.size(), QSize(526, 745));
  double x1, y1, x2, y2;
  window.calcVP(x1, y1, x2, y2);
  // Page point (0.1 mm, y upwards) to image pixel.
  auto pixel = [&](double x, double y) {
    const double px = x1 + x * (x2 - x1) / preview->aPageSize[0];
    const double py = image.height() - (y1 + y * (y2 - y1) / preview->aPageSize[1]);
    return image.pixelColor(int(px), int(py));
  };
  // The solid bar: rows 30 and 31 from the top, columns 10 to 40 at 2.032 mm.
  const double barTop = preview->aPageSize[1] - 29 * 43, barBottom = preview->aPageSize[1] - 31 * 43;
  const double barMiddleY = (barTop + barBottom) / 2;
  EXPECT_LT(pixel(9 * 20.32 + 100, barMiddleY).lightness(), 60);
  EXPECT_LT(pixel(38 * 20.32, barMiddleY).lightness(), 60);
  // Paper beside and below it stays white.
  EXPECT_EQ(pixel(60 * 20.32, barMiddleY), QColor(Qt::white));
  EXPECT_EQ(pixel(20 * 20.32, barBottom - 200), QColor(Qt::white));
  // The heading is inked somewhere across the top row.
  int dark = 0;
  const double headingY = preview->aPageSize[1] - 43 + 10;
  for (double x = 0; x < preview->aPageSize[0]; x += 2)
    if (pixel(x, headingY).lightness() < 128) ++dark;
  EXPECT_GT(dark, 20);
}

// ---- printing -----------------------------------------------------------------------

TEST(PreviewPrinting, AllCurrentAndRangePrintTheirPagesAsOneJobEach) {
  ScriptedDialogs dialogs;
  PdfPreview run(5);
  preview::lmcPrv3& preview = *run.preview;

  preview.printSeg("all");
  EXPECT_EQ(pdfPages(run.file()), 5);
  QStringList pages = pdfPageTexts(run.file());
  ASSERT_EQ(pages.size(), 5);
  for (int page = 0; page < 5; ++page)
    EXPECT_TRUE(pages[page].contains(QString("Student %1").arg(page + 1))) << page;

  preview.nSeg = preview.aSegments[2];
  preview.printSeg("curr");
  const QString second = run.dir.filePath("out-2.pdf");  // each job writes its own file
  EXPECT_EQ(pdfPages(second), 1);
  EXPECT_TRUE(pdfPageTexts(second).value(0).contains("Student 3"));

  preview.printSeg("range", 2, 4);
  const QString third = run.dir.filePath("out-3.pdf");
  EXPECT_EQ(pdfPages(third), 3);
  pages = pdfPageTexts(third);
  ASSERT_EQ(pages.size(), 3);
  EXPECT_TRUE(pages[0].contains("Student 2"));
  EXPECT_TRUE(pages[2].contains("Student 4"));

  EXPECT_EQ(dialogs.questions, (QStringList{"Print All Pages?", "Print Current Page?",
                                            "Print page 2 through page 4?"}));
}

TEST(PreviewPrinting, PrintingToPdfAsksWhereToSaveAndTheNoticeNamesTheFile) {
  // Without a file chosen before the run, the question starts in the folder last
  // saved to and offers the report's title; cancelling it prints nothing.
  ScriptedDialogs dialogs;
  QTemporaryDir dir;
  rememberPdfSaveFolder(dir.filePath("earlier.pdf"));
  auto preview = preview::lmNewPreview(kPdfDeviceName);
  preview->create();
  preview->startDoc("Class List");
  drawCard(*preview, 1);
  preview->endDoc();
  dialogs.saveAnswer = "";
  preview->printSeg("all");
  ASSERT_EQ(dialogs.saveQuestions, QStringList{dir.filePath("Class List.pdf")});
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty()) << "cancelled: nothing written";
  EXPECT_TRUE(dialogs.messages.isEmpty());

  QTemporaryDir elsewhere;
  dialogs.saveAnswer = elsewhere.filePath("chosen");  // ".pdf" is added
  preview->printSeg("all");
  EXPECT_EQ(pdfPages(elsewhere.filePath("chosen.pdf")), 1);
  EXPECT_EQ(dialogs.messages, QStringList{"Report has been sent to " + elsewhere.filePath("chosen.pdf")});
  EXPECT_FALSE(QFile::exists(QDir::current().filePath("velmont.pdf"))) << "nothing in the starting folder";
  EXPECT_EQ(pdfSaveFolder(), elsewhere.path()) << "the next question starts there";

  // A run's preview offers the run's file name in the folder last used for its report.
  QTemporaryDir cardsFolder;
  rememberPdfSaveFolder(cardsFolder.filePath("cards.pdf"), "T_EOT_Rpt");
  rememberPdfSaveFolder(dir.filePath("list.pdf"), "L_Rpt_001");
  auto cards = preview::lmNewPreview(kPdfDeviceName);
  cards->create();
  cards->saveName = "End of Term Report - Term 3 2026 - 7A";
  cards->saveReport = "T_EOT_Rpt";
  cards->startDoc("End of Term Report");
  drawCard(*cards, 1);
  cards->endDoc();
  dialogs.saveAnswer = "";
  cards->printSeg("all");
  EXPECT_EQ(dialogs.saveQuestions.back(), cardsFolder.filePath("End of Term Report - Term 3 2026 - 7A.pdf"));
}

// The folder last saved to is kept for each report in the program's settings
// file, so that it is offered again after the program is started anew; a
// families' folder is remembered by the folder that holds it.
TEST(PreviewPrinting, SaveFoldersAreKeptForEachReportAcrossStarts) {
  QTemporaryDir config, cards, lists;
  const QString settings = config.filePath("velmont/velmont.ini");
  keepSaveFoldersIn(settings);
  ASSERT_TRUE(QDir(cards.path()).mkdir("families"));
  rememberPdfSaveFolder(cards.filePath("families"), "T_EOT_Rpt");
  rememberPdfSaveFolder(lists.filePath("7A.pdf"), "L_Rpt_001");
  keepSaveFoldersIn(settings);  // a new start: only the file knows them
  EXPECT_EQ(pdfSaveFolder("T_EOT_Rpt"), cards.path());
  EXPECT_EQ(pdfSaveFolder("L_Rpt_001"), lists.path());
  EXPECT_EQ(pdfSaveFolder("Other"), lists.path()) << "a report not saved yet starts where the last one went";
  EXPECT_TRUE(QFile::exists(settings));
  {
    QTemporaryDir gone;
    rememberPdfSaveFolder(gone.filePath("x.pdf"), "L_Rpt_001");
  }
  EXPECT_EQ(pdfSaveFolder("L_Rpt_001"), pdfSaveFolder("Nothing")) << "a folder that has gone is passed over";
  keepSaveFoldersIn({});
}

TEST(PreviewPrinting, OnePageReportPrintsOnePageEveryWay) {
  MemoryDevice* device = nullptr;
  auto preview = memoryPreview(&device);
  preview->lPrnPrompt = false;
  preview->startDoc();
  drawCard(*preview, 1);
  preview->endDoc();
  preview->printSeg("all");
  preview->printSeg("curr");
  preview->printSeg("range", 1, 1);
  ASSERT_EQ(device->documents().size(), 3u);
  for (const auto& document : device->documents()) {
    EXPECT_EQ(document.pages.size(), 1u);
    EXPECT_TRUE(document.ended);
    EXPECT_TRUE(textsOf(&document.pages[0]).contains("Student 1"));
  }
}

TEST(PreviewPrinting, PrintingFromThePreviewCarriesTheRunsJobSettings) {
  MemoryDevice* device = nullptr;
  auto preview = memoryPreview(&device);
  preview->lPrnPrompt = false;
  preview->setNumCopies(4);
  preview->setDuplexMode(3);
  preview->startDoc();
  drawCard(*preview, 1);
  preview->endDoc();
  preview->printSeg("all");
  ASSERT_EQ(device->documents().size(), 1u);
  EXPECT_EQ(device->documents()[0].job.copies, 4);
  EXPECT_EQ(device->documents()[0].job.duplex, 3);
}

TEST(PreviewPrinting, AnsweringNoOrABadRangePrintsNothing) {
  ScriptedDialogs dialogs;
  dialogs.answerYes = false;
  PdfPreview run(3);
  run.preview->printSeg("all");
  run.preview->printSeg("range", 1, 2);
  EXPECT_FALSE(QFile::exists(run.file()));
  EXPECT_EQ(dialogs.questions.size(), 2);

  // Ranges that the window would refuse print nothing and ask nothing.
  dialogs.answerYes = true;
  run.preview->printSeg("range", 2, 9);
  run.preview->printSeg("range", 3, 2);
  run.preview->printSeg("range", 0, 1);
  EXPECT_FALSE(QFile::exists(run.file()));
  EXPECT_EQ(dialogs.questions.size(), 2);
}

TEST(PreviewPrinting, WithoutThePromptPrintingStartsAtOnce) {
  ScriptedDialogs dialogs;
  PdfPreview run(2);
  run.preview->lPrnPrompt = false;
  run.preview->printSeg("all");
  EXPECT_TRUE(dialogs.questions.isEmpty());
  EXPECT_EQ(pdfPages(run.file()), 2);
}

}  // namespace
}  // namespace velmont::print::testing
