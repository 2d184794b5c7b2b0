#include "fill_pattern.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace velmont::print {

std::vector<FillEntry> buildFillTable() {
  using namespace pattern;
  return {{"NOSHADE", kNoShade}, {"HALFTONE", kHalftone}, {"SOLID", kSolid},
          {"DENSE1", 1000},      {"DENSE2", 1001},        {"DENSE3", 1002},
          {"DENSE4", 1003},      {"DENSE5", 1004},        {"DENSE6", 1005},
          {"DENSE7", 1006},      {"DENSE8", 1007},        {"VERT", kVert},
          {"HORIZ", kHoriz},     {"HATCH", kHatch},       {"DIAGHATCH", kDiagHatch},
          {"DIAG1", kDiag1},     {"DIAG2", kDiag2},       {"DIAG3", kDiag3},
          {"DIAG4", kDiag4}};
}

std::optional<int> findFill(const std::vector<FillEntry>& table, const QString& name) {
  const QString key = name.trimmed().toUpper();
  for (const FillEntry& entry : table)
    if (entry.name == key) return entry.code;
  return std::nullopt;
}

namespace {

// Dots on a square grid anchored at the page origin, so that neighbouring boxes match.
// `ink` is the share of the area covered by the foreground.
void paintDots(QPainter& painter, const QRectF& area, double ink, const QColor& fg,
               const QColor& bg, double pitch) {
  const bool holes = ink > 0.5;  // draw the lighter colour as the dots
  painter.fillRect(area, holes ? fg : bg);
  const double side = pitch * std::sqrt(holes ? 1.0 - ink : ink);
  const double offset = (pitch - side) / 2;
  QList<QRectF> dots;
  for (double y = std::floor(area.top() / pitch) * pitch; y < area.bottom(); y += pitch)
    for (double x = std::floor(area.left() / pitch) * pitch; x < area.right(); x += pitch)
      dots.append(QRectF(x + offset, y + offset, side, side));
  painter.setPen(Qt::NoPen);
  painter.setBrush(holes ? bg : fg);
  painter.drawRects(dots);
}

void paintCheckers(QPainter& painter, const QRectF& area, const QColor& fg, const QColor& bg,
                   double cell) {
  painter.fillRect(area, bg);
  QList<QRectF> cells;
  const long firstRow = long(std::floor(area.top() / cell));
  const long firstCol = long(std::floor(area.left() / cell));
  for (long row = firstRow; row * cell < area.bottom(); ++row)
    for (long col = firstCol + ((firstCol + row) & 1); col * cell < area.right(); col += 2)
      cells.append(QRectF(col * cell, row * cell, cell, cell));
  painter.setPen(Qt::NoPen);
  painter.setBrush(fg);
  painter.drawRects(cells);
}

// Parallel lines with direction (dx, dy) repeating every `pitch` across the area.
void paintLines(QPainter& painter, const QRectF& area, QPointF direction, const QColor& fg,
                double pitch, double width) {
  QPen pen(fg, width);
  pen.setCapStyle(Qt::FlatCap);
  painter.setPen(pen);
  QList<QLineF> lines;
  if (direction.x() == 0) {
    for (double x = std::floor(area.left() / pitch) * pitch; x < area.right(); x += pitch)
      lines.append(QLineF(x, area.top(), x, area.bottom()));
  } else if (direction.y() == 0) {
    for (double y = std::floor(area.top() / pitch) * pitch; y < area.bottom(); y += pitch)
      lines.append(QLineF(area.left(), y, area.right(), y));
  } else {
    // Diagonals at 45 degrees: x + y (rising) or x - y (falling) is constant on each line.
    const bool rising = direction.y() < 0;
    const double step = pitch * std::sqrt(2.0);
    const double first = rising ? area.left() + area.top() : area.left() - area.bottom();
    const double last = rising ? area.right() + area.bottom() : area.right() - area.top();
    const double sign = rising ? -1 : 1;  // x = k + sign * y
    for (double k = std::floor(first / step) * step; k < last; k += step)
      lines.append(QLineF(k + sign * area.top(), area.top(), k + sign * area.bottom(),
                          area.bottom()));
  }
  painter.drawLines(lines);
}

}  // namespace

void paintFill(QPainter& painter, const QRectF& area, int code, const QColor& fg,
               const QColor& bg, double unitsPerMm) {
  using namespace pattern;
  if (code == kNoShade || area.isEmpty()) return;
  if (code == kSolid) {
    painter.fillRect(area, fg);
    return;
  }
  painter.save();
  painter.setClipRect(area, Qt::IntersectClip);
  const double lineWidth = 0.15 * unitsPerMm;
  const double wide = 1.0 * unitsPerMm, close = 0.5 * unitsPerMm;
  if (code >= kDense1 && code <= kDense8) {
    const double ink = 1.0 - (code - kDense1 + 1) / 9.0;
    paintDots(painter, area, ink, fg, bg, 0.5 * unitsPerMm);
  } else if (code == kHalftone) {
    paintCheckers(painter, area, fg, bg, 0.25 * unitsPerMm);
  } else {
    painter.fillRect(area, bg);
    const QPointF vertical(0, 1), horizontal(1, 0), rising(1, -1), falling(1, 1);
    switch (code) {
      case kVert: paintLines(painter, area, vertical, fg, wide, lineWidth); break;
      case kHoriz: paintLines(painter, area, horizontal, fg, wide, lineWidth); break;
      case kHatch:
        paintLines(painter, area, vertical, fg, wide, lineWidth);
        paintLines(painter, area, horizontal, fg, wide, lineWidth);
        break;
      case kDiagHatch:
        paintLines(painter, area, rising, fg, wide, lineWidth);
        paintLines(painter, area, falling, fg, wide, lineWidth);
        break;
      case kDiag1: paintLines(painter, area, rising, fg, wide, lineWidth); break;
      case kDiag2: paintLines(painter, area, rising, fg, close, lineWidth); break;
      case kDiag3: paintLines(painter, area, falling, fg, wide, lineWidth); break;
      case kDiag4: paintLines(painter, area, falling, fg, close, lineWidth); break;
      default: painter.fillRect(area, fg); break;  // an unknown code fills solid
    }
  }
  painter.restore();
}

}  // namespace velmont::print
