// The print job's settings from the printer dialog: they reach the device when the
// document starts (the spooler test reads them back from a real print system), the
// report may keep its own orientation, and the print file takes the document.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "print/memory_device.h"
#include "print/page_printer.h"

using namespace velmont::print;

TEST(PrinterJobSettingsTest, TheDialogsSettingsReachTheDeviceWhenTheJobStarts) {
  auto owned = std::make_unique<MemoryDevice>();
  MemoryDevice* device = owned.get();
  lmcPrn3 printer;
  printer.Init(std::move(owned));
  // copies, orientation, bin, resolution, collation, colour, duplex, font, form, file
  applyPrinterSettings(printer, {"3", "2", "", "600", "1", "0", "2", "", "A5", ""});
  printer.setNumCopies(0);  // not a number of copies: ignored
  printer.setDuplexMode(9);  // no such duplex mode: ignored
  printer.create();
  EXPECT_EQ(printer.orientation(), kLandscape);
  printer.startDoc("job");
  printer.PrPt(1, 1, "text");
  printer.endDoc();
  ASSERT_EQ(device->documents().size(), 1u);
  const JobSettings& job = device->documents()[0].job;
  EXPECT_EQ(job.copies, 3);
  EXPECT_EQ(job.resolution, 600);
  EXPECT_EQ(job.collation, 1);
  EXPECT_EQ(job.colour, 0);
  EXPECT_EQ(job.duplex, 2);
  EXPECT_EQ(job.formSize, "A5");
  EXPECT_FALSE(job.paperBin.has_value()) << "a setting not given leaves the printer's own";
}

TEST(PrinterJobSettingsTest, AReportThatKeepsItsOrientationSkipsThatSettingOnly) {
  lmcPrn3 printer;
  printer.Init(std::make_unique<MemoryDevice>());
  printer.setOrientation(kLandscape);
  applyPrinterSettings(printer, {"2", "1"}, false);
  EXPECT_EQ(printer.orientation(), kLandscape);
  EXPECT_EQ(printer.jobSettings().copies, 2);
}

TEST(PrinterJobSettingsTest, ThePrintFileTakesTheDocument) {
  QTemporaryDir dir;
  lmcPrn3 printer;
  printer.Init(kPdfDeviceName, false);
  ASSERT_FALSE(printer.lInitErr);
  printer.setPrintFile(dir.filePath("job.pdf"));
  printer.create();
  printer.startDoc("job");
  printer.PrPt(1, 1, "text");
  printer.endDoc();
  EXPECT_TRUE(QFile::exists(dir.filePath("job.pdf")));
}
