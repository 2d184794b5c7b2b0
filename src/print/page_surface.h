#pragma once
// The drawing surface of a page printer: the current colours, fill pattern, line type and
// font, and the display list of the page being drawn. Units are 0.1 mm, y upwards.
#include <QFontMetricsF>
#include <QRawFont>
#include <memory>
#include <optional>

#include "colour.h"
#include "display_list.h"

namespace velmont::print {

class PageSurface {
 public:
  PageSurface(double width, double height) : page_(width, height) {}

  double width() const { return page_.width(); }
  double height() const { return page_.height(); }

  Colour foreground() const { return foreground_; }
  Colour background() const { return background_; }
  void setForeground(Colour colour) { foreground_ = colour; }
  void setBackground(Colour colour) { background_ = colour; }
  int pattern() const { return pattern_; }
  void setPattern(int code) { pattern_ = code; }
  int lineType() const { return lineType_; }
  void setLineType(int code) { lineType_ = code; }
  const PrintFont& font() const { return font_; }
  void setFont(const PrintFont& font);

  // Text in the current font and foreground, the left end of its baseline at `at`.
  void drawText(PagePoint at, const QString& text);
  // Width of the text in the current font, 0.1 mm.
  double textWidth(const QString& text) const;
  // A rectangle outlined in the foreground with the line type and/or filled with the
  // pattern in the foreground on the background.
  void drawBox(const PageRect& area, bool outline, bool fill, double cornerWidth = 0,
               double cornerHeight = 0);
  void drawLine(PagePoint from, PagePoint to);
  void drawPicture(const PageRect& area, std::shared_ptr<const Picture> picture);

  const PageList& page() const { return page_; }
  // Hands over the finished page and starts an empty one of the same size.
  PageList takePage();

 private:
  PageList page_;
  Colour foreground_ = kBlack;
  Colour background_ = kWhite;
  int pattern_ = 0;
  int lineType_ = line::kSolid;
  PrintFont font_;
  mutable std::optional<QRawFont> rawFont_;
  mutable std::optional<QFontMetricsF> metrics_;
};

}  // namespace velmont::print
