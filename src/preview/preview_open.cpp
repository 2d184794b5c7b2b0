// Opening the preview window from a report's thread and waiting for its answer.
#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <condition_variable>
#include <mutex>

#include "qtcore/gui_thread.h"
#include "preview_level.h"
#include "preview_printer.h"
#include "preview_window.h"

namespace velmont::print {

// The answer of one openPwin call, handed from the GUI thread to the waiting caller.
class PreviewAnswer {
 public:
  void set() {
    std::function<void()> done;
    {
      std::lock_guard lock(mutex_);
      done_ = true;
      done = onDone;
    }
    ready_.notify_all();
    if (done) done();
  }
  void wait() {
    std::unique_lock lock(mutex_);
    ready_.wait(lock, [this] { return done_; });
  }
  bool done() {
    std::lock_guard lock(mutex_);
    return done_;
  }
  std::function<void()> onDone;  // a caller on the GUI thread quits its loop here

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  bool done_ = false;
};

int lmcPrv3::openPwin(const PwinOptions& options) {
  const bool stepping = options.stepping.value_or(false);
  const bool maximize = options.maximize.value_or(true);
  const bool stayOnTop = options.stayOnTop.value_or(false);
  const int zoomLevel = options.zoomLevel.value_or(previewZoomLevel());
  nRetval = 0;
  nColWid = options.columnWidth.value_or(nPt);
  lPrnPrompt = options.printPrompt.value_or(true);
  lShowFirst = options.showFirst.value_or(false);
  if (!lIsOpen) lShowMargin = options.showMargin.value_or(false);  // later calls keep it
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return nRetval;  // no GUI

  // The page drawn so far is shown complete; the report goes on drawing into it after the
  // call, and the next newpage or enddoc closes it with everything.
  publishOpenPage();

  auto answer = std::make_shared<PreviewAnswer>();
  if (gui::onGuiThread()) {
    QEventLoop loop;
    answer->onDone = [&loop] { loop.quit(); };
    beginCall(stepping, maximize, stayOnTop, zoomLevel, answer);
    if (!answer->done()) loop.exec();
  } else {
    gui::callOnGui([&] { beginCall(stepping, maximize, stayOnTop, zoomLevel, answer); });
    answer->wait();
  }
  return nRetval;
}

void lmcPrv3::beginCall(bool stepping, bool maximize, bool stayOnTop, int zoomLevel,
                        const std::shared_ptr<PreviewAnswer>& answer) {
  const bool first = !lIsOpen;
  if (!oPwin) new PreviewWindow(*this, deviceName(), stayOnTop);
  answer_ = answer;
  aLocals.stepping = stepping;
  setButtonLabel(aLocals.nextButton, stepping ? "~Next Page" : "~Quit");
  aLocals.lastButton->setVisible(stepping);
  oQuit->setVisible(stepping);
  if (pageCount() > 0 && lShowFirst) nSeg = aSegments.front();
  // The column pitch and the margins may differ from the last call's.
  const auto [rows, columns] = markerRanges();
  oSpinL->setRange(0, rows);
  oSpinC->setRange(0, columns);
  applyGeometry();
  oPwin->setWaiting(true);
  if (first) {
    if (maximize)
      oPwin->showMaximized();
    else
      oPwin->show();
    for (int step = 0; step < zoomLevel; ++step) {
      zoom(1);
      if (maximize) scrollSteps(0, -3);
    }
    lIsOpen = true;
  }
  if (oLevelSay) oLevelSay->setText(QString::number(nLevel));
  drawseg();
  if (oPwin->isVisible())
    oPage->update();
  else
    oPwin->show();
  oPwin->raise();
  oPwin->activateWindow();
  if (bFocus) bFocus();
}

void lmcPrv3::finishCall() {
  if (oPwin) oPwin->setWaiting(false);
  std::shared_ptr<PreviewAnswer> answer = std::move(answer_);
  answer_.reset();
  if (answer) answer->set();  // the caller goes on from here: touch nothing after
}

void lmcPrv3::forgetWindow() {
  oPwin = nullptr;
  oArea = nullptr;
  oCV = nullptr;
  oPage = nullptr;
  oPanel = nullptr;
  oKeySay = nullptr;
  oLevelSay = nullptr;
  oPageSay = nullptr;
  oPget = oTget = nullptr;
  oQuit = nullptr;
  oSpinL = oSpinC = nullptr;
  oMargBtn = nullptr;
  aLocals = {};
  bFocus = {};
  // A window built again later starts afresh at level 0 and zooms to its opening level.
  lIsOpen = false;
  nLevel = 0;
  geometry_ = initialGeometry(aPaperSize);
  if (answer_) {  // a call still waiting ends with 0
    nRetval = 0;
    finishCall();
  }
}

void lmcPrv3::destroyPwin() {
  if (!oPwin) return;
  if (!QCoreApplication::instance()) {
    forgetWindow();
    return;
  }
  gui::callOnGui([this] { delete oPwin; });  // the window's destructor forgets it
}

}  // namespace velmont::print
