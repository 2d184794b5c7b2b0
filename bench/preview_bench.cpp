// The preview with a long run of report cards: memory held per recorded page, the time
// until the window shows its first page, and the time to draw a page again at zoom
// levels 0, 3 and 8 (a repaint after zooming, paging or toggling the outline).
// Usage: preview_bench [--pages N] [--shot file.png]      (default 1000 pages)
#include <QApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "bench_util.h"
#include "preview/preview_level.h"
#include "preview/preview_printer.h"
#include "preview/preview_window.h"

using namespace velmont::print;
using velmont::bench::figure;
using Clock = std::chrono::steady_clock;

namespace {

// One landscape card: letterhead picture, headings, twelve subjects of nine figures,
// shaded rows and boxes, bars and seventeen comment lines; about 160 texts in four fonts.
void drawCard(lmcPrn3& printer, int card, const QString& logo) {
  printer.PrImage(1, 1, logo, 3, 20);
  for (int b = 0; b < 12; ++b) printer.PrBox(7.0 + b, 1, 1, 130, b % 2 ? "OUTLINE" : "OUTLINEFILL", 230);
  for (int b = 0; b < 10; ++b) printer.PrBox(6, 1.0 + b * 13, 1, 13, "OUTLINEFILL", 230);
  for (int b = 0; b < 18; ++b) printer.PrBox(20.0 + (b % 6) * 3, 1.0 + (b / 6) * 45, 3, 44);
  for (int b = 0; b < 5; ++b) printer.PrHbar(5, 1.0 + b * 26, 26, 4);
  for (int b = 0; b < 5; ++b) printer.PrVbar(6, 1.0 + b * 26, 13, 4);
  printer.newFont("14.Times New Roman Bold");
  printer.PrPt(1, 30, "Velmont College of the Southern Districts");
  printer.PrPt(2, 30, "End of Term Report  Term 2  2004");
  printer.PrPt(4, 1, QString("Student number %1   Year 9   Class 9B").arg(card));
  printer.newFont("9.Arial Bold");
  const char* headings[] = {"Subject", "Possible", "Exam", "Average", "Assessment",
                            "Average", "Homework", "Effort", "Contrib", "Behaviour"};
  for (int c = 0; c < 10; ++c) printer.PrPt(6, 1.0 + c * 13, headings[c]);
  const char* subjects[] = {"English", "Mathematics", "Science", "History", "Geography",
                            "French", "Music", "Art", "Physical Education", "Drama",
                            "Technology", "Religious Education"};
  for (int s = 0; s < 12; ++s) {
    const double row = 7 + s;
    printer.newFont("10.Arial");
    printer.PrPt(row, 1, subjects[s]);
    printer.newFont("10.Courier New");
    for (int c = 1; c < 10; ++c)
      printer.PrPtNum(row, 1.0 + c * 13 + 5,
                      QString::number((s * 37 + c * 11 + card) % 100).rightJustified(3, ' '));
  }
  printer.newFont("10.Arial");
  for (int line = 0; line < 17; ++line)
    printer.PrPt(20.0 + line, 1,
                 QString("Comment line %1: works steadily and takes part in class discussion "
                         "with thought and care.").arg(line + 1));
}

double milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Signals the first paint of the page area after the window opens.
class FirstPaint : public QObject {
 public:
  std::atomic<bool> painted{false};
  Clock::time_point at;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // The page image is drawn before the page area paints; painting only shows it.
    if (event->type() == QEvent::Paint && !painted) {
      static_cast<QWidget*>(watched)->removeEventFilter(this);
      at = Clock::now();
      painted = true;
    }
    return false;
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QStringList args = app.arguments();
  const qsizetype at = args.indexOf("--pages");
  const int pages = at >= 0 && at + 1 < args.size() ? std::max(1, args[at + 1].toInt()) : 1000;
  const qsizetype shotAt = args.indexOf("--shot");
  const QString shot = shotAt >= 0 && shotAt + 1 < args.size() ? args[shotAt + 1] : QString();

  QTemporaryDir dir;
  QImage logo(300, 150, QImage::Format_RGB32);
  logo.fill(QColor(20, 60, 140));
  QPainter(&logo).fillRect(40, 30, 220, 90, Qt::white);
  logo.save(dir.filePath("logo.png"));

  auto preview = velmont::preview::lmNewPreview(kPdfDeviceName);
  preview->setOutputFile(dir.filePath("cards.pdf"));
  preview->setOrientation(kLandscape);
  preview->create();
  velmont::preview::setPreviewZoomLevel(3);

  // Record the run on a worker thread, as a report does, then open the final window.
  FirstPaint firstPaint;
  std::atomic<bool> recorded{false}, finished{false};
  Clock::time_point opened;
  std::thread run([&] {
    preview->startDoc();
    for (int card = 1; card <= pages; ++card) {
      if (card > 1) preview->newPage();
      drawCard(*preview, card, dir.filePath("logo.png"));
    }
    preview->endDoc();
    recorded = true;
    opened = Clock::now();
    preview->openPwin();
    finished = true;
  });

  // The page area exists once the window is built; watch for its first paint.
  if (!QTest::qWaitFor([&] { return recorded.load(); }, 600000)) return 1;
  auto pageArea = [&]() -> QWidget* {
    return preview->window() ? preview->window()->findChild<QWidget*>("pageArea") : nullptr;
  };
  if (!QTest::qWaitFor([&] {
        QWidget* page = pageArea();
        if (page && !firstPaint.painted && !page->property("watched").toBool()) {
          page->setProperty("watched", true);
          page->installEventFilter(&firstPaint);
          page->update();
        }
        return firstPaint.painted && preview->window()->waiting();
      }, 60000))
    return 1;
  velmont::preview::PreviewWindow& window = *preview->window();

  std::size_t bytes = 0;
  for (int segment : preview->aSegments) bytes += preview->segmentPage(segment)->bytes();
  figure("preview.bytes_per_page", double(bytes) / preview->pageCount(), "bytes");
  figure("preview.first_page.seconds",
         std::chrono::duration<double>(firstPaint.at - opened).count(), "seconds");

  if (!shot.isEmpty()) window.grab().save(shot);

  // Repaints while the window waits for the user, on the GUI thread.
  window.gotoPage(pages / 2 + 1);
  for (int level : {0, 3, 8}) {
    while (window.level() > level) window.zoom(-1);
    while (window.level() < level) window.zoom(1);
    std::vector<double> times;
    for (int i = 0; i < 15; ++i) {
      const auto start = Clock::now();
      window.drawseg();
      pageArea()->repaint();
      times.push_back(milliseconds(Clock::now() - start));
    }
    std::sort(times.begin(), times.end());
    figure("preview.repaint_level" + std::to_string(level) + ".ms", times[times.size() / 2], "ms");
  }

  window.postClose();
  if (!QTest::qWaitFor([&] { return finished.load(); }, 60000)) return 1;
  run.join();
  preview->destroy();
  return 0;
}
