#pragma once
// One page as a list of drawing items in page coordinates: 0.1 mm, x to the right from
// the left edge of the printable area, y upwards from its bottom edge. A page list can
// be kept, replayed onto any QPainter at any scale, and measured in bytes.
#include <QByteArray>
#include <QImage>
#include <QRgb>
#include <QString>
#include <cstdint>
#include <memory>
#include <variant>
#include <vector>

#include "print_font.h"

class QPainter;

namespace velmont::print {

struct PagePoint {
  double x = 0, y = 0;
};

struct PageRect {
  double left = 0, bottom = 0, right = 0, top = 0;
  double width() const { return right - left; }
  double height() const { return top - bottom; }
};

// Line type codes of rules and outlines.
namespace line {
inline constexpr int kSolid = 0;
inline constexpr int kDash = 1;
inline constexpr int kDot = 2;
inline constexpr int kDashDot = 3;
inline constexpr int kDash2Dot = 4;
}  // namespace line

// Text with the left end of its baseline at `at`.
struct TextItem {
  PagePoint at;
  QString text;
  std::uint16_t font = 0;  // index into PageList::fonts()
  QRgb colour = 0xff000000;
};

// A rectangle outlined in `foreground` and/or filled with a pattern of the fill table.
struct BoxItem {
  PageRect area;
  bool outline = true;
  bool fill = false;
  int pattern = 0;
  QRgb foreground = 0xff000000;
  QRgb background = 0xffffffff;
  int lineType = line::kSolid;
  double cornerWidth = 0, cornerHeight = 0;  // corner radii
};

struct LineItem {
  PagePoint from, to;
  QRgb colour = 0xff000000;
  int lineType = line::kSolid;
};

// A picture loaded once and shared by every page that shows it.
struct Picture {
  QString file;
  QImage bitmap;      // BMP, GIF, JPG, PNG; EMF on Windows
  QByteArray vector;  // EMF converted to SVG on Linux
};

struct ImageItem {
  PageRect area;
  std::shared_ptr<const Picture> picture;
};

using DrawItem = std::variant<TextItem, BoxItem, LineItem, ImageItem>;

class PageList {
 public:
  PageList() = default;
  PageList(double width, double height) : width_(width), height_(height) {}

  double width() const { return width_; }    // printable width, 0.1 mm
  double height() const { return height_; }  // printable height, 0.1 mm

  void addText(PagePoint at, const QString& text, const PrintFont& font, QRgb colour);
  void add(DrawItem item) { items_.push_back(std::move(item)); }

  const std::vector<DrawItem>& items() const { return items_; }
  const std::vector<PrintFont>& fonts() const { return fonts_; }
  bool empty() const { return items_.empty(); }

  // Memory the page holds of its own; a shared picture counts as its reference only.
  std::size_t bytes() const;
  // Gives back the spare capacity of a finished page that is kept.
  void shrinkToFit() {
    items_.shrink_to_fit();
    fonts_.shrink_to_fit();
  }

 private:
  double width_ = 0, height_ = 0;
  std::vector<DrawItem> items_;
  std::vector<PrintFont> fonts_;
};

// Draws the page with its printable area's top-left corner at the painter's origin,
// `pixelsPerUnit` painter units per 0.1 mm.
void replay(const PageList& page, QPainter& painter, double pixelsPerUnit);

}  // namespace velmont::print
