// Printing recorded pages: every print job starts and ends within one printSeg.
#include "pdf_folder.h"
#include "preview_document.h"

namespace velmont::print {

std::optional<QString> PreviewDocument::chooseOutputFile(const QString&) {
  const QString given = device() ? device()->outputFile() : QString();
  if (given.isEmpty()) return std::nullopt;
  return given;
}

void PreviewDocument::printSeg(const QString& what, int first, int last) {
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
  if (lPrnPrompt && !confirmPrint(question)) return;
  PrintDevice& printer = *device();
  // A device that writes files asks where, as printing to PDF from a report dialog
  // does, rather than writing into whatever folder the program was started from.
  if (printer.writesFiles()) {
    const QString earlier = printer.outputFile();
    const QString suggested = earlier.isEmpty() ? suggestedPdfFile(docName_.isEmpty() ? "Report" : docName_) : earlier;
    const std::optional<QString> file = chooseOutputFile(suggested);
    if (!file) return;  // cancelled: nothing is printed
    if (outputCheck) {
      const QStringList refused = outputCheck(*file);
      if (!refused.isEmpty()) {
        tell(refused);  // nothing is opened, nothing printed
        return;
      }
    }
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
    tell({written ? "Report has been sent to " + printer.destination()
                  : "The report could not be written to " + printer.destination()});
}

}  // namespace velmont::print
