// The preview's viewport and zoom steps.
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>

#include "preview_level.h"
#include "preview_window.h"
#include "print/preview_document.h"

namespace velmont::preview {

void PreviewWindow::calcVP(double& x1, double& y1, double& x2, double& y2) const {
  // The page area always has the size of geometry_'s page (applyGeometry).
  const QSize size = geometry_.page.size();
  const auto vp = viewportFor(size, document_.aPaperSize, document_.aPageSize);
  x1 = vp[0];
  y1 = vp[1];
  x2 = vp[2];
  y2 = vp[3];
}

void PreviewWindow::applyGeometry() {
  canvas_->resize(geometry_.canvas);
  page_->setGeometry(geometry_.page);
  calcVP(viewport_[0], viewport_[1], viewport_[2], viewport_[3]);
}

void PreviewWindow::scrollSteps(int vertical, int horizontal) {
  QScrollBar* down = area_->verticalScrollBar();
  QScrollBar* across = area_->horizontalScrollBar();
  down->setValue(down->value() + vertical * kScrollStep);
  across->setValue(across->value() + horizontal * kScrollStep);
}

void PreviewWindow::zoom(int direction) {
  const bool in = direction == 1, out = direction == -1;
  const bool step = (in && level_ < kMaxZoomLevel) || (out && level_ > 0);
  if (step) {
    geometry_ = zoomGeometry(geometry_, document_.cOrient, direction);
    applyGeometry();
    level_ += direction;
    levelSay_->setText(QString::number(level_));
    if (opened_) {
      drawseg();
      page_->update();
    }
  }
  setPreviewZoomLevel(level_);
  if (step) {
    const ScrollSteps steps = zoomScrollSteps(document_.cOrient, level_, direction);
    scrollSteps(steps.bump, steps.push);
  }
}

}  // namespace velmont::preview
