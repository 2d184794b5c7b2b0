#pragma once
// The devices that replay pages onto a QPainter: the PDF file writer and system printers.
#include <QPainter>
#include <memory>

#include "print_device.h"

class QDateTime;
class QPageSize;
class QPagedPaintDevice;
class QPdfWriter;
class QPrinter;
class QSaveFile;

namespace velmont::print {

// Common page cycle: begin on the first page, a new device page for each further one.
class PainterDevice : public PrintDevice {
 public:
  bool printPage(const PageList& page) override;

 protected:
  bool beginPainting(QPagedPaintDevice* device);
  bool endPainting();
  bool painting() const { return painter_.isActive(); }

 private:
  QPagedPaintDevice* device_ = nullptr;
  QPainter painter_;
  int pagesPrinted_ = 0;
};

class PdfFileDevice : public PainterDevice {
 public:
  PdfFileDevice();
  ~PdfFileDevice() override;
  PaperSize paperSize() const override { return laserA4(orientation_); }
  int orientation() const override { return orientation_; }
  void setOrientation(int orientation) override;
  bool startDoc(const QString& name) override;
  bool endDoc() override;
  void abandonDoc() override;
  QString destination() const override { return currentFile_; }
  void setOutputFile(const QString& path) override;
  QString outputFile() const override { return outputFile_; }
  bool writesFiles() const override { return true; }
  void setArchival(const QString& author) override;

 private:
  bool beginDocument(const QString& file, const QString& name, const QDateTime& now);

  int orientation_ = kPortrait;
  bool archival_ = false;
  QString author_;
  QString outputFile_;
  QString currentFile_;
  int documents_ = 0;
  // The document is written under a temporary name beside the file and
  // renamed into place when it ends well.
  std::unique_ptr<QSaveFile> file_;
  std::unique_ptr<QPdfWriter> writer_;
};

class SystemPrinterDevice : public PainterDevice {
 public:
  explicit SystemPrinterDevice(const QString& name);
  ~SystemPrinterDevice() override;
  PaperSize paperSize() const override;
  int orientation() const override;
  void setOrientation(int orientation) override;
  bool startDoc(const QString& name) override;
  bool endDoc() override;
  void abandonDoc() override;
  QString destination() const override;
  QString failureReason() const override { return failure_; }
  void setJobSettings(const JobSettings& settings) override;

 private:
  // A job goes to the spooler, not into a print file the settings named.
  bool spooled() const;

  std::unique_ptr<QPrinter> printer_;
  QString failure_;
};

// The value of one of the spooler's own job options ("InputSlot", "Resolution")
// that a printer carries, as its print dialog set it; "" when it carries none.
QString spoolerOption(const QPrinter& printer, const QString& name);

// A paper size as a job setting: a standard size by its key ("Letter", whatever
// name the printer gives it), any other by its dimensions ("100.0x150.0mm").
QString paperSizeSetting(const QPageSize& size);

}  // namespace velmont::print
