// Drawing the page on display into the page image: paper, margin outline, page, markers.
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <cmath>

#include "print/colour.h"
#include "preview_printer.h"
#include "preview_window.h"

namespace velmont::print {

namespace {

constexpr double kMarkerRowHeight = 43;  // the standard row height
constexpr int kPinkColour = 3;
constexpr int kSolidLine = 0;
constexpr int kXorMix = 7;
constexpr int kOverpaintMix = 13;
constexpr int kShortDashLine = 2;
constexpr int kBlueColour = 1;

Qt::PenStyle penStyleFor(std::optional<int> lineType) {
  switch (lineType.value_or(kSolidLine)) {
    case 1: return Qt::DotLine;
    case kShortDashLine: return Qt::DashLine;
    case 3: return Qt::DashDotLine;
    case 4: return Qt::DashDotDotLine;
    default: return Qt::SolidLine;
  }
}

}  // namespace

// Page units (0.1 mm, y downwards from the printable area's top, as replay draws them)
// to pixels of the page image, through the viewport.
static QTransform pageToImage(const std::array<double, 4>& vp, const std::array<double, 2>& pageSize,
                              int imageHeight) {
  const double sx = pageSize[0] > 0 ? (vp[2] - vp[0]) / pageSize[0] : 0;
  const double sy = pageSize[1] > 0 ? (vp[3] - vp[1]) / pageSize[1] : 0;
  QTransform transform;
  transform.translate(vp[0], imageHeight - vp[3]);
  transform.scale(sx, sy);
  return transform;
}

void lmcPrv3::drawseg() {
  const QSize size = geometry_.page.size();
  if (size.isEmpty()) return;
  if (pageImage_.size() != size) pageImage_ = QImage(size, QImage::Format_RGB32);
  calcVP(viewport_[0], viewport_[1], viewport_[2], viewport_[3]);
  pageImage_.fill(QColor::fromRgba(toRgb(aAreaAttr[0].value_or(kBackground))));
  {
    QPainter painter(&pageImage_);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    painter.setTransform(pageToImage(viewport_, aPageSize, size.height()));
    if (lShowMargin) {
      aLineAttr[0] = kBlueColour;
      QPen pen(QColor::fromRgba(toRgb(aLineAttr[0].value_or(kBlueColour))), 0,
               penStyleFor(aLineAttr[3]));
      painter.setPen(pen);
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(QRectF(0, 0, aPageSize[0], aPageSize[1]));
    }
    if (const PageList* page = segmentPage(nSeg)) replay(*page, painter, 1.0);
  }
  nCurPage = positionOf(nSeg);
  showPageCount();
  // The fresh image carries no marker yet.
  nOldRefL = nOldRefC = 0;
  if (nRefLine > 0) drawRefLine();
  if (nRefCol > 0) drawRefCol();
}

void lmcPrv3::showPageCount() {
  if (oPageSay)
    oPageSay->setText(QString::number(nCurPage) + "/" + QString::number(aSegments.size()));
}

// One marker line, drawn with exclusive-or so that a second drawing removes it: pink on
// white paper. Rows are counted down from the top margin at 4.3 mm, columns across from
// the left margin at the marker's pitch.
void lmcPrv3::drawMarker(bool row, int marker) {
  if (pageImage_.isNull() || marker == 0) return;
  const QTransform transform = pageToImage(viewport_, aPageSize, pageImage_.height());
  QRect line;
  if (row) {
    const double y = nTopMar + marker * kMarkerRowHeight;  // from the top of the page
    const QPointF from = transform.map(QPointF(0, y)), to = transform.map(QPointF(aPageSize[0], y));
    line = QRect(int(std::lround(from.x())), int(std::lround(from.y())),
                 int(std::lround(to.x() - from.x())), 1);
  } else {
    const double x = (marker - 1) * nColWid + nLeftMar;
    const QPointF from = transform.map(QPointF(x, 0)), to = transform.map(QPointF(x, aPageSize[1]));
    line = QRect(int(std::lround(from.x())), int(std::lround(from.y())), 1,
                 int(std::lround(to.y() - from.y())));
  }
  const QRgb paper = toRgb(aAreaAttr[0].value_or(kBackground));
  const QRgb ink = (toRgb(kPinkColour) ^ paper) | 0xff000000;
  QPainter painter(&pageImage_);
  painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  painter.fillRect(line, QColor::fromRgba(ink));
}

std::pair<int, int> lmcPrv3::markerRanges() const {
  // Rows of 4.3 mm below the top margin, and columns at the marker's pitch; a division
  // by zero gives 0.
  const int rows = int(std::lround((aPageSize[1] - nTopMar) / kMarkerRowHeight));
  const int columns = nColWid != 0 ? int(std::lround((aPageSize[0] - nLeftMar) / nColWid)) : 0;
  return {std::max(0, rows), std::max(0, columns)};
}

void lmcPrv3::drawRefLine() {
  aAreaAttr[0] = aAreaAttr[0].value_or(kBackground);
  aLineAttr[0] = kPinkColour;
  aLineAttr[1] = kXorMix;
  aLineAttr[3] = kSolidLine;
  if (nOldRefL != 0 && nOldRefL != nRefLine) drawMarker(true, nOldRefL);
  if (nRefLine != 0) drawMarker(true, nRefLine);
  nOldRefL = nRefLine;
  aLineAttr[0] = kBlueColour;
  aLineAttr[3] = kShortDashLine;
  aLineAttr[1] = kOverpaintMix;
  if (oPage) oPage->update();
  if (bFocus) bFocus();
}

void lmcPrv3::drawRefCol() {
  aAreaAttr[0] = aAreaAttr[0].value_or(kBackground);
  aLineAttr[0] = kPinkColour;
  aLineAttr[1] = kXorMix;
  aLineAttr[3] = kSolidLine;
  if (nOldRefC != 0 && nOldRefC != nRefCol) drawMarker(false, nOldRefC);
  if (nRefCol != 0) drawMarker(false, nRefCol);
  nOldRefC = nRefCol;
  aLineAttr[0] = kBlueColour;
  aLineAttr[3] = kShortDashLine;
  aLineAttr[1] = kOverpaintMix;
  if (oPage) oPage->update();
  if (bFocus) bFocus();
}

// The outline is taken off by drawing the page again rather than by drawing the outline
// in the paper's colour, which would also wipe out whatever ink lies under it.
void lmcPrv3::togmar() {
  lShowMargin = !lShowMargin;
  if (oMargBtn) setButtonLabel(oMargBtn, lShowMargin ? "Hide ~Margin" : "Show ~Margin");
  aLineAttr[0] = lShowMargin ? kBlueColour : kBackground;
  drawseg();
  if (oPage) oPage->update();
}

}  // namespace velmont::print
