#pragma once
// What the headless report commands share: the application object that fonts
// and PDF writing need, a run's messages and progress on the terminal, and a
// device that also keeps every page as a PNG picture.
#include <QString>
#include <QStringList>
#include <memory>
#include <ostream>
#include <vector>

#include "batch/progress.h"
#include "print/forwarding_device.h"
#include "print/print_device.h"
#include "reports/common/run_report.h"

namespace velmont::print {
class OutputFolder;
}

namespace velmont::batch {

// Makes the process's application object when there is none: on Linux offscreen
// unless a display is set; there are no windows. Qt's note that it picked a runtime
// folder of its own (started from cron or a root shell) is kept off stderr,
// which carries the program's own words.
void ensureGuiApplication();

// A run's notices, messages and failures on `err`, its progress as a bar.
class ConsoleRunUi : public reports::RunUi {
 public:
  ConsoleRunUi(std::ostream& err, std::string progressLabel) : err_(err), label_(std::move(progressLabel)) {}
  void progressBegin() override { started_ = false; }
  void progressStep(data::Table& table) override;
  void progressCount(int printed, int total) override;
  void progressEnd() override {
    progress_.finish();
    counted_ = false;
  }
  void notice(const QString& text) override {
    progress_.interrupt();
    err_ << text.toStdString() << "\n";
  }
  void message(const QStringList& lines) override;
  void failure(std::exception_ptr error, const std::string& operation) override;

  bool failed = false;  // a failure was reported

 private:
  std::ostream& err_;
  std::string label_;
  Progress progress_;
  bool started_ = false;
  bool counted_ = false;  // the run counts its cards or students: the bar shows them
};

// While it lives, SIGINT (Ctrl-C) and SIGTERM stop the run of `control()` after
// its current card or student instead of ending the process, so that nothing
// half-written is left behind; the handlers before are restored at its end.
class StopOnSignals {
 public:
  StopOnSignals();
  ~StopOnSignals();
  StopOnSignals(const StopOnSignals&) = delete;
  StopOnSignals& operator=(const StopOnSignals&) = delete;

  // The control to give the run.
  std::shared_ptr<reports::RunControl> control() const { return control_; }
  // The exit status of a run stopped by a signal: 128 + its number (130 for
  // SIGINT, 143 for SIGTERM).
  int exitStatus() const;

 private:
  std::shared_ptr<reports::RunControl> control_;
};

// What --help says about stopping a run.
extern const char* const kStopHelp;
// What --help of a report command says about its output file and exit status.
extern const char* const kExitStatusHelp;

class Arguments;

// The job settings of --copies N and --duplex long|short|off, in the printer
// dialog's order (empty when neither is given); a wrong value is a UsageError, and
// so is either option with an output they would not change: copies only go with
// --printer, and --duplex also with --pdf and --pdf-dir when `duplexReadyFiles`
// (the cards then start each card copy on a front page).
std::vector<QString> jobSettingsOption(const Arguments& a, bool duplexReadyFiles);

// Makes the --png folder when it is missing; a folder that cannot be made is
// refused (a DataError naming it, the reason and what to do).
void makePictureFolder(const std::string& dir);

// Hands each page on to `inner` and also writes it as DIR/page-0001.png, ...
// The pictures go into a work folder in DIR and are put in place when the
// document ends well, replacing the earlier run's pictures (page-NNNN.png)
// all together: DIR then holds exactly this run's pages beside other files.
class PngTeeDevice : public print::ForwardingDevice {
 public:
  PngTeeDevice(std::unique_ptr<print::PrintDevice> inner, QString dir);
  ~PngTeeDevice() override;
  bool startDoc(const QString& name) override;
  bool printPage(const print::PageList& page) override;
  bool endDoc() override;
  void abandonDoc() override;
  QString destination() const override { return failure_.isEmpty() ? inner_->destination() : dir_; }
  QString failureReason() const override { return failure_.isEmpty() ? inner_->failureReason() : failure_; }
  void setStopCheck(std::function<bool()> stopAsked) override;

 private:
  QString dir_;
  std::unique_ptr<print::OutputFolder> folder_;  // while a document is open
  std::function<bool()> stopAsked_;
  QStringList written_;  // this document's pictures, in the work folder
  QString failure_;
};

}  // namespace velmont::batch
