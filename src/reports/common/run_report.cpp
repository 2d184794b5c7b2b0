#include "run_report.h"

#include <filesystem>

#include "data/error.h"
#include "data/file.h"
#include "data/table.h"
#include "data/text.h"
#include "data/workspace.h"
#include "output_paths.h"
#include "qtcore/school_text.h"
#include "print/page_printer.h"
#include "print/preview_document.h"

namespace velmont::reports {

std::unique_ptr<print::PreviewDocument> RunUi::newPreview() {
  return std::make_unique<print::PreviewDocument>();
}

namespace {

const char* const kScaleLine = "0   printing   50%   report  100%";
constexpr int kControlPrintRecord = 3;  // control record 3 holds the print settings

// The extra top margin (0.1 mm) and the logo height from control record 3; the
// table is left open on its first record for the report.
double readControlRecord(data::Workspace& ws, const school::SchoolFolder& folder, double& logoHeight) {
  data::Table& control = ws.open(folder.table("sccontro"), "sccontro");
  double topMargin = 0;
  if (control.reccount() >= kControlPrintRecord) {
    control.goTo(kControlPrintRecord);
    // The field holds millimetres; the printer's margins are in 0.1 mm.
    topMargin = control.num("PA_OPN_BAL") * 10;
    logoHeight = control.num("PA_NXT_TRN");
  }
  control.goTop();
  return topMargin;
}

// Text mode: the printer writes rows and columns to the text file, replaced.
bool startTextMode(print::lmcPrn3& printer, const std::string& path, int codePage, bool lf) {
  printer.lAscii = true;
  printer.charDevice().setPos(0, 0);
  printer.charDevice().setCodePage(codePage);
  printer.charDevice().setLineEnd(lf ? "\n" : "\r\n");
  return printer.charDevice().open(QString::fromStdString(path));
}

// A document that its device would not start: nothing was drawn or sent.
struct NotSent {
  QString message;
};

QString describe(const data::DataError& e, const school::SchoolFolder& folder) {
  // A file the program makes in the school's folder (an index, a side table)
  // that cannot be made: most often a folder the user may only read.
  const std::string cannotCreate = "cannot create: ";
  std::error_code ec;
  if (!e.file().empty() && e.reason().rfind(cannotCreate, 0) == 0 &&
      std::filesystem::equivalent(data::fsPath(e.file()).parent_path(),
                                  data::fsPath(folder.dir().empty() ? "." : folder.dir()), ec))
    return QString::fromStdString(e.file() + ": cannot be made in the school's folder (" +
                                  e.reason().substr(cannotCreate.size()) +
                                  "): the program keeps its indexes and side tables there; let it write in the "
                                  "folder, or print from a copy of the school in a folder it may write in");
  return QString::fromStdString(e.file().empty() ? e.reason() : e.file() + ": " + e.reason());
}

}  // namespace

QString sentToNotice(const RunRequest& request, const QString& deviceDestination) {
  QString where = QStringLiteral("the printer");
  const QString ascii = QString::fromStdString(request.prAscii).trimmed();
  if (!ascii.isEmpty())
    where = ascii;
  else if (request.printerName == print::kPdfDeviceName && !deviceDestination.isEmpty())
    where = deviceDestination;  // a file, not a printer: say which
  return QStringLiteral("Report has been sent to ") + where;
}

int textFileCodePage(const RunRequest& request) {
  // What a text printer and the administration system expect, unless the file
  // is meant to be read on screen.
  return request.textUtf8 ? 0 : request.folder.codePage().codePage;
}

bool RunSetup::stopAsked() {
  if (!stopped && request.control && request.control->stopAsked()) stopped = true;
  return stopped;
}

void RunSetup::expect(int total) {
  expected = total;
  ui.progressCount(printed, expected);
}

void RunSetup::printedOne(const QString& name) {
  ++printed;
  lastPrinted = name;
  ui.progressCount(printed, expected);
}

QString stoppedNotice(const RunRequest& request, const QString& deviceDestination, const RunSetup& setup) {
  const QString where = sentToNotice(request, deviceDestination).mid(int(qstrlen("Report has been sent to ")));
  QString when = QStringLiteral("before its first ") + setup.unit;
  if (setup.printed > 0) {
    when = QStringLiteral("after %1 %2").arg(setup.unit).arg(setup.printed);
    if (setup.expected > 0) when += QStringLiteral(" of %1").arg(setup.expected);
    if (!setup.lastPrinted.isEmpty()) when += QStringLiteral(" (") + setup.lastPrinted + QStringLiteral(")");
  }
  return QStringLiteral("The report was stopped ") + when + QStringLiteral(": nothing was sent to ") + where + '.';
}

RunOutcome runReport(const RunRequest& request, RunUi& ui, const RunBody& body) {
  return runReport(request, ui, RunSteps{nullptr, body});
}

RunOutcome runReport(const RunRequest& request, RunUi& ui, const RunSteps& steps) {
  RunOutcome outcome;
  std::exception_ptr failure;
  data::KeepReadsScope keepReads;  // each part of a school file is read once per run
  data::Workspace ws;  // the run's own work areas, closed with the run
  // The report prints the school's text in its code page.
  const qtcore::SchoolText::ThreadScope schoolText(
      qtcore::SchoolText::of(request.folder.codePage().codePage));
  std::unique_ptr<print::lmcPrn3> printer;
  print::PreviewDocument* preview = nullptr;
  std::unique_ptr<RunSetup> setup;
  bool progressShown = false;
  bool textMode = false;
  bool created = false;
  for (const std::string& output : {request.outputFile.toStdString(), data::trim(request.prAscii)}) {
    const QStringList refused = outputRefusal(output, request.folder);
    if (refused.isEmpty()) continue;
    outcome.error = refused.join(' ');
    ui.message(refused);
    ui.finished();
    return outcome;
  }
  try {
    if (request.preview) {
      std::unique_ptr<print::PreviewDocument> p = ui.newPreview();
      if (!request.makeDevice) p->Init(request.printerName);
      // What the preview's Print writes goes through the same refusal as the run's output.
      p->outputCheck = [folder = request.folder](const QString& file) {
        return outputRefusal(file.toStdString(), folder);
      };
      p->saveName = request.saveName;
      p->saveReport = QString::fromStdString(request.reportCode);
      preview = p.get();
      printer = std::move(p);
      ui.handleKeys(false);
    } else {
      printer = request.makeDevice ? std::make_unique<print::lmcPrn3>() : print::lmNewPrinter(request.printerName);
    }
    if (request.makeDevice) printer->Init(request.makeDevice());
    // A stop asked while the document's files are being written still counts.
    if (request.control) printer->setStopCheck([control = request.control] { return control->stopping(); });
    // A preview keeps the settings too, for the jobs its Print command starts.
    print::applyPrinterSettings(*printer, request.printerSettings, request.pageFromSettings);
    if (!request.pageFromSettings) printer->setOrientation(request.portrait ? print::kPortrait : print::kLandscape);
    if (!request.outputFile.isEmpty()) printer->setOutputFile(request.outputFile);
    setup = std::make_unique<RunSetup>(RunSetup{request, *printer, preview, ws, ui});
    ui.progressBegin();
    progressShown = true;
    const double topMargin = readControlRecord(ws, request.folder, setup->logoHeight);
    setup->topMargin = topMargin;
    if (steps.prepare) steps.prepare(*setup);
    printer->create();
    if (printer->lInitErr) {
      // The page printer has told the user; nothing is drawn.
      ui.progressEnd();
      ui.handleKeys(true);
      ui.finished();
      return outcome;
    }
    created = true;
    const std::string ascii = data::trim(request.prAscii);
    if (!ascii.empty()) {
      textMode = true;
      if (!startTextMode(*printer, ascii, textFileCodePage(request), request.textLf))
        throw data::DataError(ascii, "the text file cannot be written");
    } else if (!printer->startDoc(request.title)) {
      // A printer that takes no job now is found out before anything is drawn.
      throw NotSent{printer->notSentMessage()};
    }
    if (request.pitch > 0) printer->setPt(request.pitch);
    printer->setTopMar(topMargin);
    printer->setLeftMar(kRunLeftMargin);
    if (steps.body) steps.body(*setup);
    // A stop asked after the last card still keeps the document from coming out.
    if (!setup->nothingMatched) setup->stopAsked();
    outcome.nothingMatched = setup->nothingMatched;
    outcome.stopped = setup->stopped;
    outcome.ran = true;
  } catch (const NotSent& e) {
    outcome.error = e.message;
  } catch (const data::DataError& e) {
    outcome.error = describe(e, request.folder);
  } catch (...) {
    failure = std::current_exception();
  }
  if (setup) outcome.printed = setup->printed;

  // The end of every run, whatever happened above.
  try {
    if (printer && created) {
      // Only a run that ended well, was not stopped and drew something sends its document.
      bool send = outcome.error.isEmpty() && !failure && !outcome.nothingMatched && !outcome.stopped;
      outcome.pages = send ? printer->nPage : 0;
      const QString deviceDestination = printer->destination();
      if (textMode) {
        if (send)
          printer->charDevice().close();
        else
          printer->charDevice().discard();
      } else if (send || (preview && !outcome.stopped)) {
        if (!printer->endDoc() && send && !preview) {
          send = false;
          outcome.pages = 0;
          if (request.control && request.control->stopping())
            outcome.stopped = setup->stopped = true;  // stopped while its files were written
          else if (!printer->documentDropped())
            outcome.error = printer->notSentMessage();
        }
      } else {
        printer->abandonDoc();
      }
      if (!request.preview && send) {
        outcome.destination = textMode ? QString::fromStdString(data::trim(request.prAscii)) : printer->destination();
        outcome.files = textMode ? 1 : printer->filesWritten();
        ui.outcome(sentToNotice(request, outcome.destination), outcome);
      }
      if (outcome.stopped && outcome.error.isEmpty() && !failure)
        ui.outcome(stoppedNotice(request, deviceDestination, *setup), outcome);
      if (outcome.nothingMatched)
        ui.outcome(setup->nothingNotice.isEmpty() ? QString::fromLatin1(kNoStudentsMatch) : setup->nothingNotice,
                   outcome);
      if (preview && send && setup->showFinalPreview) {
        ui.previewWindow(*preview, false);
        preview->destroyPwin();
      }
    }
  } catch (...) {
    if (!failure) failure = std::current_exception();
  }
  if (!outcome.error.isEmpty()) ui.message({QStringLiteral("The report has stopped."), outcome.error});
  if (progressShown) ui.progressEnd();
  ws.closeAll();
  if (printer) printer->destroy();
  printer.reset();
  if (request.preview) ui.handleKeys(true);
  if (failure) ui.failure(failure, "printing " + request.title.toStdString());
  ui.finished();
  return outcome;
}

std::shared_ptr<RunHandle> startRun(RunRequest request, std::shared_ptr<RunUi> ui, RunBody body) {
  if (!request.control) request.control = std::make_shared<RunControl>();
  std::shared_ptr<RunControl> control = request.control;
  return startOnThread(std::move(control), [request = std::move(request), ui = std::move(ui), body = std::move(body)] {
    return runReport(request, *ui, body);
  });
}

}  // namespace velmont::reports
