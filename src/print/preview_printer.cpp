#include "preview_printer.h"

#include <QLabel>
#include <QPointer>

#include "print/gui_thread.h"
#include "preview_level.h"

namespace velmont::print {

namespace {
const QString kPreviewFont = QStringLiteral("12.Courier New");
constexpr int kBlueColour = 1;
constexpr int kShortDash = 2;
}  // namespace

lmcPrv3::lmcPrv3() = default;

lmcPrv3::~lmcPrv3() { destroyPwin(); }

lmcPrv3& lmcPrv3::Init(const QString& deviceName, bool showError, const QVariant& owner) {
  deviceName_ = deviceName;
  lmcPrn3::Init(deviceName, showError, owner);
  return *this;
}

lmcPrv3& lmcPrv3::create() {
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
  cPrintWhat.clear();
  lShowMargin = lIsOpen = false;
  nSeg = nLevel = nRetval = nCurPage = nRefLine = nRefCol = nOldRefL = nOldRefC = 0;
  aLocals = {};
  geometry_ = initialGeometry(aPaperSize);
  return *this;
}

lmcPrv3& lmcPrv3::destroy() {
  destroyPwin();
  aSegments.clear();
  pages_.clear();
  open_ = nSeg = nCurPage = nRetval = nLevel = 0;
  nRefLine = nRefCol = nOldRefL = nOldRefC = 0;
  aPaperSize = {};
  aPageSize = {};
  aAreaAttr = {};
  aLineAttr = {};
  cOrient.clear();
  cPrintWhat.clear();
  lShowMargin = lIsOpen = false;
  pageImage_ = QImage();
  lmcPrn3::destroy();
  return *this;
}

// ---- recording ------------------------------------------------------------------------

void lmcPrv3::openSegment() {
  pages_.push_back(nullptr);
  open_ = int(pages_.size());
  aSegments.push_back(open_);
  nSeg = open_;
}

void lmcPrv3::closeSegment() {
  if (!open_ || !oPs) return;
  PageList page = oPs->takePage();
  page.shrinkToFit();
  pages_[open_ - 1] = std::make_shared<const PageList>(std::move(page));
  open_ = 0;
}

void lmcPrv3::startdoc() {
  closeSegment();  // a second startdoc ends the page it finds open
  openSegment();
  lDoc = true;
}

void lmcPrv3::newpage() {
  closeSegment();
  openSegment();
  if (oPageSay) {
    // The report draws on its own thread: the window's label changes on the GUI thread.
    const QString text = QString::number(nCurPage) + "/" + QString::number(aSegments.size());
    QLabel* label = oPageSay;
    gui::later(label, [label, text] { label->setText(text); });
  }
  ++nPage;
  setQprc(0, 0);
}

void lmcPrv3::enddoc() {
  closeSegment();
  lDoc = false;
}

bool lmcPrv3::startDoc(const QString& name) {
  if (!name.trimmed().isEmpty()) docName_ = name.trimmed();
  startdoc();
  return true;
}

void lmcPrv3::newPage() { newpage(); }

bool lmcPrv3::endDoc() {
  enddoc();
  return true;
}

void lmcPrv3::orient(const QString&) {}

const PageList* lmcPrv3::segmentPage(int segment) const {
  if (segment < 1 || segment > int(pages_.size())) return nullptr;
  return pages_[segment - 1].get();
}

int lmcPrv3::positionOf(int segment) const {
  for (std::size_t i = 0; i < aSegments.size(); ++i)
    if (aSegments[i] == segment) return int(i) + 1;
  return 0;
}

std::unique_ptr<lmcPrv3> lmNewPreview(const QString& deviceName) {
  auto preview = std::make_unique<lmcPrv3>();
  preview->Init(deviceName);
  return preview;
}

}  // namespace velmont::print
