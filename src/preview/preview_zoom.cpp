// The preview's viewport and zoom steps.
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>

#include "preview_level.h"
#include "preview_printer.h"

namespace velmont::print {

void lmcPrv3::calcVP(double& x1, double& y1, double& x2, double& y2) {
  // The page area always has the size of geometry_'s page (applyGeometry); reading it
  // from there keeps this safe on the report's thread.
  const QSize size = geometry_.page.size();
  const auto vp = viewportFor(size, aPaperSize, aPageSize);
  x1 = vp[0];
  y1 = vp[1];
  x2 = vp[2];
  y2 = vp[3];
}

void lmcPrv3::applyGeometry() {
  if (oCV) oCV->resize(geometry_.canvas);
  if (oPage) oPage->setGeometry(geometry_.page);
  calcVP(viewport_[0], viewport_[1], viewport_[2], viewport_[3]);
}

void lmcPrv3::scrollSteps(int vertical, int horizontal) {
  if (!oArea) return;
  QScrollBar* down = oArea->verticalScrollBar();
  QScrollBar* across = oArea->horizontalScrollBar();
  down->setValue(down->value() + vertical * kScrollStep);
  across->setValue(across->value() + horizontal * kScrollStep);
}

void lmcPrv3::zoom(int direction) {
  const bool in = direction == 1, out = direction == -1;
  const bool step = (in && nLevel < kMaxZoomLevel) || (out && nLevel > 0);
  if (step) {
    geometry_ = zoomGeometry(geometry_, cOrient, direction);
    applyGeometry();
    nLevel += direction;
    if (oLevelSay) oLevelSay->setText(QString::number(nLevel));
    if (lIsOpen) {
      drawseg();
      if (oPage) oPage->update();
    }
  }
  setPreviewZoomLevel(nLevel);
  if (step) {
    const ScrollSteps steps = zoomScrollSteps(cOrient, nLevel, direction);
    scrollSteps(steps.bump, steps.push);
  }
}

}  // namespace velmont::print
