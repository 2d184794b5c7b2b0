// The print job's settings that a run applies before create: kept, and the print
// file sending the document there.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "print/page_printer.h"

using namespace velmont::print;

TEST(PrinterJobSettingsTest, KeptForTheJobAndThePrintFileTakesTheDocument) {
  QTemporaryDir dir;
  lmcPrn3 printer;
  printer.Init(kPdfDeviceName, false);
  ASSERT_FALSE(printer.lInitErr);
  printer.setNumCopies(3);
  printer.setNumCopies(0);  // not a number of copies: ignored
  printer.setDuplexMode(2);
  printer.setOrientation(kLandscape);
  printer.setPrintFile(dir.filePath("job.pdf"));
  EXPECT_EQ(printer.jobSettings().copies, 3);
  EXPECT_EQ(printer.jobSettings().duplex, 2);
  printer.create();
  EXPECT_GT(printer.aSize[0], printer.aSize[1]) << "landscape paper after create";
  printer.startDoc("job");
  printer.PrPt(1, 1, "text");
  printer.endDoc();
  EXPECT_TRUE(QFile::exists(dir.filePath("job.pdf")));
}
