#pragma once
// The session values: what the program knows for the whole run (school, term,
// year, processing date, the school's words, plain-text output settings, ...).
// One Session object is owned by the program. The GUI thread changes it; report
// runs read it from their own threads. Every access takes a short lock and
// copies the value out, so a run never sees half of a change.
#include <array>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "data/date.h"
#include "school_folder.h"
#include "year_names.h"

namespace velmont::school {

// The program's version, as `velmont --version` and the About box give it
// (the project's version in the top CMakeLists.txt).
const char* programVersion();

struct SessionValues {
  school::SchoolFolder folder;          // the school's data directory
  std::string school;                   // C_School
  std::string title = "Velmont Program";  // C_Title
  std::string version = programVersion();  // C_Version: the one version of both programs
  int term = 3;                         // C_Term, 0..4
  int year = 0;                         // C_Year, four digits
  data::Date date;                      // C_Date, the processing date
  std::optional<int> regTerm, regYear;  // C_reg_term, C_reg_year: unset until CHANGE_PROC
  bool allYear = false;                 // C_All_Year
  std::string userId = "0";             // C_UserID
  std::string pwd;                      // C_Pwd, the access value for the usage log
  std::string prAscii;                  // C_Pr_Ascii: plain-text output file, "" for the printer
  std::string hdAscii;                  // C_Hd_Ascii: "Y" or "N"
  int prevChoice = 1;                   // nPrev_Choice
  int zoomLevel = 3;                    // c_Level
  school::YearNames yearNames;            // YrGrd and aYrName
  int hclLen = 2;                       // C_hcl_len
  std::string homeCl = "Home Class";    // cHomeCl
  std::string house = "House";          // cHouse
  std::string gender;                   // Gender
  bool parents = false;                 // Parents: the school keeps paparent.dbf
  std::vector<std::string> houses;      // aHouse
  std::vector<std::string> cottages;    // aCottage
};

class Session {
 public:
  explicit Session(SessionValues initial = {}) : values_(std::move(initial)) {}
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // A copy of every value at one moment.
  SessionValues values() const {
    std::lock_guard lock(mutex_);
    return values_;
  }
  // One value, e.g. session.get(&SessionValues::term).
  template <class T>
  T get(T SessionValues::*member) const {
    std::lock_guard lock(mutex_);
    return values_.*member;
  }
  template <class T, class U>
  void set(T SessionValues::*member, U&& value) {
    std::lock_guard lock(mutex_);
    values_.*member = std::forward<U>(value);
  }
  // Changes several values as one step.
  void update(const std::function<void(SessionValues&)>& change) {
    std::lock_guard lock(mutex_);
    change(values_);
  }

 private:
  mutable std::mutex mutex_;
  SessionValues values_;
};

// The values before anything is read: today's date and year, a data directory.
SessionValues freshSessionValues(const school::SchoolFolder& folder, const data::Date& today);

}  // namespace velmont::school
