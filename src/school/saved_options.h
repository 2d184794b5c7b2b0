#pragma once
// Each user's last options of a report, one record per user and report code in
// "prntpref.dbf" in the data directory: two fixed-position option strings.
#include <optional>
#include <string>

#include "data/text.h"
#include "school_folder.h"

namespace velmont::school {

inline constexpr int kPrefsWidth = 15;   // RPT_PARAMS
inline constexpr int kExtrasWidth = 40;  // RPT_EXTRAS

struct SavedOptions {
  std::string prefs;   // 15 characters
  std::string extras;  // 40 characters
};

// Report codes of the two reports.
inline constexpr const char* kEndOfTermReportCode = "T_EOT_Rpt";
inline constexpr const char* kStudentListReportCode = "L_Rpt_001";

// Loads a user's options of a report: the stored record when there is one whose
// RPT_PARAMS is not blank, else `defaults`. Creates "prntpref.dbf" when missing.
// Without the year's descriptor table ("DESCRP" + two digits of `year`),
// position 11 of the end-of-term report's prefs reads "1"; other reports get
// position 11 as saved.
SavedOptions loadSavedOptions(const school::SchoolFolder& folder, const std::string& userId, const std::string& reportCode,
                              const SavedOptions& defaults, int year);

// Writes a user's options of a report, appending the record on the first run.
// `extras` is written only when given (the end-of-term run leaves it alone).
// The search and the append happen under the table's append lock and the write
// under the record lock, so two programs saving at once never lose or duplicate
// a record. Throws DataError when the table cannot be written.
void saveOptions(const school::SchoolFolder& folder, const std::string& userId, const std::string& reportCode,
                 const std::string& prefs, const std::optional<std::string>& extras = std::nullopt);

}  // namespace velmont::school
