// Printing recorded pages: every print job starts and ends within one printSeg.
#include "pdf_folder.h"
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
  PrintDevice& printer = *device();
  // A device that writes files asks where, as printing to PDF from a report dialog
  // does, rather than writing into whatever folder the program was started from.
  if (printer.writesFiles()) {
    const QString earlier = printer.outputFile();
    const QString suggested = earlier.isEmpty() ? suggestedPdfFile(docName_.isEmpty() ? "Report" : docName_) : earlier;
    const std::optional<QString> file = previewSaveFile(suggested, owner());
    if (!file) return;  // cancelled: nothing is printed
    printer.setOutputFile(*file);
  }

  const PageList blank(aPageSize[0], aPageSize[1]);
  // One job, with the copies, duplex, paper and colour the run was given; the
  // device begins a new sheet before every page but the first.
  printer.setJobSettings(jobSettings());
  printer.startDoc(QString());
  for (int segment : chosen) {
    const PageList* page = segmentPage(segment);
    printer.printPage(page ? *page : blank);
  }
  const bool written = printer.endDoc();
  if (printer.writesFiles())
    previewMessage({written ? "Report has been sent to " + printer.destination()
                            : "The report could not be written to " + printer.destination()},
                   owner());
  // Back to display: the viewport of the page image.
  calcVP(viewport_[0], viewport_[1], viewport_[2], viewport_[3]);
}

}  // namespace velmont::print
