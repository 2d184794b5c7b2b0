#include "cells.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace velmont::widgets {

CellMetric cellMetric() {
  double dpi = 96;
  if (const QScreen* screen = QGuiApplication::primaryScreen()) dpi = screen->logicalDotsPerInch();
  const double scale = dpi / 96.0;
  return {9.0 * scale, 20.0 * scale};
}

QRect cellRect(double row, double column, double rows, double columns) {
  const CellMetric m = cellMetric();
  const int x = int(std::lround((column - 1) * m.width));
  const int y = int(std::lround((row - 1) * m.height));
  return QRect(x, y, int(std::lround(columns * m.width)), int(std::lround(rows * m.height)));
}

QSize cellSize(double rows, double columns) {
  const CellMetric m = cellMetric();
  return QSize(int(std::lround(columns * m.width)), int(std::lround(rows * m.height)));
}

void placeInCells(QWidget* w, double row, double column, double rows, double columns) {
  QRect r = cellRect(row, column, rows, columns);
  const QSize hint = w->sizeHint();
  if (columns <= 0) r.setWidth(hint.width());
  if (rows <= 0) r.setHeight(hint.height());
  w->setGeometry(r);
}

}  // namespace velmont::widgets
