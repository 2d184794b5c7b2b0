// Opening the preview window from a report's thread and waiting for its answer.
#include <QApplication>
#include <QEventLoop>

#include "preview_answer.h"
#include "preview_level.h"
#include "preview_printer.h"
#include "preview_window.h"
#include "qtcore/gui_thread.h"

namespace velmont::preview {

int lmcPrv3::openPwin(const print::PwinOptions& options) {
  PreviewCall call;
  call.stepping = options.stepping.value_or(false);
  call.maximize = options.maximize.value_or(true);
  call.zoomLevel = options.zoomLevel.value_or(previewZoomLevel());
  call.showMargin = options.showMargin.value_or(false);
  call.showFirst = options.showFirst.value_or(false);
  call.columnWidth = options.columnWidth.value_or(nPt);
  const bool stayOnTop = options.stayOnTop.value_or(false);
  lPrnPrompt = options.printPrompt.value_or(true);
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return 0;  // no GUI

  // The page drawn so far is shown complete; the report goes on drawing into it after the
  // call, and the next newpage or enddoc closes it with everything.
  publishOpenPage();

  auto answer = std::make_shared<PreviewAnswer>();
  if (qtcore::onGuiThread()) {
    QEventLoop loop;
    answer->onDone = [&loop] { loop.quit(); };
    beginCall(call, stayOnTop, answer);
    if (!answer->done()) loop.exec();
    return answer->value();
  }
  qtcore::callOnGui([&] { beginCall(call, stayOnTop, answer); });
  return answer->wait();
}

void lmcPrv3::beginCall(const PreviewCall& call, bool stayOnTop, const std::shared_ptr<PreviewAnswer>& answer) {
  PreviewWindow* window = window_.load();
  if (!window) {
    window = new PreviewWindow(*this, stayOnTop);
    // However the window goes, the printer forgets it; a window built again later starts
    // afresh at level 0 and zooms to its opening level.
    QObject::connect(window, &QObject::destroyed, [this] { window_.store(nullptr); });
    window_.store(window);
  }
  window->beginCall(call, answer);
}

void lmcPrv3::destroyPwin() {
  if (!window_.load()) return;
  if (!QCoreApplication::instance()) {
    window_.store(nullptr);
    return;
  }
  qtcore::callOnGui([this] { delete window_.exchange(nullptr); });
}

}  // namespace velmont::preview
