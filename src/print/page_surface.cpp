#include "page_surface.h"

#include "glyph_run.h"

namespace velmont::print {

void PageSurface::setFont(const PrintFont& font) {
  if (font == font_) return;
  font_ = font;
  metrics_.reset();
  rawFont_.reset();
}

void PageSurface::drawText(PagePoint at, const QString& text) {
  if (text.isEmpty()) return;
  page_.addText(at, text, font_, toRgb(foreground_));
}

double PageSurface::textWidth(const QString& text) const {
  // Measured the way the replay draws it; the font is sized in 0.01 mm.
  if (!rawFont_) rawFont_ = rawFontFor(font_);
  if (auto simple = layOutSimply(*rawFont_, text)) return simple->width / 10.0;
  if (!metrics_) metrics_.emplace(font_.toQFont());
  return metrics_->horizontalAdvance(text) / 10.0;
}

void PageSurface::drawBox(const PageRect& area, bool outline, bool fill, double cornerWidth,
                          double cornerHeight) {
  if (!outline && !fill) return;
  page_.add(BoxItem{area, outline, fill, pattern_, toRgb(foreground_), toRgb(background_),
                    lineType_, cornerWidth, cornerHeight});
}

void PageSurface::drawLine(PagePoint from, PagePoint to) {
  page_.add(LineItem{from, to, toRgb(foreground_), lineType_});
}

void PageSurface::drawPicture(const PageRect& area, std::shared_ptr<const Picture> picture) {
  if (picture) page_.add(ImageItem{area, std::move(picture)});
}

PageList PageSurface::takePage() {
  PageList finished(page_.width(), page_.height());
  std::swap(finished, page_);
  return finished;
}

}  // namespace velmont::print
