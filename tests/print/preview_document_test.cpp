// A preview document without a window, as velmont-batch and the report bodies have it:
// it records, answers every window call with stop, and prints only where it was told.
#include <QFile>
#include <QTemporaryDir>

#include "print/memory_device.h"
#include "print/pdf_folder.h"
#include "print/preview_document.h"
#include "printer_fixture.h"

namespace velmont::print::testing {
namespace {

// Two pages, "one" and "two", recorded on a document whose device is `device`.
void recordTwoPages(PreviewDocument& document) {
  document.create();
  document.startDoc("Cards");
  document.PrPt(1, 1, "one");
  document.newPage();
  document.PrPt(1, 1, "two");
  document.endDoc();
}

TEST(PreviewDocumentWithoutWindow, AnswersStopAndPrintsWithoutAsking) {
  PreviewDocument document;
  auto memory = std::make_unique<MemoryDevice>();
  MemoryDevice* device = memory.get();
  document.Init(std::move(memory));
  recordTwoPages(document);
  ASSERT_EQ(document.pageCount(), 2);
  EXPECT_TRUE(device->documents().empty());  // recording prints nothing

  EXPECT_EQ(document.openPwin({.stepping = true}), 0);
  EXPECT_EQ(document.openPwin(), 0);
  document.destroyPwin();  // nothing to close

  document.printSeg("all");
  document.printSeg("range", 2, 2);
  document.printSeg("range", 2, 3);  // past the last page: no job
  ASSERT_EQ(device->documents().size(), 2u);
  ASSERT_EQ(device->documents()[0].pages.size(), 2u);
  ASSERT_EQ(device->documents()[1].pages.size(), 1u);
  EXPECT_EQ(itemsOf<TextItem>(device->documents()[1].pages[0]).at(0).text, "two");
  document.destroy();
}

// A device that writes files writes the one it was given, and without one nothing:
// no window is there to ask where, and no file lands in a folder of its own choosing.
TEST(PreviewDocumentWithoutWindow, WritesOnlyTheFileItWasGiven) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString given = dir.filePath("cards.pdf");
  {
    PreviewDocument document;
    document.Init(kPdfDeviceName, false);
    ASSERT_FALSE(document.lInitErr);
    document.setOutputFile(given);
    recordTwoPages(document);
    document.printSeg("curr");
    EXPECT_TRUE(QFile::exists(given));
    document.destroy();
  }
  QFile::remove(given);
  const QString offered = suggestedPdfFile("Cards");  // where a window would offer to save
  const bool offeredBefore = QFile::exists(offered);
  {
    PreviewDocument document;
    document.Init(kPdfDeviceName, false);
    recordTwoPages(document);
    document.printSeg("all");
    EXPECT_FALSE(QFile::exists(given));
    EXPECT_EQ(QFile::exists(offered), offeredBefore);
    document.destroy();
  }
}

}  // namespace
}  // namespace velmont::print::testing
