// The school's data on a network drive: every read call the table engine makes
// costs a round trip. Counts the read calls and bytes of the 2,000-student demo
// school's end-of-term cards and of the 25,000-student demo school's largest
// year level's list, then runs them again with each read call made to wait a
// fixed delay (0.3 ms for an office network, 1 ms for a busy one).
//
// The limit beside our figure: the local run's own time plus one round trip for
// each 64 KB of every file the run read, read once; `eot.lan.vs_limit` is our
// rate over the limit's rate (1.0: no round trip wasted).
#include <sys/prctl.h>

#include <QGuiApplication>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "school/school_settings.h"
#include "batch/demo_school.h"
#include "batch/progress.h"
#include "bench_util.h"
#include "largest_level_list.h"
#include "data/file.h"
#include "data/table.h"
#include "data/workspace.h"
#include "school/year_names.h"
#include "print/memory_device.h"
#include "print/print_device.h"
#include "reports/eot/eot_request.h"
#include "reports/eot/eot_run.h"
#include "reports/lists/list_run.h"

namespace {

using namespace velmont;
using Clock = std::chrono::steady_clock;
constexpr int kYear = 2026;
constexpr double kLan = 0.0003, kWan = 0.001;
constexpr uint64_t kBlock = 64 * 1024;

// The round trip every read call waits for, and the files the calls read.
std::atomic<long> delayNs{0};
std::mutex filesMutex;
std::set<std::string> filesRead;

void roundTrip(const std::string& path, size_t) {
  {
    std::lock_guard<std::mutex> lock(filesMutex);
    filesRead.insert(path);
  }
  const long ns = delayNs.load();
  if (ns <= 0) return;
  thread_local bool fineTimer = (prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0), true);
  (void)fineTimer;
  const auto until = Clock::now() + std::chrono::nanoseconds(ns);
  const auto spin = std::chrono::microseconds(60);
  if (until - Clock::now() > spin) std::this_thread::sleep_for(until - Clock::now() - spin);
  while (Clock::now() < until) {
  }
}

// Runs `work` with read calls costing `delay` seconds; returns the seconds taken.
double timedWithDelay(double delay, const std::function<void()>& work) {
  delayNs = long(delay * 1e9);
  const double s = bench::bestSeconds(1, work);
  delayNs = 0;
  return s;
}

// Round trips of reading every file read so far once, in 64 KB reads.
uint64_t limitRoundTrips() {
  uint64_t trips = 0;
  for (const std::string& path : filesRead) trips += (std::filesystem::file_size(path) + kBlock - 1) / kBlock;
  return trips;
}

std::string makeSchool(const std::string& dir, int students, int year) {
  batch::DemoOptions o;
  o.dir = dir;
  o.students = students;
  o.year = year;
  batch::Progress quiet(false);
  batch::writeDemoSchool(o, quiet);
  return o.dir;
}

int cardsToPdf(const std::string& dir, const QString& pdf) {
  school::SessionValues s = school::freshSessionValues(school::SchoolFolder(dir), data::Date::fromYmd(kYear, 8, 3));
  s.year = kYear;
  s.term = 3;
  school::readSchoolWords(s);
  school::readSchoolName(s);
  school::readControlValues(s);
  eot::EotRequest built = eot::eotRequest(s, {.printerName = print::kPdfDeviceName});
  const eot::EotOptions o = built.options;
  reports::RunRequest r = std::move(built.run);
  r.outputFile = pdf;
  reports::RunUi ui;
  eot::EotFigures f;
  eot::PR_EOT_RPTS(r, o, s, ui, &f);
  return f.cards;
}

void cards(const QTemporaryDir& tmp) {
  const std::string dir = makeSchool(tmp.filePath("school-2000").toStdString(), 2000, kYear);
  const QString pdf = tmp.filePath("cards.pdf");
  cardsToPdf(dir, pdf);  // the subject index is built once, outside the figures
  int n = 0;
  const double local = bench::bestSeconds(2, [&] { n = cardsToPdf(dir, pdf); });
  {
    std::lock_guard<std::mutex> lock(filesMutex);
    filesRead.clear();
  }
  const data::ReadCounts before = data::readCounts();
  const double lan = timedWithDelay(kLan, [&] { n = cardsToPdf(dir, pdf); });
  const data::ReadCounts after = data::readCounts();
  const double wan = timedWithDelay(kWan, [&] { n = cardsToPdf(dir, pdf); });
  const double calls = double(after.calls - before.calls), bytes = double(after.bytes - before.bytes);
  const double limit = local + double(limitRoundTrips()) * kLan;
  bench::figure("eot.cards", n, "cards");
  bench::figure("eot.local.cards_per_second", n / local, "cards/s");
  bench::figure("eot.reads_per_card", calls / n, "reads");
  bench::figure("eot.bytes_read_per_card", bytes / n, "bytes");
  bench::figure("eot.lan_cards_per_second", n / lan, "cards/s");
  bench::figure("eot.wan_cards_per_second", n / wan, "cards/s");
  bench::figure("eot.lan.limit_cards_per_second", n / limit, "cards/s");
  bench::figure("eot.lan.limit_reads", double(limitRoundTrips()), "reads");
  bench::figure("eot.lan.vs_limit", limit / lan, "x");
}

void list() {
  const auto dir = std::filesystem::temp_directory_path() / "velmont-network-bench";
  std::filesystem::remove_all(dir);
  makeSchool(dir.string(), 25000, 2004);
  lists::ListRequest r = bench::largestLevelList(dir);
  reports::RunUi ui;
  lists::PR_STUDENTS(r, ui);  // builds the year's index once, as the first run does
  lists::ListOutcome outcome;
  const double local = bench::bestSeconds(2, [&] { outcome = lists::PR_STUDENTS(r, ui); });
  const data::ReadCounts before = data::readCounts();
  const double lan = timedWithDelay(kLan, [&] { outcome = lists::PR_STUDENTS(r, ui); });
  const data::ReadCounts after = data::readCounts();
  bench::figure("list.students", outcome.students, "students");
  bench::figure("list.local.seconds", local, "s");
  bench::figure("list.reads_per_student", double(after.calls - before.calls) / outcome.students, "reads");
  bench::figure("list.bytes_read_per_student", double(after.bytes - before.bytes) / outcome.students, "bytes");
  bench::figure("list.lan.seconds", lan, "s");
  std::filesystem::remove_all(dir);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  data::setReadObserver(roundTrip);
  QTemporaryDir tmp;
  cards(tmp);
  list();
  return 0;
}
