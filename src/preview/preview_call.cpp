// One call of the preview window: shown on the recorded pages, then answered.
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include "preview_answer.h"
#include "preview_window.h"
#include "print/preview_document.h"

namespace velmont::preview {

void PreviewWindow::beginCall(const PreviewCall& call, std::shared_ptr<PreviewAnswer> answer) {
  const bool first = !opened_;
  answer_ = std::move(answer);
  stepping_ = call.stepping;
  // Which call the window answers, for the window system (and a script driving
  // it): a stepping window between cards, or the final one.
  setWindowRole(stepping_ ? QStringLiteral("preview-stepping") : QStringLiteral("preview-final"));
  columnPitch_ = call.columnWidth;
  if (first) {  // later calls keep the outline as the user left it
    showMargin_ = call.showMargin;
    setButtonLabel(marginButton_, showMargin_ ? "Hide ~Margin" : "Show ~Margin");
  }
  setButtonLabel(nextButton_, stepping_ ? "~Next Page" : "~Quit");
  lastButton_->setVisible(stepping_);
  finishButton_->setVisible(stepping_);
  if (document_.pageCount() > 0 && call.showFirst) document_.nSeg = document_.aSegments.front();
  // The column pitch and the margins may differ from the last call's.
  const auto [rows, columns] = markerRanges();
  rowSpin_->setRange(0, rows);
  columnSpin_->setRange(0, columns);
  applyGeometry();
  if (first) {
    if (call.maximize)
      showMaximized();
    else
      show();
    for (int step = 0; step < call.zoomLevel; ++step) {
      zoom(1);
      if (call.maximize) scrollSteps(0, -3);
    }
    opened_ = true;
  }
  levelSay_->setText(QString::number(level_));
  drawseg();
  if (isVisible())
    page_->update();
  else
    show();
  raise();
  activateWindow();
  focusKeys();
}

void PreviewWindow::answerWith(int answer) {
  closingAnswer_ = answer;
  postClose();
}

void PreviewWindow::finishCall(int answer) {
  std::shared_ptr<PreviewAnswer> waiting = std::move(answer_);
  answer_.reset();
  if (waiting) waiting->set(answer);  // the caller goes on from here
}

void PreviewWindow::showPageCount(int pages) {
  pageSay_->setText(QString::number(currentPage_) + "/" + QString::number(pages));
}

}  // namespace velmont::preview
