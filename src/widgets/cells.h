#pragma once
// Positions and sizes in character cells. Rows count down from 1 at the top of
// the parent, columns right from 1 at its left; fractions are allowed. One cell
// metric serves every window, so layouts stay in proportion everywhere.
#include <QRect>
#include <QSize>

class QWidget;

namespace velmont::widgets {

struct CellMetric {
  double width;   // pixels per column
  double height;  // pixels per row
};

// The program's cell: 9 by 20 pixels at 96 dpi, scaled with the screen.
CellMetric cellMetric();

// The pixel rectangle of `rows` by `columns` cells whose top-left is (row, column).
QRect cellRect(double row, double column, double rows, double columns);
QSize cellSize(double rows, double columns);

// Places `w` at (row, column); a size of 0 keeps the widget's own size hint
// in that direction.
void placeInCells(QWidget* w, double row, double column, double rows, double columns);

}  // namespace velmont::widgets
