#pragma once
// The save question of a run printed on the "PDF" device: where to save, and
// two choices beside the file: an archival PDF (PDF/A-1b, the school named as
// its author) and, where the report offers it, one file per family written
// into a folder with cards.csv.
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace velmont::reports {

struct RunRequest;

struct PdfSaveChoice {
  bool archival = false;
  bool perFamily = false;
  QString folder;  // with perFamily: the folder that receives the files
};

// On the GUI thread, before a run starts: when the run prints on the "PDF"
// device (no preview, no text file), asks where to save and puts the answer in
// request.outputFile (an archival choice also in request.makeDevice). With
// `choice` the question offers "One file per family" and tells the caller what
// was chosen; a folder that names the school's data directory is refused with
// a message, and a folder that already holds files is written into only when
// the user agrees. The question offers request.saveName (else the title) in the
// folder last saved to for the report. False when the user cancelled (the run
// must not start).
bool askPdfFile(QWidget* owner, RunRequest& request, PdfSaveChoice* choice = nullptr);

// The name a report's file is offered under: its title, the term and year it
// prints for, and what narrows it down ("End of Term Report - Term 3 2026 - 7A").
QString reportFileName(const QString& title, int term, int year, const QStringList& parts = {});

// Before a run writes the text file request.prAscii: when a file of that name
// exists, asks whether to replace it, as the PDF's save question does. True
// when there is none or the user said Yes.
bool askToReplaceTextFile(QWidget* owner, const RunRequest& request);

// Tests answer the save question instead of a file dialog: the function gets
// the suggested path and returns the chosen one ("" cancels). Null restores the dialog.
void setPdfFileChooser(std::function<QString(const QString& suggested)> chooser);

// The same with the choices: the function gets the suggested path and whether
// one file per family is offered; nothing cancels.
struct PdfSaveAnswer {
  QString path;
  PdfSaveChoice choice;
};
void setPdfSaveChooser(std::function<std::optional<PdfSaveAnswer>(const QString& suggested, bool familyOffered)> chooser);

}  // namespace velmont::reports
