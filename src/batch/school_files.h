#pragma once
// The files of a school's data directory that the program reads: tables, the
// fields it reads from each with the types it can use, and their index files.
#include <string>
#include <vector>

namespace velmont::batch {

// What a missing file means for the reports.
enum class WhenMissing {
  kStopsReports,  // the program or a report cannot run without it
  kLimitsReports, // reports run, but something is missing from them
  kCreated,       // the program creates it when it needs it
};

struct FieldNeed {
  std::string name;
  std::string types;  // type letters that serve, e.g. "N" or "CN"
  int minWidth = 0;   // 0: any width
  int exactWidth = 0; // 0: any width
};

struct IndexNeed {
  std::string file;       // as the program names it, with extension
  std::string demoKey;    // the key expression the demo school writes
  bool numericKey = false;
  // The reports read or seek through it and stop when it does not hold each
  // record of its table once.
  bool reportsVerify = true;
};

struct SchoolTable {
  std::string file;   // as the program names it, with extension
  std::string alias;
  WhenMissing whenMissing;
  std::string missingMeans;  // one line for the user
  std::vector<FieldNeed> fields;
  std::vector<IndexNeed> indexes;
};

// Every table the program opens, except the year's student-subject table.
const std::vector<SchoolTable>& schoolTables();
// The year's student-subject table for a four-digit year.
SchoolTable studentSubjectTable(int year);
// The entry of schoolTables() for a file name (case-insensitive); throws
// std::out_of_range when there is none.
const SchoolTable& schoolTable(const std::string& file);

}  // namespace velmont::batch
