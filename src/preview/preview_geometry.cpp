#include "preview_geometry.h"

#include <cmath>

namespace velmont::preview {

namespace {

// Truncation toward zero that does not lose a whole pixel to a rounding error of the
// multiplication (531 * 1.2 is 637.19999...).
int truncated(double value) { return int(std::trunc(value + std::copysign(1e-9, value))); }

struct ZoomFactors {
  int shift;           // position shift, pixels
  double width;        // share of the page's growth that the canvas takes, across
  double height;       // and down
  double outWidth;     // extra correction when the canvas shrinks
  double outHeight;
};

ZoomFactors factorsFor(const QString& orient) {
  if (orient == "P") return {-5, 0.68, 0.94, 1.063, 1.013};
  return {2, 0.93, 0.88, 1.016, 1.024};
}

}  // namespace

QRect cellRect(double row, double column, double rows, double columns) {
  return QRect(int(std::lround((column - 1) * kCellWidth)), int(std::lround((row - 1) * kCellHeight)),
               int(std::lround(columns * kCellWidth)), int(std::lround(rows * kCellHeight)));
}

PreviewGeometry initialGeometry(const print::PaperSize& paper) {
  constexpr double kAreaRows = 26, kAreaColumns = 58;
  double rows = 0, columns = 0;
  const double width = paper[0] > 0 ? paper[0] : 1, height = paper[1] > 0 ? paper[1] : 1;
  if (print::paperOrientation(paper) == "P") {
    rows = kAreaRows - 2;
    columns = rows * width / height * 2;
  } else {
    columns = kAreaColumns - 6;
    rows = columns * height / width / 2;
  }
  const double top = (kAreaRows - rows) / 2 + 0.5, left = (kAreaColumns - columns) / 2 + 0.5;
  PreviewGeometry geometry;
  geometry.canvas = cellRect(1, 1, 27, 59).size();
  geometry.page = cellRect(top, left, rows, columns);
  return geometry;
}

PreviewGeometry zoomGeometry(const PreviewGeometry& from, const QString& orient, int direction) {
  const ZoomFactors f = factorsFor(orient);
  const bool in = direction > 0;
  const double scale = in ? 1.2 : 0.834;
  const double kx = in ? 1 : f.outWidth, ky = in ? 1 : f.outHeight;
  const int cw = from.canvas.width(), ch = from.canvas.height();
  const int dW = truncated((cw * scale - cw) * f.width * kx);
  const int dH = truncated((ch * scale - ch) * f.height * ky);
  PreviewGeometry to;
  to.canvas = QSize(cw + dW, ch + dH);
  QPoint at = from.page.topLeft();
  // A step in moves a portrait page left and a landscape page down; a step out back.
  if (orient == "P")
    at.rx() += in ? f.shift : -f.shift;
  else
    at.ry() += in ? f.shift : -f.shift;
  to.page = QRect(at, QSize(truncated(from.page.width() * scale),
                            truncated(from.page.height() * scale)));
  return to;
}

ScrollSteps zoomScrollSteps(const QString& orient, int level, int direction) {
  // By level reached: { vertical, horizontal }.
  static constexpr int kPortraitIn[9][2] = {{0, 0}, {0, 3}, {0, 4}, {1, 3}, {0, 0},
                                            {1, 0}, {0, 0}, {0, 0}, {0, 0}};
  static constexpr int kPortraitOut[9][2] = {{-2, -3}, {-3, -4}, {0, -3}, {0, 0}, {-1, 0},
                                             {0, 0},   {0, 0},   {0, 0},  {0, 0}};
  static constexpr int kLandscapeIn[9][2] = {{0, 0}, {1, 0}, {1, -5}, {1, -4}, {1, 0},
                                             {0, 0}, {0, 0}, {-1, 0}, {-1, 0}};
  static constexpr int kLandscapeOut[9][2] = {{-1, 0}, {-1, 0}, {-1, 0}, {0, 0}, {0, 0},
                                              {0, 0},  {1, 0},  {2, 0},  {0, 0}};
  if (level < 0 || level > kMaxZoomLevel) return {};
  const bool portrait = orient == "P", in = direction > 0;
  const auto& table = portrait ? (in ? kPortraitIn : kPortraitOut)
                               : (in ? kLandscapeIn : kLandscapeOut);
  return {table[level][0], table[level][1]};
}

std::array<double, 4> viewportFor(QSize size, print::PaperSize& paper,
                                  const std::array<double, 2>& pageSize) {
  if (paper[2] == 0) paper[2] = 1;
  if (paper[3] == 0) paper[3] = 1;
  const double w = size.width(), h = size.height();
  // A division by zero (a paper of no size) gives 0.
  auto share = [](double part, double whole) { return whole != 0 ? part / whole : 0.0; };
  const double x1 = w * share(paper[2], paper[0]), y1 = h * share(paper[3], paper[1]);
  return {x1, y1, w * share(pageSize[0], paper[0]) + x1, h * share(pageSize[1], paper[1]) + y1};
}

}  // namespace velmont::preview
