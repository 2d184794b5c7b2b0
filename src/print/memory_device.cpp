#include "memory_device.h"

namespace velmont::print {

PaperSize MemoryDevice::paperSize() const {
  if (orientation_ != kLandscape) return portrait_;
  // Turned a quarter to the left: the portrait page's top edge becomes the left edge.
  const auto [w, h, left, bottom, right, top] = portrait_;
  return {h, w, h - top, left, h - bottom, right};
}

bool MemoryDevice::startDoc(const QString& name) {
  if (!documents_.empty() && !documents_.back().ended) return true;
  documents_.push_back(Document{name, orientation_, {}, false, job_});
  return true;
}

bool MemoryDevice::printPage(const PageList& page) {
  if (documents_.empty() || documents_.back().ended) return false;
  documents_.back().pages.push_back(page);
  return true;
}

bool MemoryDevice::endDoc() {
  if (documents_.empty() || documents_.back().ended) return false;
  documents_.back().ended = true;
  return true;
}

}  // namespace velmont::print
