#pragma once
// Where the preview window puts the page image, and how a zoom step changes it. Window
// quantities are pixels with y downwards; page quantities are 0.1 mm with y upwards.
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QString>
#include <array>

#include "print/print_device.h"

namespace velmont::preview {

// The window is laid out in character cells: a column is 9 pixels wide and a row twice
// that, so that a page of c columns and c / 2 rows is square.
inline constexpr double kCellWidth = 9;
inline constexpr double kCellHeight = 18;
// The pixels of one scroll step of the scroll areas.
inline constexpr int kScrollStep = 10;
inline constexpr int kMaxZoomLevel = 8;

// The pixel rectangle of a box that starts at (row, column), both counted from 1.
QRect cellRect(double row, double column, double rows, double columns);

// The canvas inside the scroll area and the page image on it.
struct PreviewGeometry {
  QSize canvas;
  QRect page;
  bool operator==(const PreviewGeometry&) const = default;
};

// Level 0: the canvas of 27 rows by 59 columns and the page at the paper's proportions,
// centred in the 26 rows by 58 columns of the scroll area.
PreviewGeometry initialGeometry(const print::PaperSize& paper);

// One zoom step in (direction 1) or out (-1): the canvas grows or shrinks by less than
// the page, and the page moves a few pixels so that its visible part stays in view.
PreviewGeometry zoomGeometry(const PreviewGeometry& from, const QString& orient, int direction);

// Scroll steps after a zoom step that reached `level`: first vertical (positive is down),
// then horizontal (positive is right).
struct ScrollSteps {
  int bump = 0;
  int push = 0;
  bool operator==(const ScrollSteps&) const = default;
};
ScrollSteps zoomScrollSteps(const QString& orient, int level, int direction);

// The rectangle of a page image of `size` on which the printable area is shown, x1, y1,
// x2, y2 with y upwards from the image's bottom edge. A left or bottom paper offset of 0
// is taken as 1 and stays so in `paper`.
std::array<double, 4> viewportFor(QSize size, print::PaperSize& paper,
                                  const std::array<double, 2>& pageSize);

}  // namespace velmont::preview
