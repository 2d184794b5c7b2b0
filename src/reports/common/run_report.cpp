#include "run_report.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

#include "data/code_page.h"
#include "data/error.h"
#include "data/table.h"
#include "data/text.h"
#include "data/workspace.h"
#include "output_paths.h"
#include "print/page_printer.h"
#include "print/preview_printer.h"

namespace velmont::reports {

namespace {

const char* const kScaleLine = "0   printing   50%   report  100%";
constexpr int kControlPrintRecord = 3;  // control record 3 holds the print settings
constexpr double kLeftMargin = 20;      // 2 mm

// Top margin and logo height from control record 3; the table is left open on
// its first record for the report's body.
void applyControlRecord(data::Workspace& ws, const std::string& dataDir, print::lmcPrn3& printer,
                        double& logoHeight) {
  data::Table& control = ws.open(schoolFile(dataDir, "sccontro.dbf"), "sccontro");
  if (control.reccount() >= kControlPrintRecord) {
    control.goTo(kControlPrintRecord);
    // The field holds millimetres; the printer's margins are in 0.1 mm.
    printer.setTopMar(control.num("PA_OPN_BAL") * 10);
    logoHeight = control.num("PA_NXT_TRN");
  }
  control.goTop();
  printer.setLeftMar(kLeftMargin);
}

// Text mode: the printer writes rows and columns to the text file, replaced.
bool startTextMode(print::lmcPrn3& printer, const std::string& path, int codePage) {
  printer.lAscii = true;
  printer.charDevice().setPos(0, 0);
  printer.charDevice().setCodePage(codePage);
  return printer.charDevice().open(QString::fromStdString(path));
}

QString describe(const data::DataError& e) {
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
  return request.textUtf8 ? 0 : data::schoolCodePage(request.dataDir).codePage;
}

std::string schoolFile(const std::string& dir, const std::string& name) {
  namespace fs = std::filesystem;
  const fs::path base = dir.empty() ? fs::path(".") : fs::path(dir);
  const fs::path exact = base / name;
  std::error_code ec;
  if (fs::exists(exact, ec)) return exact.string();
  auto lower = [](std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
  };
  const std::string wanted = lower(name);
  for (fs::directory_iterator it(base, ec), end; !ec && it != end; it.increment(ec))
    if (lower(it->path().filename().string()) == wanted) return it->path().string();
  return exact.string();
}

RunOutcome runReport(const RunRequest& request, RunUi& ui, const RunBody& body) {
  RunOutcome outcome;
  std::exception_ptr failure;
  data::KeepReadsScope keepReads;  // each part of a school file is read once per run
  data::Workspace ws;  // the run's own work areas, closed with the run
  std::unique_ptr<print::lmcPrn3> printer;
  print::lmcPrv3* preview = nullptr;
  bool progressShown = false;
  bool textMode = false;
  for (const std::string& output : {request.outputFile.toStdString(), data::trim(request.prAscii)}) {
    const QStringList refused = outputRefusal(output, request.dataDir);
    if (refused.isEmpty()) continue;
    outcome.error = refused.join(' ');
    ui.message(refused);
    ui.finished();
    return outcome;
  }
  try {
    if (request.preview) {
      auto p = request.makeDevice ? std::make_unique<print::lmcPrv3>() : print::lmNewPreview(request.printerName);
      preview = p.get();
      printer = std::move(p);
      ui.handleKeys(false);
    } else {
      printer = request.makeDevice ? std::make_unique<print::lmcPrn3>() : print::lmNewPrinter(request.printerName);
    }
    if (request.makeDevice) printer->Init(request.makeDevice());
    print::applyPrinterSettings(*printer, request.printerSettings, false);
    printer->setOrientation(request.portrait ? print::kPortrait : print::kLandscape);
    if (!request.outputFile.isEmpty()) printer->setOutputFile(request.outputFile);
    printer->create();
    if (printer->lInitErr) {
      // The page printer has told the user; nothing is drawn.
      ui.handleKeys(true);
      ui.finished();
      return outcome;
    }
    const std::string ascii = data::trim(request.prAscii);
    if (!ascii.empty()) {
      textMode = true;
      if (!startTextMode(*printer, ascii, textFileCodePage(request)))
        throw data::DataError(ascii, "the text file cannot be written");
    } else {
      printer->startDoc(request.title);
    }
    if (request.pitch > 0) printer->setPt(request.pitch);
    ui.progressBegin();
    progressShown = true;
    RunSetup setup{request, *printer, preview, ws, ui};
    applyControlRecord(ws, request.dataDir, *printer, setup.logoHeight);
    body(setup);
    outcome.nothingMatched = setup.nothingMatched;
    outcome.ran = true;
  } catch (const data::DataError& e) {
    outcome.error = describe(e);
  } catch (...) {
    failure = std::current_exception();
  }

  // The end of every run, whatever happened above.
  try {
    if (printer && !printer->lInitErr) {
      // Only a run that ended well and drew something sends its document.
      const bool send = outcome.error.isEmpty() && !failure && !outcome.nothingMatched;
      outcome.pages = send ? printer->nPage : 0;
      if (textMode) {
        if (send)
          printer->charDevice().close();
        else
          printer->charDevice().discard();
      } else if (send || preview) {
        printer->endDoc();
      } else {
        printer->abandonDoc();
      }
      if (!request.preview && send) outcome.destination = textMode ? QString::fromStdString(data::trim(request.prAscii))
                                                                   : printer->destination();
      if (!request.preview && send) ui.notice(sentToNotice(request, outcome.destination));
      if (outcome.nothingMatched) ui.notice(QString::fromLatin1(kNoStudentsMatch));
      if (preview && send) {
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

namespace {

// What the run's thread and its handle share: the outcome and whether it is there.
struct RunState {
  std::mutex mutex;
  std::condition_variable changed;
  bool done = false;
  RunOutcome outcome;

  void finish(RunOutcome result) {
    {
      std::lock_guard lock(mutex);
      outcome = std::move(result);
      done = true;
    }
    changed.notify_all();
  }
};

// The handle owns the run's thread and joins it before it goes away, so no run
// thread (nor Qt's clean-up of it) outlives the dialog or the application.
class ThreadRun : public RunHandle {
 public:
  explicit ThreadRun(std::function<RunOutcome()> work) : state_(std::make_shared<RunState>()) {
    thread_ = std::thread([state = state_, work = std::move(work)]() mutable {
      RunOutcome outcome;
      try {
        outcome = work();
      } catch (...) {
        outcome.error = QStringLiteral("The report's run failed unexpectedly.");
      }
      // The captures (the request, the run UI with its pointers to the
      // dialog's widgets) go before anyone is told that the run is over.
      work = nullptr;
      state->finish(std::move(outcome));
    });
    runId_ = thread_.get_id();
  }
  ~ThreadRun() override {
    waitDone();
    joinThread();
  }

  bool done() const override {
    std::lock_guard lock(state_->mutex);
    return state_->done;
  }
  RunOutcome wait() override {
    waitDone();
    joinThread();
    std::lock_guard lock(state_->mutex);
    return state_->outcome;
  }

 private:
  // From the GUI thread events keep flowing, since the run may be waiting for
  // an answer from it (a message, a preview window).
  void waitDone() {
    if (onRunThread()) return;
    const bool gui = QCoreApplication::instance() &&
                     QThread::currentThread() == QCoreApplication::instance()->thread();
    std::unique_lock lock(state_->mutex);
    while (!state_->done) {
      if (gui) {
        lock.unlock();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        lock.lock();
        state_->changed.wait_for(lock, std::chrono::milliseconds(5));
      } else {
        state_->changed.wait(lock);
      }
    }
  }
  // Once only, from whichever caller comes first. The run's thread cannot join
  // itself: should its own run drop the handle, it ends right after.
  void joinThread() {
    std::lock_guard lock(joinMutex_);
    if (!thread_.joinable()) return;
    if (onRunThread())
      thread_.detach();
    else
      thread_.join();
  }
  bool onRunThread() const { return runId_ == std::this_thread::get_id(); }

  std::shared_ptr<RunState> state_;
  std::mutex joinMutex_;
  std::thread thread_;
  std::thread::id runId_;
};

}  // namespace

std::shared_ptr<RunHandle> startOnThread(std::function<RunOutcome()> work) {
  return std::make_shared<ThreadRun>(std::move(work));
}

std::shared_ptr<RunHandle> startRun(RunRequest request, std::shared_ptr<RunUi> ui, RunBody body) {
  return startOnThread([request = std::move(request), ui = std::move(ui), body = std::move(body)] {
    return runReport(request, *ui, body);
  });
}

}  // namespace velmont::reports
