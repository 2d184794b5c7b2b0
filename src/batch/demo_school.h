#pragma once
// The demo school: an invented but realistic school's data directory, written
// the same, byte for byte, for the same options.
#include <array>
#include <cstdint>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "data/date.h"

namespace velmont::batch {

class Progress;

struct DemoOptions {
  std::string dir;
  int students = 120;
  int year = 0;  // four digits
  uint64_t seed = 1;
  std::set<std::string> flags;  // names of kDemoFlagFiles without their extension
  bool replace = false;         // may rewrite a directory that an earlier demo made
  int codePage = 850;           // the code page of the school's text (codepage.$vl unless 850)
};

// The flag and text files that --flags can ask for, by the name used there.
inline constexpr const char* kDemoFlagNames[] = {"homecl", "house", "namibia", "grade", "arank", "erank"};

// The file that marks a directory as one the demo made (so --replace may rewrite it).
inline constexpr const char* kDemoMarkerFile = "velmont-demo.txt";

// Term dates of the school year; all four terms lie in one calendar year.
struct SchoolCalendar {
  int year = 0;
  std::array<data::Date, 4> termStart;
  std::array<data::Date, 4> termEnd;
};

struct DemoStudent {
  int number = 0;
  std::string surname, given, preferred;
  char sex = 'F';
  int level = 0;
  std::string homeClass;
  data::Date dob, enrolled, left;  // enrolled is ST_FUT_ENR, left ST_GRAD_DT
  int stanine = 0;
  std::string familyCode;  // as stored in ST_PARENT (a few in small letters)
  size_t family = 0;       // index into DemoSchool::families
  std::string house;
  int ability = 60;  // 0..100, drives marks and ranks
  bool manySubjects = false;
};

struct ExtraAddress {
  std::string addressee, street, town, postcode;
  bool sendReport = false;
};

struct DemoFamily {
  std::string code, surname, phone;
  std::string addressee, street, town, extra, postcode;
  std::array<ExtraAddress, 2> extras;
};

struct DemoPastStudent {
  int number = 0;
  std::string surname, given;
  std::string addressee, street, town, extra, postcode;
  int lastLevel = 0;
  data::Date left;
};

struct DemoSubject {
  std::string code, description;
  bool marked = false;  // SUBJ_TYPE "Y"
  int totalMark = 0;
  int level = 0;        // 0 for co-curricular subjects
  std::string teacher;  // staff code
};

struct DemoStaff {
  std::string code, name;
};

struct DemoComment {
  int number = 0;
  std::string line1, line2;
};

// Everything about the school that more than one table is made from.
struct DemoSchool {
  DemoOptions options;
  std::string name, street, town, postcode, phone;
  SchoolCalendar calendar;
  std::vector<int> levels;                // in use, ascending
  std::vector<std::string> levelCodes;    // PA_FE_NM of levels 13 and up, by level - 13
  std::vector<std::string> houses;        // ST_HOUSE of control records 1 to 9, blank where unused
  std::vector<std::string> cottages;      // ST_COTTG of control records 1 to 9
  std::vector<DemoStudent> students;
  std::vector<DemoFamily> families;
  std::vector<DemoPastStudent> pastStudents;
  std::vector<DemoSubject> subjects;
  std::vector<DemoStaff> staff;
  std::vector<DemoComment> comments;
  // Texts with national letters, in the demo's code page: a teacher's note and
  // the heading over the assessment columns (15 characters).
  std::string nationalNote;
  std::string assessmentHeading = "TERM ASSESSMENT";
};

// What one table or file of the demo holds, for the summary printed afterwards.
struct WrittenFile {
  std::string file;
  std::string contents;
};

struct DemoReport {
  std::string schoolName;
  std::vector<WrittenFile> files;
};

// Writes the whole school into options.dir; returns what was written. Throws
// data::DataError for a file problem and std::invalid_argument when the
// directory holds other files that the demo must not overwrite.
DemoReport writeDemoSchool(const DemoOptions& options, Progress& progress);

// The school's calendar for a year: terms starting on Mondays near early
// February, late April, mid July and early October.
SchoolCalendar schoolCalendar(int year);

// Model parts (no files): filled in this order by writeDemoSchool.
void planSchool(DemoSchool& school);     // name, calendar, levels, houses
void planStaffAndSubjects(DemoSchool& school);
void planStudents(DemoSchool& school);   // students, families, past students

// Gives a few students, a family's address, a subject, a stock comment, a note
// and a heading national letters, in the demo's code page.
void addNationalLetters(DemoSchool& school);
// UTF-8 text in a code page, through the system's converter; throws
// std::invalid_argument when the code page cannot hold it or is unknown here.
std::string inCodePage(const std::string& utf8, int codePage);

// Table writers, each returning its summary lines.
std::vector<WrittenFile> writeStudentTables(const DemoSchool& school, Progress& progress);
std::vector<WrittenFile> writeCatalogueTables(const DemoSchool& school);  // subjects, comment, ttstaff
std::vector<WrittenFile> writeStudentSubjects(const DemoSchool& school, Progress& progress);
std::vector<WrittenFile> writeControlTables(const DemoSchool& school);    // sccontro, ccmp.dst
std::vector<WrittenFile> writeLetterhead(const DemoSchool& school);       // rvhplogo and pictures
std::vector<WrittenFile> writeFlagFiles(const DemoSchool& school);

// Prints the summary of a demo run.
void printDemoSummary(std::ostream& out, const DemoOptions& options, const DemoReport& report);

}  // namespace velmont::batch
