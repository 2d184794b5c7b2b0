#include "demo_school.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "data/dbf_file.h"
#include "data/error.h"
#include "data/file.h"
#include "demo_files.h"
#include "progress.h"

namespace velmont::batch {

namespace fs = std::filesystem;

namespace {

// The demo writes into a new or empty directory, or (with --replace) into one
// that an earlier demo made: never over a real school's files.
void prepareDirectory(const DemoOptions& options) {
  std::error_code ec;
  const fs::path dir = data::fsPath(options.dir);
  if (!fs::exists(dir, ec)) {
    fs::create_directories(dir, ec);
    if (ec) throw data::DataError(options.dir, "the directory could not be created: " + ec.message());
    return;
  }
  if (!fs::is_directory(dir, ec)) throw std::invalid_argument(options.dir + " is not a directory");
  if (fs::is_empty(dir, ec)) return;
  if (!options.replace)
    throw std::invalid_argument(options.dir + " is not empty; give a new or empty directory, or --replace for one an earlier demo made");
  if (!fs::exists(dir / kDemoMarkerFile, ec))
    throw std::invalid_argument(options.dir + " holds files that no demo made (no " + kDemoMarkerFile +
                                "); --replace rewrites only demo schools");
  for (const auto& entry : fs::directory_iterator(dir, ec))
    if (entry.is_regular_file()) fs::remove(entry.path(), ec);
}

// Makes every table written on this thread record one "last update" date, so
// that the same options give the same bytes on any day.
class FixedUpdateDate {
 public:
  explicit FixedUpdateDate(const data::Date& date) { data::DbfFile::setUpdateDateForThisThread(date); }
  ~FixedUpdateDate() { data::DbfFile::setUpdateDateForThisThread(data::Date()); }
  FixedUpdateDate(const FixedUpdateDate&) = delete;
  FixedUpdateDate& operator=(const FixedUpdateDate&) = delete;
};

void append(std::vector<WrittenFile>& to, std::vector<WrittenFile> more) {
  to.insert(to.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
}

std::string optionsLine(const DemoOptions& o) {
  std::string flags;
  for (const std::string& f : o.flags) flags += (flags.empty() ? "" : ",") + f;
  return "--students " + std::to_string(o.students) + " --year " + std::to_string(o.year) + " --seed " +
         std::to_string(o.seed) + (flags.empty() ? "" : " --flags " + flags);
}

}  // namespace

DemoReport writeDemoSchool(const DemoOptions& options, Progress& progress) {
  prepareDirectory(options);
  FixedUpdateDate fixed(data::Date::fromYmd(options.year, 1, 20));

  DemoSchool school;
  school.options = options;
  planSchool(school);
  planStaffAndSubjects(school);
  planStudents(school);
  addNationalLetters(school);

  DemoReport report;
  report.schoolName = school.name;
  append(report.files, writeStudentTables(school, progress));
  append(report.files, writeCatalogueTables(school));
  append(report.files, writeStudentSubjects(school, progress));
  append(report.files, writeControlTables(school));
  append(report.files, writeLetterhead(school));
  append(report.files, writeFlagFiles(school));
  progress.finish();

  std::vector<std::string> marker = {"Demo school written by velmont-batch demo " + optionsLine(options), ""};
  for (const WrittenFile& f : report.files) marker.push_back(f.file + ": " + f.contents);
  writeTextFile(demoPath(school, kDemoMarkerFile), marker);
  report.files.push_back({kDemoMarkerFile, "what this demo wrote (lets --replace rewrite the directory)"});
  return report;
}

void printDemoSummary(std::ostream& out, const DemoOptions& options, const DemoReport& report) {
  out << "Demo school \"" << report.schoolName << "\" written to " << options.dir << " (" << optionsLine(options)
      << "):\n";
  for (const WrittenFile& f : report.files) {
    std::string name = f.file;
    name.resize(std::max<size_t>(name.size(), 16), ' ');
    out << "  " << name << " " << f.contents << "\n";
  }
}

}  // namespace velmont::batch
