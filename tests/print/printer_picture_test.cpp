// Pictures: an EMF drawn into its box (through SVG on Linux, the system's player on Windows), and a page printed from a worker thread.
#include <QDataStream>
#include <QTemporaryDir>
#include <thread>

#include "print/page_image.h"
#include "printer_fixture.h"
#include "host_tool.h"

namespace velmont::print::testing {
namespace {

// A metafile of one filled rectangle: header, brush, rectangle, end.
QByteArray smallEmf() {
  QByteArray bytes;
  QDataStream out(&bytes, QIODevice::WriteOnly);
  out.setByteOrder(QDataStream::LittleEndian);
  const quint32 total = 88 + 24 + 12 + 24 + 20;
  out << quint32(1) << quint32(88);                                       // EMR_HEADER
  out << qint32(0) << qint32(0) << qint32(99) << qint32(49);              // bounds, pixels
  out << qint32(0) << qint32(0) << qint32(2000) << qint32(1000);          // frame, 0.01 mm
  out << quint32(0x464D4520) << quint32(0x10000) << total << quint32(5);  // " EMF", version
  out << quint16(2) << quint16(0) << quint32(0) << quint32(0) << quint32(0);
  out << qint32(1000) << qint32(1000) << qint32(200) << qint32(200);  // device, millimetres
  out << quint32(39) << quint32(24) << quint32(1) << quint32(0)       // EMR_CREATEBRUSHINDIRECT
      << quint32(0x000000ff) << quint32(0);                           // solid red
  out << quint32(37) << quint32(12) << quint32(1);                    // EMR_SELECTOBJECT
  out << quint32(43) << quint32(24) << qint32(0) << qint32(0) << qint32(99) << qint32(49);
  out << quint32(14) << quint32(20) << quint32(0) << quint32(16) << quint32(20);  // EMR_EOF
  return bytes;
}

TEST(Pictures, MetafileIsDrawnIntoItsBox) {
#ifdef VELMONT_NO_EMF2SVG
  GTEST_SKIP() << "built without libemf2svg";
#endif
  QTemporaryDir dir;
  QFile file(dir.filePath("crest.Emf"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(smallEmf());
  file.close();
  lmcPrn3 printer;
  printer.Init(std::make_unique<MemoryDevice>());
  printer.create();
  printer.PrImage(3, 11, file.fileName(), 5, 20);
  const auto pictures = itemsOf<ImageItem>(printer.currentPage());
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_TRUE(!pictures[0].picture->vector.isEmpty() || !pictures[0].picture->bitmap.isNull());
  const QImage image = renderPage(printer.currentPage(), laserA4(kPortrait), 100);
  const double scale = 100 / 254.0;
  const auto& box = pictures[0].area;
  const QRgb middle = image.pixel(int((42 + (box.left + box.right) / 2) * scale),
                                  int((2970 - 42 - (box.top + box.bottom) / 2) * scale));
  EXPECT_GT(qRed(middle), 200);
  EXPECT_LT(qGreen(middle), 60);
  const QRgb outside = image.pixel(int((42 + box.right + 50) * scale),
                                   int((2970 - 42 - box.top + 20) * scale));
  EXPECT_EQ(outside, qRgb(255, 255, 255));
}

TEST(Pictures, DamagedMetafileDrawsNothing) {
  QTemporaryDir dir;
  QFile file(dir.filePath("broken.emf"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(smallEmf().left(40));
  file.close();
  lmcPrn3 printer;
  printer.Init(std::make_unique<MemoryDevice>());
  printer.create();
  printer.PrImage(1, 1, file.fileName(), 2, 2);
  EXPECT_TRUE(printer.currentPage().empty());
}

TEST(WorkerThread, APdfIsPrintedFromAReportThread) {
  QTemporaryDir dir;
  const QString pdf = dir.filePath("thread.pdf");
  bool ended = false;
  std::thread run([&] {
    auto printer = lmNewPrinter("PDF");
    printer->setOutputFile(pdf);
    printer->create();
    printer->startDoc("Thread");
    printer->newFont("11.Arial");
    printer->PrPt(2, 2, "Drawn on a worker");
    printer->PrBox(1, 1, 3, 30);
    ended = printer->endDoc();
  });
  run.join();
  EXPECT_TRUE(ended);
  const auto text = velmont::testing::runHostTool("pdftotext", {pdf, "-"}, 30000);
  ASSERT_TRUE(text.ended);
  EXPECT_TRUE(text.out.contains("Drawn on a worker"));
}

}  // namespace
}  // namespace velmont::print::testing
