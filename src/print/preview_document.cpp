#include "preview_document.h"

namespace velmont::print {

namespace {
const QString kPreviewFont = QStringLiteral("12.Courier New");
constexpr int kBlueColour = 1;
constexpr int kShortDash = 2;
}  // namespace

PreviewDocument::PreviewDocument() = default;

PreviewDocument::~PreviewDocument() = default;

PreviewDocument& PreviewDocument::Init(const QString& deviceName, bool showError, const QVariant& owner) {
  deviceName_ = deviceName;
  lmcPrn3::Init(deviceName, showError, owner);
  return *this;
}

PreviewDocument& PreviewDocument::create() {
  lmcPrn3::create();
  aPaperSize = aSize;
  aPageSize = {aPaperSize[4] - aPaperSize[2], aPaperSize[5] - aPaperSize[3]};
  cOrient = paperOrientation(aPaperSize);
  // A fresh recording surface of the printable size with the preview's font.
  oFont = PrintFont::fromDescriptor(kPreviewFont);
  oPs = std::make_unique<PageSurface>(aPageSize[0], aPageSize[1]);
  oPs->setFont(oFont);

  aAreaAttr = {};
  aAreaAttr[0] = kBackground;
  aLineAttr = {};
  aLineAttr[0] = kBlueColour;
  aLineAttr[3] = kShortDash;
  aSegments.clear();
  pages_.clear();
  open_ = 0;
  nSeg = 0;
  return *this;
}

PreviewDocument& PreviewDocument::destroy() {
  destroyPwin();
  aSegments.clear();
  pages_.clear();
  open_ = nSeg = 0;
  aPaperSize = {};
  aPageSize = {};
  aAreaAttr = {};
  aLineAttr = {};
  cOrient.clear();
  lmcPrn3::destroy();
  return *this;
}

int PreviewDocument::openPwin(const PwinOptions& options) {
  lPrnPrompt = options.printPrompt.value_or(true);
  return 0;
}

// ---- recording ------------------------------------------------------------------------

void PreviewDocument::openSegment() {
  pages_.push_back(nullptr);
  open_ = int(pages_.size());
  aSegments.push_back(open_);
  nSeg = open_;
}

void PreviewDocument::closeSegment() {
  if (!open_ || !oPs) return;
  PageList page = oPs->takePage();
  page.shrinkToFit();
  pages_[open_ - 1] = std::make_shared<const PageList>(std::move(page));
  open_ = 0;
}

void PreviewDocument::publishOpenPage() {
  if (open_ && oPs) pages_[open_ - 1] = std::make_shared<const PageList>(oPs->page());
}

void PreviewDocument::startdoc() {
  closeSegment();  // a second startdoc ends the page it finds open
  openSegment();
  lDoc = true;
}

void PreviewDocument::newpage() {
  closeSegment();
  openSegment();
  pageAdded();
  ++nPage;
  setQprc(0, 0);
}

void PreviewDocument::enddoc() {
  closeSegment();
  lDoc = false;
}

bool PreviewDocument::startDoc(const QString& name) {
  if (!name.trimmed().isEmpty()) docName_ = name.trimmed();
  startdoc();
  return true;
}

void PreviewDocument::newPage() { newpage(); }

bool PreviewDocument::endDoc() {
  enddoc();
  return true;
}

void PreviewDocument::orient(const QString&) {}

const PageList* PreviewDocument::segmentPage(int segment) const {
  if (segment < 1 || segment > int(pages_.size())) return nullptr;
  return pages_[segment - 1].get();
}

int PreviewDocument::positionOf(int segment) const {
  for (std::size_t i = 0; i < aSegments.size(); ++i)
    if (aSegments[i] == segment) return int(i) + 1;
  return 0;
}

}  // namespace velmont::print
