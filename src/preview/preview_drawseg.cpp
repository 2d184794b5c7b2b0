// Drawing the page on display into the page image: paper, margin outline, page, markers.
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <cmath>

#include <QSpinBox>

#include "preview_window.h"
#include "print/colour.h"
#include "print/preview_document.h"

namespace velmont::preview {

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

void PreviewWindow::drawseg() {
  const QSize size = geometry_.page.size();
  if (size.isEmpty()) return;
  // Drawn at the screen's pixel density, so that a scaled screen (125 %) shows a sharp page.
  const qreal ratio = page_ ? page_->devicePixelRatioF() : devicePixelRatioF();
  const QSize pixels(int(std::ceil(size.width() * ratio)), int(std::ceil(size.height() * ratio)));
  if (pageImage_.size() != pixels || pageImage_.devicePixelRatio() != ratio) {
    pageImage_ = QImage(pixels, QImage::Format_RGB32);
    pageImage_.setDevicePixelRatio(ratio);
  }
  calcVP(viewport_[0], viewport_[1], viewport_[2], viewport_[3]);
  print::PreviewDocument& d = document_;
  pageImage_.fill(QColor::fromRgba(print::toRgb(d.aAreaAttr[0].value_or(print::kBackground))));
  {
    QPainter painter(&pageImage_);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    painter.setTransform(pageToImage(viewport_, d.aPageSize, size.height()));
    if (showMargin_) {
      d.aLineAttr[0] = kBlueColour;
      QPen pen(QColor::fromRgba(print::toRgb(d.aLineAttr[0].value_or(kBlueColour))), 0, penStyleFor(d.aLineAttr[3]));
      painter.setPen(pen);
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(QRectF(0, 0, d.aPageSize[0], d.aPageSize[1]));
    }
    if (const print::PageList* page = d.segmentPage(d.nSeg)) print::replay(*page, painter, 1.0);
  }
  currentPage_ = d.positionOf(d.nSeg);
  showPageCount(d.pageCount());
  // The fresh image carries no marker yet.
  drawnRefRow_ = drawnRefColumn_ = 0;
  if (refRow_ > 0) drawRefLine();
  if (refColumn_ > 0) drawRefCol();
}

// One marker line, drawn with exclusive-or so that a second drawing removes it: pink on
// white paper. Rows are counted down from the top margin at 4.3 mm, columns across from
// the left margin at the marker's pitch.
void PreviewWindow::drawMarker(bool row, int marker) {
  if (pageImage_.isNull() || marker == 0) return;
  const print::PreviewDocument& d = document_;
  const QTransform transform = pageToImage(viewport_, d.aPageSize, geometry_.page.height());
  QRect line;
  if (row) {
    const double y = d.nTopMar + marker * kMarkerRowHeight;  // from the top of the page
    const QPointF from = transform.map(QPointF(0, y)), to = transform.map(QPointF(d.aPageSize[0], y));
    line = QRect(int(std::lround(from.x())), int(std::lround(from.y())),
                 int(std::lround(to.x() - from.x())), 1);
  } else {
    const double x = (marker - 1) * columnPitch_ + d.nLeftMar;
    const QPointF from = transform.map(QPointF(x, 0)), to = transform.map(QPointF(x, d.aPageSize[1]));
    line = QRect(int(std::lround(from.x())), int(std::lround(from.y())), 1,
                 int(std::lround(to.y() - from.y())));
  }
  const QRgb paper = print::toRgb(d.aAreaAttr[0].value_or(print::kBackground));
  const QRgb ink = (print::toRgb(kPinkColour) ^ paper) | 0xff000000;
  QPainter painter(&pageImage_);
  painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  painter.fillRect(line, QColor::fromRgba(ink));
}

std::pair<int, int> PreviewWindow::markerRanges() const {
  // Rows of 4.3 mm below the top margin, and columns at the marker's pitch; a division
  // by zero gives 0.
  const print::PreviewDocument& d = document_;
  const int rows = int(std::lround((d.aPageSize[1] - d.nTopMar) / kMarkerRowHeight));
  const int columns = columnPitch_ != 0 ? int(std::lround((d.aPageSize[0] - d.nLeftMar) / columnPitch_)) : 0;
  return {std::max(0, rows), std::max(0, columns)};
}

// A marker drawn again comes off (exclusive-or) before the new one goes on; the line
// attributes are the marker's while it draws and the page's again afterwards.
void PreviewWindow::drawRefLine() { redrawMarker(true, refRow_, drawnRefRow_); }

void PreviewWindow::drawRefCol() { redrawMarker(false, refColumn_, drawnRefColumn_); }

void PreviewWindow::redrawMarker(bool row, int wanted, int& drawn) {
  print::PreviewDocument& d = document_;
  d.aAreaAttr[0] = d.aAreaAttr[0].value_or(print::kBackground);
  d.aLineAttr[0] = kPinkColour;
  d.aLineAttr[1] = kXorMix;
  d.aLineAttr[3] = kSolidLine;
  if (drawn != 0 && drawn != wanted) drawMarker(row, drawn);
  if (wanted != 0) drawMarker(row, wanted);
  drawn = wanted;
  d.aLineAttr[0] = kBlueColour;
  d.aLineAttr[3] = kShortDashLine;
  d.aLineAttr[1] = kOverpaintMix;
  page_->update();
  focusKeys();
}

void PreviewWindow::rowMarkerSet() {
  refRow_ = rowSpin_->value();
  drawRefLine();
}

void PreviewWindow::columnMarkerSet() {
  refColumn_ = columnSpin_->value();
  drawRefCol();
}

// The outline is taken off by drawing the page again rather than by drawing the outline
// in the paper's colour, which would also wipe out whatever ink lies under it.
void PreviewWindow::togmar() {
  showMargin_ = !showMargin_;
  setButtonLabel(marginButton_, showMargin_ ? "Hide ~Margin" : "Show ~Margin");
  document_.aLineAttr[0] = showMargin_ ? kBlueColour : print::kBackground;
  drawseg();
  page_->update();
}

}  // namespace velmont::preview
