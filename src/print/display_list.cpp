#include "display_list.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "fill_pattern.h"
#include "glyph_run.h"
#include "picture_loader.h"

namespace velmont::print {

void PageList::addText(PagePoint at, const QString& text, const PrintFont& font, QRgb colour) {
  auto found = std::find(fonts_.begin(), fonts_.end(), font);
  if (found == fonts_.end()) found = fonts_.insert(fonts_.end(), font);
  items_.push_back(
      TextItem{at, text, std::uint16_t(found - fonts_.begin()), colour});
}

std::size_t PageList::bytes() const {
  std::size_t total = sizeof(PageList) + items_.capacity() * sizeof(DrawItem) +
                      fonts_.capacity() * sizeof(PrintFont);
  for (const PrintFont& font : fonts_) total += font.family.capacity() * sizeof(QChar);
  for (const DrawItem& item : items_)
    if (auto* text = std::get_if<TextItem>(&item))
      total += text->text.capacity() * sizeof(QChar);
  return total;
}

namespace {

// Replay works in 0.01 mm with y downwards: ten painter units per page unit.
constexpr double kFine = 10.0;
constexpr double kPenWidth = 1.5 * kFine;  // 0.15 mm rules and outlines

class Replayer {
 public:
  // `pixel`: one device pixel in painter units. Rules, outlines and bars thinner
  // than a pixel are drawn one pixel wide, so that a low-resolution page (a PNG,
  // the preview at a small zoom) does not lose them.
  Replayer(const PageList& page, QPainter& painter, double pixel) : page_(page), painter_(painter), pixel_(pixel) {}

  void operator()(const TextItem& item) {
    usePen(textPen(item.colour));
    const QRawFont& raw = rawFontAt(item.font);
    if (auto simple = layOutSimply(raw, item.text)) {
      const bool underline = page_.fonts()[item.font].underscore;
      painter_.drawGlyphRun(point(item.at), glyphRun(raw, *simple, underline));
      return;
    }
    if (item.font != currentFont_) {
      painter_.setFont(fontAt(item.font));
      currentFont_ = item.font;
    }
    painter_.drawText(point(item.at), item.text);
  }

  void operator()(const BoxItem& item) {
    const QRectF area = rect(item.area);
    const double rx = item.cornerWidth * kFine, ry = item.cornerHeight * kFine;
    const bool rounded = rx > 0 || ry > 0;
    if (item.fill && item.pattern == pattern::kSolid) {
      usePen(Qt::NoPen);
      useBrush(QColor::fromRgba(item.foreground));
      const QRectF shown = atLeastAPixel(area);
      rounded ? painter_.drawRoundedRect(shown, rx, ry) : painter_.drawRect(shown);
    } else if (item.fill) {
      painter_.save();
      if (rounded) {
        QPainterPath path;
        path.addRoundedRect(area, rx, ry);
        painter_.setClipPath(path, Qt::IntersectClip);
      }
      paintFill(painter_, area, item.pattern, QColor::fromRgba(item.foreground),
                QColor::fromRgba(item.background), 100.0);
      painter_.restore();
    }
    if (item.outline) {
      usePen(linePen(item.foreground, item.lineType));
      useBrush(Qt::NoBrush);
      rounded ? painter_.drawRoundedRect(area, rx, ry) : painter_.drawRect(area);
    }
  }

  void operator()(const LineItem& item) {
    usePen(linePen(item.colour, item.lineType));
    painter_.drawLine(point(item.from), point(item.to));
  }

  void operator()(const ImageItem& item) {
    const QRectF area = rect(item.area);
    const Picture& picture = *item.picture;
    if (!picture.bitmap.isNull()) {
      painter_.drawImage(area, picture.bitmap);
    } else if (!picture.vector.isEmpty()) {
      drawVector(painter_, picture, area);
    }
  }

 private:
  QPointF point(PagePoint p) const { return {p.x * kFine, (page_.height() - p.y) * kFine}; }
  QRectF rect(const PageRect& r) const {
    return QRectF(QPointF(r.left * kFine, (page_.height() - r.top) * kFine),
                  QPointF(r.right * kFine, (page_.height() - r.bottom) * kFine))
        .normalized();
  }

  const QRawFont& rawFontAt(std::uint16_t index) {
    if (rawFonts_.empty())
      for (const PrintFont& font : page_.fonts()) rawFonts_.push_back(rawFontFor(font));
    return rawFonts_.at(index);
  }

  const QFont& fontAt(std::uint16_t index) {
    if (fonts_.empty())
      for (const PrintFont& font : page_.fonts()) fonts_.push_back(font.toQFont());
    return fonts_.at(index);
  }

  // Pen and brush change only when they differ: every change costs the device a state update.
  void usePen(const QPen& pen) {
    if (pen != painter_.pen()) painter_.setPen(pen);
  }
  void useBrush(const QBrush& brush) {
    if (brush != painter_.brush()) painter_.setBrush(brush);
  }

  static QPen textPen(QRgb colour) { return QPen(QColor::fromRgba(colour)); }

  // A thin solid area (a bar) grown about its middle to a whole pixel each way.
  QRectF atLeastAPixel(QRectF area) const {
    if (area.width() < pixel_) area.adjust(-(pixel_ - area.width()) / 2, 0, (pixel_ - area.width()) / 2, 0);
    if (area.height() < pixel_) area.adjust(0, -(pixel_ - area.height()) / 2, 0, (pixel_ - area.height()) / 2);
    return area;
  }

  QPen linePen(QRgb colour, int lineType) const {
    QPen pen(QColor::fromRgba(colour), std::max(kPenWidth, pixel_));
    pen.setCapStyle(Qt::FlatCap);
    switch (lineType) {
      case line::kDot: pen.setDashPattern({2, 3}); break;
      case line::kDash: pen.setDashPattern({10, 5}); break;
      case line::kDashDot: pen.setDashPattern({10, 4, 2, 4}); break;
      case line::kDash2Dot: pen.setDashPattern({10, 4, 2, 4, 2, 4}); break;
      default: break;
    }
    return pen;
  }

  const PageList& page_;
  QPainter& painter_;
  double pixel_;
  std::vector<QFont> fonts_;
  std::vector<QRawFont> rawFonts_;
  int currentFont_ = -1;
};

}  // namespace

void replay(const PageList& page, QPainter& painter, double pixelsPerUnit) {
  painter.save();
  painter.scale(pixelsPerUnit / kFine, pixelsPerUnit / kFine);
  // One device pixel in painter units, whatever scale the caller set before.
  const double scale = std::abs(painter.deviceTransform().m11()) + std::abs(painter.deviceTransform().m21());
  Replayer replayer(page, painter, scale > 0 ? 1.0 / scale : 0);
  for (const DrawItem& item : page.items()) std::visit(replayer, item);
  painter.restore();
}

}  // namespace velmont::print
