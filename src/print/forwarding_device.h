#pragma once
// A device that hands everything on to another. Devices that change one part of
// printing (pictures kept beside the pages, only a list of pages) derive from it and
// override only that part, so that nothing else is left out on the way.
#include <memory>

#include "print_device.h"

namespace velmont::print {

class ForwardingDevice : public PrintDevice {
 public:
  explicit ForwardingDevice(std::unique_ptr<PrintDevice> inner) : inner_(std::move(inner)) {}

  PaperSize paperSize() const override { return inner_->paperSize(); }
  int orientation() const override { return inner_->orientation(); }
  void setOrientation(int orientation) override { inner_->setOrientation(orientation); }
  bool startDoc(const QString& name) override { return inner_->startDoc(name); }
  bool printPage(const PageList& page) override { return inner_->printPage(page); }
  bool endDoc() override { return inner_->endDoc(); }
  void abandonDoc() override { inner_->abandonDoc(); }
  QString destination() const override { return inner_->destination(); }
  QString failureReason() const override { return inner_->failureReason(); }
  void setOutputFile(const QString& path) override { inner_->setOutputFile(path); }
  QString outputFile() const override { return inner_->outputFile(); }
  bool writesFiles() const override { return inner_->writesFiles(); }
  int filesWritten() const override { return inner_->filesWritten(); }
  void setJobSettings(const JobSettings& settings) override { inner_->setJobSettings(settings); }
  void setArchival(const QString& author) override { inner_->setArchival(author); }
  void setStopCheck(std::function<bool()> stopAsked) override { inner_->setStopCheck(std::move(stopAsked)); }
  bool documentDropped() const override { return inner_->documentDropped(); }

 protected:
  std::unique_ptr<PrintDevice> inner_;
};

}  // namespace velmont::print
