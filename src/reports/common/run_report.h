#pragma once
// The run machinery every report shares: a run takes a request made on the
// dialog's thread (or by velmont-batch), creates the page printer or the preview
// for the chosen device, turns the page, sets the margins of control record 3,
// switches to plain-text mode when a text file is chosen, shows the progress
// boxes, hands the printer to the report's body, and then ends the document,
// shows the closing notice "Report has been sent to ...", opens the final
// preview, hides the progress, closes the run's tables, destroys the printer
// and gives the dialog its buttons back.
//
// Use, from an options dialog on the GUI thread:
//
//   reports::RunRequest r;              // fill code, title, printer, preview, folder, prAscii
//   if (!reports::askPdfFile(dialog, r)) return;   // "PDF" device: where to save; false = cancelled
//   auto ui = reports::makeGuiRunUi(session, dialog, {printButton, previewButton});
//   reports::startRun(std::move(r), ui, [opts](reports::RunSetup& s) { MY_REPORT(s, opts); });
//
// startRun disables nothing itself: the dialog disables its buttons before it
// starts the run; the run enables them again as its very last step (RunUi::finished).
//
// Headless (velmont-batch, tests): call runReport on the calling thread with a
// RunUi of your own (see batch/reports/console_run.h, tests/reports/eot).
//
// Threads: runReport and the body run on one thread, which owns the printer and
// a Workspace of its own; every RunUi call comes from that thread and must be
// safe there (the GUI form hands it to the GUI thread).
//
// Stopping: the body asks RunSetup::stopAsked() before each card or student and
// tells RunSetup::printedOne() after each; a stopped run sends nothing (a
// printer's job is abandoned, a file is not put in place) and its closing
// notice names the last card or student printed.
#include <QString>
#include <QStringList>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "run_control.h"
#include "school/school_folder.h"

namespace velmont::data {
class Table;
class Workspace;
}  // namespace velmont::data

namespace velmont::print {
class lmcPrn3;
class PreviewDocument;
class PrintDevice;
}  // namespace velmont::print

namespace velmont::reports {

class RunUi;
struct RunOutcome;

// What a run is asked to do; fixed before it starts.
struct RunRequest {
  std::string reportCode;  // "T_EOT_Rpt", "L_Rpt_001"
  QString title;           // the report title: the document's and the preview window's name
  QString saveName;        // the name a PDF of it is offered under ("" for the title)
  QString printerName;     // the device name chosen in the dialog; "PDF" writes a file
  bool preview = false;    // lPreview: record pages for the preview window
  bool portrait = false;   // lPort: orientation 1 (portrait) or 2 (landscape)
  double pitch = 0;        // the column pitch the report draws in (setPt); 0 leaves the printer's
  school::SchoolFolder folder;  // the school's data directory
  std::string prAscii;     // C_Pr_Ascii: plain-text output file; blank prints on the device
  bool textUtf8 = false;   // the text file in UTF-8 instead of the school's code page
  bool textLf = false;     // the text file's lines end in LF alone, not CR LF
  QString outputFile;      // the PDF device's file (askPdfFile sets it); "" for its default
  QString author;          // the school, named in the metadata of archival PDF files
  // The printer dialog's job settings (copies, orientation, paper bin, resolution,
  // collation, colour, duplex, font mode, form size, print file); empty when not
  // chosen. The report keeps its own orientation.
  std::vector<QString> printerSettings;
  // Makes the device instead of opening printerName (tests: a memory device;
  // velmont-batch: a PDF device that also writes PNGs). Null opens printerName.
  std::function<std::unique_ptr<print::PrintDevice>()> makeDevice;
  // The page is turned as the printer settings say (portrait is not used); the
  // report may still turn it before the printer is created (RunSteps::prepare).
  bool pageFromSettings = false;
  // How the run is stopped; null when nobody can stop it (startRun makes one).
  std::shared_ptr<RunControl> control;
};

// Every report's left margin, 0.1 mm (2 mm).
inline constexpr double kRunLeftMargin = 20;

// What the run hands to the report's body.
struct RunSetup {
  const RunRequest& request;
  print::lmcPrn3& printer;    // created, document started (or text mode on), margins set
  print::PreviewDocument* preview;    // the same object as a preview, or null when printing
  data::Workspace& ws;        // the run's work areas; "sccontro" is open on its first record
  RunUi& ui;
  double logoHeight = 0;      // nPr_logoH: PA_NXT_TRN of control record 3 (mm; 0 default, -1 none)
  // The extra top margin (0.1 mm) of control record 3: the page's, and in a text
  // file the one the paper would have (a text file lays its pages out alike).
  double topMargin = 0;
  // The body sets this when no student matched the options: the document is
  // then dropped (nothing reaches the printer or a file) and the user is told.
  bool nothingMatched = false;
  // What the user is then told, when not kNoStudentsMatch (e.g. a year without subject records).
  QString nothingNotice;
  // False when the final preview window has nothing worth showing.
  bool showFinalPreview = true;
  // What the body prints one of: "card" or "student" (the progress and the
  // notice of a stopped run count them).
  QString unit = QStringLiteral("card");

