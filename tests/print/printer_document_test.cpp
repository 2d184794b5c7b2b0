// Devices by name, the document and page cycle, and turning the paper.
#include <QFileInfo>
#include <QTemporaryDir>

#include "print/message_hook.h"
#include "printer_fixture.h"

namespace velmont::print::testing {
namespace {

class RecordedMessages {
 public:
  RecordedMessages() {
    previous_ = setMessageHook([this](const MessageRequest& request) { shown.push_back(request); });
  }
  ~RecordedMessages() { setMessageHook(previous_); }
  std::vector<MessageRequest> shown;

 private:
  MessageHook previous_;
};

TEST(PrinterByName, UnknownDeviceSetsInitErrAndAsksForTheAdministrator) {
  RecordedMessages messages;
  auto printer = lmNewPrinter("No Such Printer 5");
  EXPECT_TRUE(printer->lInitErr);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].lines,
            QStringList({"Printer Not Initialized", "Notify System Administrator"}));
  lmcPrn3 quiet;
  quiet.Init("", false);
  EXPECT_TRUE(quiet.lInitErr);
  EXPECT_EQ(messages.shown.size(), 1u);
  quiet.destroy();  // still safe
}

TEST(PrinterByName, DeviceNamesMapToSpoolerQueueNames) {
  EXPECT_EQ(queueNameFor("HP LaserJet 4/5 #2"), "HP_LaserJet_4_5__2");
  EXPECT_EQ(queueNameFor("Office"), "Office");
}

TEST(PrinterByName, PdfDeviceIsAlwaysThereWithALaserPrintersArea) {
  EXPECT_TRUE(printDeviceNames().contains("PDF"));
  auto printer = lmNewPrinter("PDF");
  ASSERT_FALSE(printer->lInitErr);
  printer->create();
  EXPECT_EQ(printer->aSize, (PaperSize{2100, 2970, 42, 42, 2058, 2928}));
  EXPECT_EQ(printer->nPage, 1);
  EXPECT_EQ(printer->oFont.descriptor(), "12.Courier New");
}

TEST(PrinterByName, RestartedPdfDocumentGoesToAFileOfItsOwn) {
  QTemporaryDir dir;
  auto printer = lmNewPrinter("PDF");
  printer->setOutputFile(dir.filePath("cards.pdf"));
  printer->create();
  ASSERT_TRUE(printer->startDoc("Cards"));
  printer->PrPt(1, 1, "portrait page");
  printer->orient("land");
  printer->PrPt(1, 1, "landscape page");
  EXPECT_TRUE(printer->endDoc());
  EXPECT_GT(QFileInfo(dir.filePath("cards.pdf")).size(), 500);
  EXPECT_GT(QFileInfo(dir.filePath("cards-2.pdf")).size(), 500);
  EXPECT_EQ(printer->destination(), dir.filePath("cards-2.pdf"));
}

using DocumentCycle = PrinterTest;

TEST_F(DocumentCycle, PagesGoOutWhenTurnedAndTheLastOnlyWhenDrawnOn) {
  printer.PrPt(1, 1, "before the document");  // no document: never printed
  printer.newPage();
  EXPECT_EQ(printer.nPage, 2);
  printer.startDoc("Cards");
  printer.PrPt(1, 1, "one");
  printer.newPage();
  printer.newPage();  // a blank page between pages is kept
  printer.PrPt(1, 1, "three");
  printer.newPage();
  EXPECT_EQ(printer.nPage, 5);
  printer.endDoc();
  ASSERT_EQ(device->documents().size(), 1u);
  const auto& pages = device->documents()[0].pages;
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(itemsOf<TextItem>(pages[0])[0].text, "one");
  EXPECT_TRUE(pages[1].empty());
  EXPECT_EQ(itemsOf<TextItem>(pages[2])[0].text, "three");
  EXPECT_FALSE(printer.lDoc);

  printer.startDoc("Empty");
  printer.endDoc();
  EXPECT_EQ(device->documents()[1].pages.size(), 1u);  // an empty document is one page
}

TEST_F(DocumentCycle, TurningAnOpenDocumentEndsItAndStartsAnother) {
  printer.startDoc("Cards");
  printer.newFont("10.Arial Bold");
  printer.setQprc(4, 3);
  printer.PrPt(1, 1, "portrait");
  printer.orient("land");
  EXPECT_TRUE(printer.lDoc);
  ASSERT_EQ(device->documents().size(), 2u);
  EXPECT_TRUE(device->documents()[0].ended);
  EXPECT_EQ(device->documents()[0].pages.size(), 1u);
  EXPECT_FALSE(device->documents()[1].ended);
  EXPECT_EQ(device->documents()[1].orientation, kLandscape);
  EXPECT_EQ(printer.aSize, (PaperSize{2970, 2100, 42, 42, 2928, 2058}));
  EXPECT_DOUBLE_EQ(printer.nPgWd, 2886);
  EXPECT_DOUBLE_EQ(printer.nPgHt, 2016);
  EXPECT_DOUBLE_EQ(printer.qRow, 0);
  EXPECT_DOUBLE_EQ(printer.nPtPos, 0);
  EXPECT_TRUE(printer.currentPage().empty());
  EXPECT_EQ(printer.oFont.descriptor(), "10.Arial Bold");

  printer.orient("LAND");  // already landscape: nothing happens
  printer.orient("sideways");
  EXPECT_EQ(device->documents().size(), 2u);
  printer.orient("Port");
  EXPECT_EQ(device->documents().size(), 3u);
  EXPECT_EQ(printer.aSize[1], 2970);
}

TEST_F(DocumentCycle, OrientationSetBeforeCreateShapesThePage) {
  printer.setOrientation(kLandscape);
  printer.setOrientation(7);  // not an orientation: ignored
  printer.create();
  EXPECT_EQ(printer.orientation(), kLandscape);
  EXPECT_DOUBLE_EQ(printer.nPgWd, 2886);
  printer.orient("land");
  EXPECT_DOUBLE_EQ(printer.nPgWd, 2886);
}

TEST_F(DocumentCycle, TurningWithoutADocumentStartsNone) {
  printer.orient("LAND");
  EXPECT_TRUE(device->documents().empty());
  EXPECT_FALSE(printer.lDoc);
  EXPECT_DOUBLE_EQ(printer.nPgHt, 2016);
}

}  // namespace
}  // namespace velmont::print::testing
