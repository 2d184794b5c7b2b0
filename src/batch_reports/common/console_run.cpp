#include "console_run.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QStringList>
#include <atomic>
#include <csignal>
#include <filesystem>

#include "batch/arguments.h"
#include "data/code_page.h"
#include "data/error.h"
#include "data/file.h"
#include "data/table.h"
#include "school/year_names.h"
#include "print/output_folder.h"
#include "print/page_image.h"
#include "qtcore/qt_process.h"
#include "qtcore/school_text.h"

namespace velmont::batch {

namespace {

// The signal that asked the run to stop, 0 while none has. A handler may only
// store into a lock-free atomic.
std::atomic<int> stopSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void askStop(int signal) { stopSignal.store(signal); }

using Handler = void (*)(int);
Handler previousInt = SIG_DFL, previousTerm = SIG_DFL;

}  // namespace

void ensureGuiApplication() {
  if (QCoreApplication::instance()) return;
  qtcore::prepareQtProcess();
#ifndef _WIN32
  // Windows' own platform needs no display and draws with the system's fonts; elsewhere
  // without a display only the offscreen platform starts.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
  static int argc = 1;
  static char name[] = "velmont-batch";
  static char* argv[] = {name, nullptr};
  static QGuiApplication app(argc, argv);
}

void ConsoleRunUi::progressCount(int printed, int total) {
  if (total < 0) return;
  counted_ = true;
  progress_.count(label_, uint64_t(printed), uint64_t(total));
}

void ConsoleRunUi::progressStep(data::Table& table) {
  if (counted_) return;  // the count tells more
  if (!started_) {
    progress_.start(label_, table.reccount());
    started_ = true;
  }
  progress_.set(table.recno());
}

void ConsoleRunUi::message(const QStringList& lines) {
  progress_.interrupt();
  err_ << "velmont-batch: " << lines.join(" ").toStdString() << "\n";
}

void ConsoleRunUi::failure(std::exception_ptr error, const std::string& operation) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    err_ << "velmont-batch: " << operation << ": " << e.what() << "\n";
  } catch (...) {
    err_ << "velmont-batch: " << operation << ": unknown failure\n";
  }
  failed = true;
}

const char* const kExitStatusHelp =
    "The output never replaces one of the school's files, and it is put in place only when\n"
    "the run ends well. Exit status: 0 printed; 1 a file is missing or damaged, or the output\n"
    "could not be written; 2 a wrong argument; 3 no student matched the options, the year has\n"
    "no subject records (cards), no subjects were found (list), or the run has none of the\n"
    "--pages (nothing was printed or written); 130 or 143 stopped by a signal (see below).\n\n";

const char* const kStopHelp =
    "Ctrl-C (SIGINT) or SIGTERM stops the run after the card or student being printed: nothing\n"
    "is printed or written (an earlier output file stays as it was), and the exit status is\n"
    "130 (SIGINT) or 143 (SIGTERM). On a terminal a bar shows the cards or students printed\n"
    "of the total, the rate and the time left.\n";

StopOnSignals::StopOnSignals() : control_(std::make_shared<reports::RunControl>(&stopSignal)) {
  stopSignal.store(0);
  previousInt = std::signal(SIGINT, askStop);
  previousTerm = std::signal(SIGTERM, askStop);
}

StopOnSignals::~StopOnSignals() {
  std::signal(SIGINT, previousInt == SIG_ERR ? SIG_DFL : previousInt);
  std::signal(SIGTERM, previousTerm == SIG_ERR ? SIG_DFL : previousTerm);
}

int StopOnSignals::exitStatus() const { return 128 + stopSignal.load(); }

void makePictureFolder(const std::string& dir) {
  std::error_code ec;
  std::filesystem::create_directories(data::fsPath(dir), ec);
  if (ec)
    throw data::DataError(dir, "the folder for --png cannot be made (" + ec.message() +
                                   "): choose a folder in which you may write");
}

PngTeeDevice::PngTeeDevice(std::unique_ptr<print::PrintDevice> inner, QString dir)
    : ForwardingDevice(std::move(inner)), dir_(std::move(dir)) {}

PngTeeDevice::~PngTeeDevice() = default;

void PngTeeDevice::setStopCheck(std::function<bool()> stopAsked) {
  stopAsked_ = stopAsked;
  inner_->setStopCheck(std::move(stopAsked));
}

bool PngTeeDevice::startDoc(const QString& name) {
  failure_.clear();
  written_.clear();
  folder_ = std::make_unique<print::OutputFolder>(dir_);
  if (!folder_->begin()) {
    failure_ = folder_->failure();  // with the picture folder as the destination named
    folder_.reset();
    return false;
  }
  if (inner_->startDoc(name)) return true;
  folder_.reset();
  return false;
}

bool PngTeeDevice::printPage(const print::PageList& page) {
  if (!folder_) return false;
  const QImage image = print::renderPage(page, paperSize(), 100);
  const QString name = QString("page-%1.png").arg(written_.size() + 1, 4, 10, QChar('0'));
  if (!image.save(folder_->workFile(name), "PNG")) {
    failure_ = QStringLiteral("the picture %1 cannot be written").arg(name);
    return false;
  }
  written_ << name;
  return inner_->printPage(page);
}

bool PngTeeDevice::endDoc() {
  if (!folder_) return false;
  // A stopped run leaves every earlier file as it was: nothing is ended.
  if (!failure_.isEmpty() || (stopAsked_ && stopAsked_())) {
    abandonDoc();
    return false;
  }
  bool ok = inner_->endDoc();
  // The earlier run's pictures, and pictures a run before this version left
  // half-named, all give way to this run's.
  if (ok) {
    ok = folder_->commit(written_, folder_->entriesMatching(QStringLiteral("page-[0-9]{4,}\\.png(\\.part)?")));
    if (!ok) failure_ = QStringLiteral("the pictures cannot be put in place: ") + folder_->failure();
  }
  folder_.reset();
  written_.clear();
  return ok;
}

void PngTeeDevice::abandonDoc() {
  inner_->abandonDoc();
  folder_.reset();
  written_.clear();
}

}  // namespace velmont::batch

namespace velmont::batch {

std::vector<QString> jobSettingsOption(const Arguments& a, bool duplexReadyFiles) {
  if (!a.has("copies") && !a.has("duplex")) return {};
  const bool printer = a.has("printer");
  if (a.has("copies") && !printer)
    throw UsageError("--copies goes with --printer: a file is written once (print it as often as needed)");
  if (a.has("duplex") && !printer && !(duplexReadyFiles && (a.has("pdf") || a.has("pdf-dir"))))
    throw UsageError(duplexReadyFiles ? "--duplex goes with --printer, --pdf or --pdf-dir" : "--duplex goes with --printer");
  std::vector<QString> settings(10);
  settings[0] = QString::number(a.number("copies", 1, 1, 999));
  if (const auto duplex = a.value("duplex")) {
    // The printer's own numbering: 0 one-sided, 2 long edge, 3 short edge.
    if (*duplex == "off") settings[6] = "0";
    else if (*duplex == "long") settings[6] = "2";
    else if (*duplex == "short") settings[6] = "3";
    else throw UsageError("--duplex: \"" + *duplex + "\" is not long, short or off");
  }
  return settings;
}

}  // namespace velmont::batch
