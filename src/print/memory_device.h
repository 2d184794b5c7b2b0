#pragma once
// A device that keeps every printed page, for rendering to images and for inspection.
#include <vector>

#include "print_device.h"

namespace velmont::print {

class MemoryDevice : public PrintDevice {
 public:
  explicit MemoryDevice(PaperSize portrait = laserA4(kPortrait)) : portrait_(portrait) {}

  PaperSize paperSize() const override;
  int orientation() const override { return orientation_; }
  void setOrientation(int orientation) override { orientation_ = orientation; }
  bool startDoc(const QString& name) override;
  bool printPage(const PageList& page) override;
  bool endDoc() override;
  QString destination() const override { return QStringLiteral("memory"); }
  void setJobSettings(const JobSettings& settings) override { job_ = settings; }

  struct Document {
    QString name;
    int orientation = kPortrait;
    std::vector<PageList> pages;
    bool ended = false;
    JobSettings job;  // the settings the job started with
  };
  const std::vector<Document>& documents() const { return documents_; }

 private:
  PaperSize portrait_;
  int orientation_ = kPortrait;
  std::vector<Document> documents_;
  JobSettings job_;
};

}  // namespace velmont::print
