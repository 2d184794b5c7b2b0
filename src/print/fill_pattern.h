#pragma once
// The fill patterns of boxes and bars: their names, codes and how they look.
#include <QColor>
#include <QRectF>
#include <QString>
#include <optional>
#include <vector>

class QPainter;

namespace velmont::print {

// Pattern codes as the fill table stores them.
namespace pattern {
inline constexpr int kSolid = 0;
inline constexpr int kDense1 = 1000;  // DENSE1 to DENSE8 are 1000 to 1007, dark to light
inline constexpr int kDense8 = 1007;
inline constexpr int kDiag2 = 1008;
inline constexpr int kDiag4 = 1009;
inline constexpr int kHalftone = 1010;
inline constexpr int kNoShade = 65536;
inline constexpr int kHoriz = 131072;
inline constexpr int kVert = 131073;
inline constexpr int kDiag3 = 131074;
inline constexpr int kDiag1 = 131075;
inline constexpr int kHatch = 131076;
inline constexpr int kDiagHatch = 131077;
}  // namespace pattern

struct FillEntry {
  QString name;
  int code;
};

// The fill table in its fixed order: NOSHADE, HALFTONE, SOLID, DENSE1..8, VERT, HORIZ,
// HATCH, DIAGHATCH, DIAG1..4.
std::vector<FillEntry> buildFillTable();

// The code of a pattern name, compared in upper case; nothing when the name is unknown.
std::optional<int> findFill(const std::vector<FillEntry>& table, const QString& name);

// Fills `area` (painter units, `unitsPerMm` of them per millimetre) with the pattern,
// drawn as geometry in page units so that it looks the same on every device and zoom.
// Patterns other than solid and no-shade lay `foreground` on an opaque `background`.
void paintFill(QPainter& painter, const QRectF& area, int code, const QColor& foreground,
               const QColor& background, double unitsPerMm);

}  // namespace velmont::print
