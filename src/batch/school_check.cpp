#include "school_check.h"

#include <filesystem>

#include "check_parts.h"
#include "data/dbf_file.h"
#include "data/error.h"
#include "data/file.h"
#include "data/table.h"
#include "progress.h"
#include "school/school_folder.h"
#include "school/school_settings.h"
#include "school/session.h"
#include "school/subject_table.h"

namespace velmont::batch {

namespace fs = std::filesystem;

int CheckResult::count(Severity s) const {
  int n = 0;
  for (const Finding& f : findings) n += f.severity == s;
  return n;
}

namespace {

Severity missingSeverity(WhenMissing w) {
  switch (w) {
    case WhenMissing::kStopsReports: return Severity::kError;
    case WhenMissing::kLimitsReports: return Severity::kWarning;
    default: return Severity::kNote;
  }
}

void checkTable(CheckResult& result, const school::SchoolFolder& folder, const SchoolTable& need, bool subjectTable,
                Progress& progress) {
  // A name that is there but no file (a device, a pipe) stops the reports
  // that open it, as the open below tells.
  const std::string path = folder.has(need.file) ? folder.path(need.file) : std::string();
  if (path.empty()) {
    result.add(missingSeverity(need.whenMissing), need.file, "missing: " + need.missingMeans);
    return;
  }
  const std::string file = data::fileNameOf(path);
  // The past students' table is opened only for a past student's card: its
  // faults stop no other report.
  const size_t first = result.findings.size();
  struct OnlyWarnings {
    CheckResult& result;
    size_t first;
    bool apply;
    ~OnlyWarnings() {
      if (!apply) return;
      for (size_t i = first; i < result.findings.size(); ++i)
        if (result.findings[i].severity == Severity::kError) {
          result.findings[i].severity = Severity::kWarning;
          result.findings[i].message += " (only past students' cards need it)";
        }
    }
  } pastStudents{result, first, need.file == "stpast.dbf"};
  std::unique_ptr<data::Table> table;
  try {
    table = data::Table::open(path, need.alias);
  } catch (const data::DataError& e) {
    result.add(Severity::kError, file, "cannot be opened: " + e.reason());
    return;
  }
  try {
    const data::DbfFile::Counts counts = data::DbfFile::open(path, data::OpenMode::kRead)->settledCounts();
    if (counts.header < counts.file)
      result.add(Severity::kWarning, file,
                 "the header counts " + std::to_string(counts.header) + " records but the file holds " +
                     std::to_string(counts.file) + "; the reports read all " + std::to_string(counts.file) +
                     ", programs that trust the header fewer");
  } catch (const data::DataError&) {
    // Opening it once more failed where the first open did not: judged below.
  }
  checkFields(result, file, *table, need);
  checkRecords(result, file, *table);
  checkCodePage(result, file, *table);
  for (const IndexNeed& index : need.indexes) {
    const std::string ntx = folder.file(index.file);
    if (ntx.empty()) {
      if (subjectTable)
        result.add(Severity::kNote, index.file, "missing: the program builds it the first time a report needs it");
      else
        result.add(Severity::kError, index.file, "missing: the program opens this index and never builds it");
      continue;
    }
    checkIndex(result, data::fileNameOf(ntx), *table, ntx, index, progress);
  }
  if (need.file == "sccontro.dbf") checkControlRecords(result, file, *table);
  if (need.file == "ccmp.dst") checkInstallation(result, file, *table);
  if (need.file == "headeots.dbf") checkHeadings(result, file, *table);
  if (need.file == "rvhplogo.dbf") checkLetterhead(result, folder, file, *table);
}

// The school's words, name and control values, read by the very code every
// report runs first: a flag file that cannot be read stops the reports and
// is an error here. Files already found in error are not named again.
void checkStartValues(CheckResult& result, const school::SchoolFolder& folder) {
  school::SessionValues v;
  v.folder = folder;
  for (void (*read)(school::SessionValues&) :
       {&school::readSchoolWords, &school::readSchoolName, &school::readControlValues}) {
    try {
      read(v);
    } catch (const data::DataError& e) {
      const std::string file = data::fileNameOf(e.file());
      bool known = false;
      for (const Finding& f : result.findings) known = known || (f.severity == Severity::kError && f.file == file);
      if (!known) result.add(Severity::kError, file, "cannot be read: " + e.reason());
    }
  }
}

// The year's subject table is created when missing, but not over a memo file
// that is left of it: the reports stop there.
void checkSubjectMemo(CheckResult& result, const school::SchoolFolder& folder, int year) {
  const std::string table = school::subjectTableName(year) + ".dbf";
  const std::string memo = data::DbfFile::memoPathFor(table);
  if (folder.has(table) || !folder.has(memo)) return;
  result.add(Severity::kError, table,
             "missing, but its memo file " + memo + " is there: the reports cannot create the table beside it "
             "(restore both files from a backup, or remove the memo file to start the year's subjects empty)");
}

}  // namespace

CheckResult checkSchool(const std::string& dir, int year, Progress& progress) {
  std::error_code ec;
  if (!fs::is_directory(data::fsPath(dir), ec)) throw data::DataError(dir, "no such directory");
  const school::SchoolFolder folder(dir);
  CheckResult result;
  checkCodePageFlag(result, folder);
  for (const SchoolTable& need : schoolTables()) checkTable(result, folder, need, false, progress);
  checkSubjectMemo(result, folder, year);
  checkTable(result, folder, studentSubjectTable(year), true, progress);
  checkStartValues(result, folder);
  progress.finish();
  return result;
}

void printFindings(std::ostream& out, const std::string& dir, const CheckResult& result) {
  for (const Finding& f : result.findings) {
    const char* label = f.severity == Severity::kError ? "error" : f.severity == Severity::kWarning ? "warning" : "note";
    out << label << ": " << f.file << ": " << f.message << "\n";
  }
  const int errors = result.count(Severity::kError), warnings = result.count(Severity::kWarning),
            notes = result.count(Severity::kNote);
  auto plural = [](int n, const char* word) { return std::to_string(n) + " " + word + (n == 1 ? "" : "s"); };
  out << "check " << dir << ": " << plural(errors, "error") << ", " << plural(warnings, "warning") << ", "
      << plural(notes, "note") << (errors ? ": reports would be stopped" : ": no report would be stopped") << "\n";
}

}  // namespace velmont::batch
