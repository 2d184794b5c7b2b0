// Printing recorded pages: every print job starts and ends within one printSeg.
#include "preview_dialogs.h"
#include "preview_printer.h"
#include "preview_window.h"

namespace velmont::print {

QWidget* lmcPrv3::owner() const { return oPwin; }

void lmcPrv3::printSeg(const QString& what, int first, int last) {
  const int pages = pageCount();
  QString question;
  std::vector<int> chosen;  // segments, in print order
  if (what == "all") {
    question = "Print All Pages?";
    chosen = aSegments;
  } else if (what == "curr") {
    question = "Print Current Page?";
    if (positionOf(nSeg) > 0) chosen = {nSeg};
  } else if (what == "range") {
    question = "Print page " + QString::number(first) + " through page " + QString::number(last) + "?";
    // A range outside the recorded pages prints nothing rather than reading past them.
    if (first >= 1 && last <= pages && first <= last)
      chosen.assign(aSegments.begin() + (first - 1), aSegments.begin() + last);
  } else {
    return;
  }
  if (chosen.empty() || !device()) return;  // nothing to print: no job is started
  if (lPrnPrompt && !previewYesNo(question, owner())) return;

  const PageList blank(aPageSize[0], aPageSize[1]);
  PrintDevice& printer = *device();
  // One job, with the copies, duplex, paper and colour the run was given; the
  // device begins a new sheet before every page but the first.
  printer.setJobSettings(jobSettings());
  printer.startDoc(QString());
  for (int segment : chosen) {
    const PageList* page = segmentPage(segment);
    printer.printPage(page ? *page : blank);
  }
  printer.endDoc();
  // Back to display: the viewport of the page image.
  calcVP(viewport_[0], viewport_[1], viewport_[2], viewport_[3]);
}

}  // namespace velmont::print