  // Before each card or student: true when the user asked to stop; the body
  // then ends at once, and the run counts as stopped.
  bool stopAsked();
  // Once the body knows it: how many cards or students it will print.
  void expect(int total);
  // After each card or student; `name` says whose it was.
  void printedOne(const QString& name);

  bool stopped = false;  // the body ended on a stop
  int printed = 0;       // cards or students printed
  int expected = -1;     // expect()'s total, -1 when not known
  QString lastPrinted;   // printedOne()'s last name
};

// How a run meets its user. Every call comes from the run's thread.
class RunUi {
 public:
  virtual ~RunUi() = default;
  // The progress boxes shown with the scale line; one step per record of the
  // run's main loop (the table is the loop's, for the bar's length); hidden.
  virtual void progressBegin() {}
  virtual void progressStep(data::Table& table) {}
  virtual void progressEnd() {}
  // The cards or students printed so far of `total` (-1 when not known).
  virtual void progressCount(int printed, int total) {}
  // A passing notice (lmdQMsg: no wait).
  virtual void notice(const QString& text) {}
  // How the run ended, said once at its end: sent (with `outcome` telling where
  // and how many pages or files), stopped, or nothing to print. By default a
  // notice; the program keeps it in view until the user has seen it.
  virtual void outcome(const QString& text, const RunOutcome& outcome) { notice(text); }
  // A message box of one to three lines that the user must acknowledge.
  virtual void message(const QStringList& lines) {}
  // A preview window on the pages recorded so far: stepping before a further
  // card (answer 0 stop, 1 ask again before the next, 2 run on), or the final
  // window (answer ignored). The GUI form calls openPwin.
  virtual int previewWindow(print::PreviewDocument& preview, bool stepping) { return 2; }
  // The document a preview run records into, before its Init: the GUI form gives one
  // with a window; without one the pages are only recorded.
  virtual std::unique_ptr<print::PreviewDocument> newPreview();
  // A failure that is not the user's nor a named file's (the error box in the
  // program). The run has already been cleaned up when this comes.
  virtual void failure(std::exception_ptr error, const std::string& operation) {}
  // The options dialog's own key handling off (a preview starts) or on again.
  virtual void handleKeys(bool on) {}
  // The very last step of every run, also of one that failed: the dialog's
  // Print and Preview buttons are enabled again.
  virtual void finished() {}
};

// The report's drawing, given the started printer.
using RunBody = std::function<void(RunSetup& setup)>;

// What a report does within the shared run: `prepare` runs after the control
// record is read and before the printer is created (a report that must read
// its tables to know how to turn the page does so here; the printer is made
// but not created, the document not started); `body` draws on the started
// document.
struct RunSteps {
  RunBody prepare;
  RunBody body;
};

struct RunOutcome {
  bool ran = false;       // the printer was created and the body ran to its end
  QString destination;    // what the closing notice named ("" for a preview)
  int pages = 0;          // pages drawn (the printer's page count at the end)
  QString error;          // the message shown when the run stopped on a file's fault
  bool nothingMatched = false;  // no student matched: nothing was printed or written
  bool stopped = false;         // the user stopped the run: nothing was printed or written
  int printed = 0;              // cards or students printed (of a stopped run: before the stop)
  int files = 0;                // files written: 1 for a PDF or text file, one per family in a folder
};

// What a run that found no student tells the user.
inline constexpr const char* kNoStudentsMatch = "There are no Students matching these options";

// The whole run on the calling thread; see the file comment for the steps.
// An output file or text file that names one of the school's files is refused
// before anything is opened; output files are written under a temporary name
// and put in place only when the run ends well, so a run that fails or finds
// nothing leaves no file and any earlier one as it was.
// A missing or damaged file stops the run with a message naming it (RunUi::message);
// any other exception goes to RunUi::failure. Never throws.
RunOutcome runReport(const RunRequest& request, RunUi& ui, const RunSteps& steps);
RunOutcome runReport(const RunRequest& request, RunUi& ui, const RunBody& body);

// Starts runReport on a new thread and returns at once. Dropping the last
// handle waits for the run to end. The handle's control stops the run.
std::shared_ptr<RunHandle> startRun(RunRequest request, std::shared_ptr<RunUi> ui, RunBody body);

// The text of the closing notice: "Report has been sent to " and the text file,
// the PDF file, or "the printer".
QString sentToNotice(const RunRequest& request, const QString& deviceDestination);

// The notice of a stopped run: after which card or student it stopped, and
// that nothing reached the printer or the file.
// `deviceDestination` as for sentToNotice.
QString stoppedNotice(const RunRequest& request, const QString& deviceDestination, const RunSetup& setup);

// The code page a run's plain-text file is written in: the school's, or 0 for UTF-8.
int textFileCodePage(const RunRequest& request);

}  // namespace velmont::reports
