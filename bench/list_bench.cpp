// Student list benchmark: the largest year level of a 25,000-student demo school
// (about 3,500 students, the size a large school has),
// its grid prepared and printed into a memory device with marks shown, and the
// seeks made in the year's subject table.
#include <QGuiApplication>
#include <filesystem>

#include "batch/demo_school.h"
#include "batch/progress.h"
#include "bench_util.h"
#include "largest_level_list.h"
#include "data/table.h"
#include "print/memory_device.h"
#include "reports/lists/list_run.h"

using namespace velmont;

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const auto dir = std::filesystem::temp_directory_path() / "velmont-list-bench";
  std::filesystem::remove_all(dir);
  batch::DemoOptions o;
  o.dir = dir.string();
  o.students = 25000;
  o.year = 2004;
  batch::Progress quiet(false);
  batch::writeDemoSchool(o, quiet);

  lists::ListRequest r = bench::largestLevelList(dir);
  reports::RunUi ui;
  lists::PR_STUDENTS(r, ui);  // builds the year's index once, as the first run does
  lists::ListOutcome outcome;
  const double seconds = bench::bestSeconds(3, [&] { outcome = lists::PR_STUDENTS(r, ui); });
  bench::figure("list.largest_level.students", outcome.students, "students");
  bench::figure("list.largest_level.subjects", outcome.columns - 2, "subjects");
  bench::figure("list.largest_level.pages", outcome.pages, "pages");
  bench::figure("list.largest_level.seconds", seconds, "s");
  bench::figure("list.seeks", double(outcome.seeks), "seeks");
  std::filesystem::remove_all(dir);
  return 0;
}
