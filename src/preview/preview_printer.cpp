#include "preview_printer.h"

#include <QLabel>

#include "preview_dialogs.h"
#include "preview_window.h"
#include "qtcore/gui_thread.h"

namespace velmont::print {

lmcPrv3::lmcPrv3() = default;

lmcPrv3::~lmcPrv3() { destroyPwin(); }

lmcPrv3& lmcPrv3::create() {
  PreviewDocument::create();
  cPrintWhat.clear();
  lShowMargin = lIsOpen = false;
  nLevel = nRetval = nCurPage = nRefLine = nRefCol = nOldRefL = nOldRefC = 0;
  aLocals = {};
  geometry_ = initialGeometry(aPaperSize);
  return *this;
}

lmcPrv3& lmcPrv3::destroy() {
  destroyPwin();
  nCurPage = nRetval = nLevel = 0;
  nRefLine = nRefCol = nOldRefL = nOldRefC = 0;
  cPrintWhat.clear();
  lShowMargin = lIsOpen = false;
  pageImage_ = QImage();
  PreviewDocument::destroy();
  return *this;
}

void lmcPrv3::pageAdded() {
  if (!oPageSay) return;
  // The report draws on its own thread: the window's label changes on the GUI thread.
  const QString text = QString::number(nCurPage) + "/" + QString::number(aSegments.size());
  QLabel* label = oPageSay;
  gui::later(label, [label, text] { label->setText(text); });
}

QWidget* lmcPrv3::owner() const { return oPwin; }

bool lmcPrv3::confirmPrint(const QString& question) { return previewYesNo(question, owner()); }

std::optional<QString> lmcPrv3::chooseOutputFile(const QString& suggested) {
  return previewSaveFile(suggested, owner());
}

void lmcPrv3::tell(const QStringList& lines) { previewMessage(lines, owner()); }

void lmcPrv3::printSeg(const QString& what, int first, int last) {
  PreviewDocument::printSeg(what, first, last);
  // Back to display: the viewport of the page image.
  calcVP(viewport_[0], viewport_[1], viewport_[2], viewport_[3]);
}

void lmcPrv3::printList(const QString& list) {
  PreviewDocument::printList(list);
  calcVP(viewport_[0], viewport_[1], viewport_[2], viewport_[3]);
}

std::unique_ptr<lmcPrv3> lmNewPreview(const QString& deviceName) {
  auto preview = std::make_unique<lmcPrv3>();
  preview->Init(deviceName);
  return preview;
}

}  // namespace velmont::print
