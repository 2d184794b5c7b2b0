// What users see: a page printed to the PDF device read back with pdftotext, and the
// same page rendered to an image.
#include <QRegularExpression>
#include <QTemporaryDir>

#include "print/page_image.h"
#include "printer_fixture.h"
#include "host_tool.h"

namespace velmont::print::testing {
namespace {

struct Word {
  QString text;
  double xMin, yMin, xMax, yMax;  // points from the paper's top-left corner
  int page;
};

std::vector<Word> wordsOf(const QString& pdf) {
  const auto run = velmont::testing::runHostTool("pdftotext", {"-bbox", pdf, "-"}, 30000);
  EXPECT_TRUE(run.ended);
  const QString html = QString::fromUtf8(run.out);
  static const QRegularExpression token(
      R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
  std::vector<Word> words;
  int page = 0;
  for (const auto& m : token.globalMatch(html)) {
    if (m.captured(0) == "<page ") {
      ++page;
      continue;
    }
    words.push_back({m.captured(5), m.captured(1).toDouble(), m.captured(2).toDouble(),
                     m.captured(3).toDouble(), m.captured(4).toDouble(), page});
  }
  return words;
}

const Word* find(const std::vector<Word>& words, const QString& text) {
  for (const Word& word : words)
    if (word.text == text) return &word;
  return nullptr;
}

// 0.1 mm as points.
double points(double tenthsOfMm) { return tenthsOfMm / 254.0 * 72.0; }

void drawTestPage(lmcPrn3& printer) {
  printer.newFont("14.Times New Roman Bold");
  printer.PrCenter(1, "Velmont College");
  printer.newFont("10.Arial");
  printer.PrPt(3, 1, "Student");
  printer.PrPt(3, 20, "Mathematics");
  printer.PrPtNum(4, 40, "  7");
  printer.PrPtNum(5, 40, "123");
  printer.PrBox(6, 1, 2, 40, "OUTLINEFILL", 200);
  printer.PrHbar(9, 1, 40, 20);
}

TEST(PrintedOutput, PdfHasTheTextsInOrderAndInPlace) {
  QTemporaryDir dir;
  auto printer = lmNewPrinter("PDF");
  printer->setOutputFile(dir.filePath("page.pdf"));
  printer->create();
  printer->setLeftMar(100);
  ASSERT_TRUE(printer->startDoc("Output test"));
  drawTestPage(*printer);
  printer->newPage();
  printer->PrPt(2, 1, "Continued");
  ASSERT_TRUE(printer->endDoc());

  const auto layout = velmont::testing::runHostTool("pdftotext", {"-layout", dir.filePath("page.pdf"), "-"}, 30000);
  ASSERT_TRUE(layout.ended);
  const QString text = QString::fromUtf8(layout.out);
  const qsizetype title = text.indexOf("Velmont College"), student = text.indexOf("Student");
  const qsizetype maths = text.indexOf("Mathematics"), more = text.indexOf("Continued");
  ASSERT_GE(title, 0);
  EXPECT_LT(title, student);
  EXPECT_LT(student, maths);
  EXPECT_LT(text.indexOf("123"), text.indexOf('\f'));
  EXPECT_GT(more, text.indexOf('\f'));

  const auto words = wordsOf(dir.filePath("page.pdf"));
  const Word* studentWord = find(words, "Student");
  const Word* mathsWord = find(words, "Mathematics");
  const Word* seven = find(words, "7");
  const Word* hundreds = find(words, "123");
  const Word* continued = find(words, "Continued");
  ASSERT_TRUE(studentWord && mathsWord && seven && hundreds && continued);
  // The printable area starts 4.2 mm from the paper's left and top edges.
  EXPECT_NEAR(studentWord->xMin, points(42 + 100), 0.5);
  EXPECT_NEAR(mathsWord->xMin, points(42 + 100 + 19 * 20.32), 0.5);
  const double baseline3 = points(42 + 3 * 43);
  EXPECT_LT(studentWord->yMin, baseline3);
  EXPECT_GT(studentWord->yMax, baseline3);
  EXPECT_NEAR(seven->xMax, hundreds->xMax, 0.05);  // figures align on their right end
  EXPECT_EQ(continued->page, 2);
}

TEST(PrintedOutput, RenderedPageHasInkWhereBoxesAndBarsAre) {
  auto memory = std::make_unique<MemoryDevice>();
  const PaperSize paper = memory->paperSize();
  lmcPrn3 printer;
  printer.Init(std::move(memory));
  printer.create();
  drawTestPage(printer);
  const double dpi = 100;
  const QImage image = renderPage(printer.currentPage(), paper, dpi);
  EXPECT_EQ(image.width(), 827);  // 210 mm at 100 dpi
  auto pixelAt = [&](double x, double y) {  // page coordinates, 0.1 mm
    const double scale = dpi / 254.0;
    return image.pixel(int((paper[2] + x) * scale), int((paper[1] - paper[3] - y) * scale));
  };
  const double h = paper[5] - paper[3];
  const double boxTop = h - 5 * 43 - 9, boxBottom = boxTop - 86, barTop = h - 8 * 43 - 7;
  EXPECT_EQ(pixelAt(400, boxTop - 40), qRgb(200, 200, 200));  // grey interior
  EXPECT_LT(qGray(pixelAt(400, boxTop)), 100);                // black border
  EXPECT_LT(qGray(pixelAt(400, boxBottom)), 100);
  EXPECT_LT(qGray(pixelAt(400, barTop - 10)), 40);  // near-black bar
  EXPECT_EQ(pixelAt(400, barTop - 40), qRgb(255, 255, 255));  // below the bar
  EXPECT_EQ(pixelAt(1200, boxTop - 40), qRgb(255, 255, 255));  // beyond the box
}

TEST(PrintedOutput, BarsAndRulesThinnerThanAPixelStillInkALowResolutionPage) {
  // The envelope corner marks of a card: bars 0.1 mm thick, a quarter of a pixel at 60 dpi.
  lmcPrn3 printer;
  printer.Init(std::make_unique<MemoryDevice>());
  printer.create();
  printer.setPt(26);
  printer.PrHbar(9, 10, 6);
  printer.PrVbar(9, 40, 1);
  printer.prHline(20, 10, 6);
  const PaperSize paper = laserA4(kPortrait);
  for (double dpi : {60.0, 96.0}) {
    const QImage image = renderPage(printer.currentPage(), paper, dpi);
    auto inkAround = [&](double x, double y) {  // page coordinates, 0.1 mm; 3 x 3 pixels
      const double scale = dpi / 254.0;
      const int px = int((paper[2] + x) * scale), py = int((paper[1] - paper[3] - y) * scale);
      int darkest = 255;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) darkest = std::min(darkest, qGray(image.pixel(px + dx, py + dy)));
      return darkest;
    };
    const double h = paper[5] - paper[3];
    EXPECT_LT(inkAround(9 * 26 + 50, h - 8 * 43 - 7), 128) << "horizontal bar at " << dpi << " dpi";
    EXPECT_LT(inkAround(39 * 26, h - 8 * 43 - 20), 128) << "vertical bar at " << dpi << " dpi";
    EXPECT_LT(inkAround(9 * 26 + 50, h - 20 * 43), 128) << "rule at " << dpi << " dpi";
  }
}

TEST(PrintedOutput, PatternsLookTheSameAtEveryResolution) {
  lmcPrn3 printer;
  printer.Init(std::make_unique<MemoryDevice>());
  printer.create();
  printer.PrBox(1, 1, 10, 20, "FILL", "DENSE2");
  printer.PrBox(1, 21, 10, 20, "FILL", "DENSE7");
  printer.PrBox(1, 41, 10, 20, "FILL", "DIAGHATCH");
  auto inkShare = [&](double dpi, int column) {
    const QImage image = renderPage(printer.currentPage(), laserA4(kPortrait), dpi);
    const double scale = dpi / 254.0, left = 42 + (column - 1) * 20.32 + 20;
    const double top = 42 + 9 + 20;
    long dark = 0, all = 0;
    for (int y = int(top * scale); y < int((top + 300) * scale); ++y)
      for (int x = int(left * scale); x < int((left + 300) * scale); ++x, ++all)
        dark += qGray(image.pixel(x, y)) < 128;
    return double(dark) / all;
  };
  for (int column : {1, 21, 41}) {
    const double coarse = inkShare(150, column), fine = inkShare(600, column);
    EXPECT_NEAR(coarse, fine, 0.12) << "column " << column;
  }
  EXPECT_GT(inkShare(300, 1), 0.7);  // DENSE1 is darkest, DENSE8 lightest
  EXPECT_LT(inkShare(300, 21), 0.35);
}

TEST(PrintedOutput, UnderscoredTextHasALineUnderIt) {
  auto inkUnderText = [](bool underscore) {
    lmcPrn3 printer;
    printer.Init(std::make_unique<MemoryDevice>());
    printer.create();
    printer.newFont(underscore ? "20.Arial Underscore" : "20.Arial");
    printer.PrPt(3, 1, "xxxxxxxx");  // no descenders
    const QImage image = renderPage(printer.currentPage(), laserA4(kPortrait), 300);
    const double scale = 300 / 254.0, baseline = 42 + 3 * 43;
    int dark = 0;
    for (double y = baseline + 2; y < baseline + 12; y += 1)
      for (double x = 42 + 10; x < 42 + 300; x += 5)
        dark += qGray(image.pixel(int(x * scale), int(y * scale))) < 128;
    return dark;
  };
  EXPECT_EQ(inkUnderText(false), 0);
  EXPECT_GT(inkUnderText(true), 20);
}

}  // namespace
}  // namespace velmont::print::testing
