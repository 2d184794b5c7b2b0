#include "preview_printer.h"

#include "preview_dialogs.h"
#include "preview_window.h"
#include "qtcore/gui_thread.h"

namespace velmont::preview {

lmcPrv3::lmcPrv3() = default;

lmcPrv3::~lmcPrv3() { destroyPwin(); }

lmcPrv3& lmcPrv3::destroy() {
  destroyPwin();
  print::PreviewDocument::destroy();
  return *this;
}

void lmcPrv3::pageAdded() {
  PreviewWindow* window = window_.load();
  if (!window) return;
  // The report draws on its own thread: the window's page count changes on the GUI thread.
  const int pages = pageCount();
  qtcore::later(window, [window, pages] { window->showPageCount(pages); });
}

bool lmcPrv3::confirmPrint(const QString& question) { return previewYesNo(question, window()); }

std::optional<QString> lmcPrv3::chooseOutputFile(const QString& suggested) {
  return previewSaveFile(suggested, window());
}

void lmcPrv3::tell(const QStringList& lines) { previewMessage(lines, window()); }

std::unique_ptr<lmcPrv3> lmNewPreview(const QString& deviceName) {
  auto preview = std::make_unique<lmcPrv3>();
  preview->Init(deviceName);
  return preview;
}

}  // namespace velmont::preview
