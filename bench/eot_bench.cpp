// End-of-term cards of the demo school: cards and pages per second to a PDF,
// files and cards per second split into one PDF per family,
// peak memory of a 200- and a 2,000-student run to PDF and of a 2,000-student
// run split by family (each in a process of its own), and the time until a preview has its first page ready for the window.
#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "school/school_settings.h"
#include "batch/demo_school.h"
#include "batch/progress.h"
#include "bench_util.h"
#include "data/workspace.h"
#include "school/year_names.h"
#include "print/print_device.h"
#include "reports/eot/card_files.h"
#include "reports/eot/eot_request.h"
#include "reports/eot/eot_run.h"

namespace {

using namespace velmont;
constexpr int kYear = 2026;

std::string makeSchool(const QTemporaryDir& tmp, int students) {
  batch::DemoOptions o;
  o.dir = tmp.filePath(QString("school-%1").arg(students)).toStdString();
  o.students = students;
  o.year = kYear;
  batch::Progress quiet(false);
  batch::writeDemoSchool(o, quiet);
  return o.dir;
}

school::SessionValues sessionFor(const std::string& dir) {
  school::SessionValues s = school::freshSessionValues(school::SchoolFolder(dir), data::Date::fromYmd(kYear, 8, 3));
  s.year = kYear;
  s.term = 3;
  school::readSchoolWords(s);
  school::readSchoolName(s);
  school::readControlValues(s);
  return s;
}

// Every card of the school, built as the dialog and velmont-batch build them.
eot::EotRequest allLevels(const school::SessionValues& s, bool preview = false) {
  return eot::eotRequest(s, {.printerName = print::kPdfDeviceName, .preview = preview});
}

// Answers the first stepping window at once and runs to the end.
class TimingUi : public reports::RunUi {
 public:
  int previewWindow(print::PreviewDocument&, bool stepping) override {
    if (stepping && firstPage < 0) firstPage = seconds();
    return 2;
  }
  double seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
  double firstPage = -1;
};

eot::EotFigures toPdf(const std::string& dir, const QString& pdf, int* pages) {
  const school::SessionValues s = sessionFor(dir);
  eot::EotRequest built = allLevels(s);
  reports::RunRequest r = built.run;
  r.outputFile = pdf;
  reports::RunUi ui;
  eot::EotFigures f;
  const reports::RunOutcome outcome = eot::PR_EOT_RPTS(r, built.options, s, ui, &f);
  if (pages) *pages = outcome.pages;
  return f;
}

eot::EotFigures toFamilyFiles(const std::string& dir, const QString& folder, size_t* files) {
  const school::SessionValues s = sessionFor(dir);
  eot::EotRequest built = allLevels(s);
  reports::RunRequest r = built.run;
  const auto cards = eot::splitIntoFiles(r, folder, eot::CardSplit::kFamily, false);
  reports::RunUi ui;
  eot::EotFigures f;
  eot::PR_EOT_RPTS(r, built.options, s, ui, &f, cards.get());
  *files = size_t(QDir(folder).entryList({"*.pdf"}, QDir::Files).size());
  return f;
}

double peakMegabytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QTemporaryDir tmp;
  if (argc == 3 && std::strcmp(argv[1], "--peak") == 0) {
    // One run in this process: its peak memory.
    toPdf(argv[2], tmp.filePath("cards.pdf"), nullptr);
    std::printf("%.1f\n", peakMegabytes());
    return 0;
  }
  if (argc == 3 && std::strcmp(argv[1], "--peak-families") == 0) {
    // One run split into a file per family in this process: its peak memory.
    size_t files = 0;
    toFamilyFiles(argv[2], tmp.filePath("families"), &files);
    std::printf("%.1f\n", peakMegabytes());
    return 0;
  }
  const std::string big = makeSchool(tmp, 2000);
  const std::string small = makeSchool(tmp, 200);
  toPdf(big, tmp.filePath("warm.pdf"), nullptr);  // the subject index is built once, outside the timing

  int pages = 0;
  eot::EotFigures f;
  const double seconds = bench::bestSeconds(2, [&] { f = toPdf(big, tmp.filePath("cards.pdf"), &pages); });
  bench::figure("eot.cards_per_second", f.cards / seconds, "cards/s");
  bench::figure("eot.pages_per_second", pages / seconds, "pages/s");

  // The same run split into one PDF per family, with cards.csv.
  size_t files = 0;
  eot::EotFigures split;
  const double splitSeconds = bench::bestSeconds(2, [&] { split = toFamilyFiles(big, tmp.filePath("families"), &files); });
  bench::figure("eot.split.files_per_second", files / splitSeconds, "files/s");
  bench::figure("eot.split.cards_per_second", split.cards / splitSeconds, "cards/s");
  bench::figure("eot.split.speed_of_single_file", (split.cards / splitSeconds) / (f.cards / seconds), "x");

  const std::string self = argv[0];
  toPdf(small, tmp.filePath("warm-small.pdf"), nullptr);
  bench::figure("eot.peak_mb.200", bench::numberFromCommand("'" + self + "' --peak '" + small + "'"), "MB");
  bench::figure("eot.peak_mb.2000", bench::numberFromCommand("'" + self + "' --peak '" + big + "'"), "MB");
  bench::figure("eot.split.peak_mb.2000", bench::numberFromCommand("'" + self + "' --peak-families '" + big + "'"),
                "MB");

  const school::SessionValues s = sessionFor(big);
  const eot::EotRequest built = allLevels(s, true);
  TimingUi ui;
  eot::PR_EOT_RPTS(built.run, built.options, s, ui);
  bench::figure("eot.first_preview_page.seconds", ui.firstPage, "s");
  return 0;
}
