#pragma once
// The doctor for a school's data directory: what would stop a report, or make
// one come out wrong, found without writing anything.
#include <ostream>
#include <string>
#include <vector>

namespace velmont::batch {

class Progress;

enum class Severity {
  kError,    // a report (or the program) cannot run
  kWarning,  // reports run but something on them is missing or wrong
  kNote,     // worth knowing; nothing is wrong
};

struct Finding {
  Severity severity;
  std::string file;  // the file the finding is about, as named in the directory
  std::string message;
};

struct CheckResult {
  std::vector<Finding> findings;
  int count(Severity s) const;
  bool stopsReports() const { return count(Severity::kError) > 0; }
  void add(Severity s, std::string file, std::string message) {
    findings.push_back({s, std::move(file), std::move(message)});
  }
};

// Examines the directory for the school year `year` (four digits). Throws
// data::DataError only when the directory itself cannot be read.
CheckResult checkSchool(const std::string& dir, int year, Progress& progress);

// One line per finding ("error: file: message"), then a summary line.
void printFindings(std::ostream& out, const std::string& dir, const CheckResult& result);

}  // namespace velmont::batch
