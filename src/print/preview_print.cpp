// Printing recorded pages: every print job starts and ends within one printSeg.
#include "page_selection.h"
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
  printChosen(question, chosen);
}

void PreviewDocument::printList(const QString& list) {
  std::string why;
  const std::optional<PageSelection> selection = PageSelection::parse(list.toStdString(), &why);
  if (!selection) {
    tell({QStringLiteral("The list of pages is not right:"), QString::fromStdString(why)});
    return;
  }
  const int pages = pageCount();
  const std::vector<int> numbers = selection->pagesOf(pages);
  const QString missing = QString::fromStdString(selection->missingText(pages));
  const QString has = QStringLiteral("The report has ") + QString::number(pages) + (pages == 1 ? " page;" : " pages;");
  const bool several = missing.contains('-') || missing.contains(',') || missing.contains(QStringLiteral("onwards"));
  const QString named = (several ? QStringLiteral("pages ") : QStringLiteral("page ")) + missing;
  if (numbers.empty()) {
    tell({has, named + (several ? " do not exist." : " does not exist.") + " Nothing was printed."});
    return;
  }
  std::vector<int> chosen;
  for (int page : numbers) chosen.push_back(aSegments[size_t(page - 1)]);
  const QString question =
      QStringLiteral("Print pages ") + QString::fromStdString(PageSelection::describe(numbers)) + QStringLiteral("?");
  if (printChosen(question, chosen) && !missing.isEmpty())
    tell({has, named + (several ? " were not printed." : " was not printed.")});
}

bool PreviewDocument::printChosen(const QString& question, const std::vector<int>& chosen) {
  if (chosen.empty() || !device()) return false;  // nothing to print: no job is started
  if (lPrnPrompt && !confirmPrint(question)) return false;
  PrintDevice& printer = *device();
  // A device that writes files asks where, as printing to PDF from a report dialog
  // does, rather than writing into whatever folder the program was started from.
  if (printer.writesFiles()) {
    const QString earlier = printer.outputFile();
    const QString name = !saveName.isEmpty() ? saveName : docName_.isEmpty() ? QStringLiteral("Report") : docName_;
    const QString suggested = earlier.isEmpty() ? suggestedPdfFile(name, saveReport) : earlier;
    const std::optional<QString> file = chooseOutputFile(suggested);
    if (!file) return false;  // cancelled: nothing is printed
    if (outputCheck) {
      const QStringList refused = outputCheck(*file);
      if (!refused.isEmpty()) {
        tell(refused);  // nothing is opened, nothing printed
        return false;
      }
    }
    printer.setOutputFile(*file);
    rememberPdfSaveFolder(*file, saveReport);
  }

  const PageList blank(aPageSize[0], aPageSize[1]);
  // One job, with the copies, duplex, paper and colour the run was given; the
  // device begins a new sheet before every page but the first.
  printer.setJobSettings(jobSettings());
  if (!printer.startDoc(QString())) {
    tell({print::notSentMessage(printer)});  // a printer that takes no job now: nothing is drawn
    return false;
  }
  for (int segment : chosen) {
    const PageList* page = segmentPage(segment);
    printer.printPage(page ? *page : blank);
  }
  const bool written = printer.endDoc();
  if (!written)
    tell({print::notSentMessage(printer)});
  else if (printer.writesFiles())
    tell({"Report has been sent to " + printer.destination()});
  return written;
}

}  // namespace velmont::print
