#include "saved_options.h"

#include "data/dbf_file.h"
#include "data/error.h"
#include "data/file.h"
#include "subject_table.h"
#include "data/table.h"
#include "data/table_locks.h"
#include "school_folder.h"

namespace velmont::school {
namespace {

constexpr int kUserWidth = 15;
constexpr int kCodeWidth = 9;

// The table's path as the folder holds it, created first when it is missing.
std::string createWhenMissing(const school::SchoolFolder& folder) {
  const std::string path = folder.path("prntpref.dbf");
  if (data::Env::current()->exists(path)) return path;
  // Worked out before the test for the file is repeated, so that the file is
  // created at once when it is still missing: another program that finds it
  // created must find its header written too.
  const uint8_t driver = folder.languageDriver();
  if (data::Env::current()->exists(path)) return path;
  try {
    data::DbfFile::create(path, {{"USERNAME", 'C', kUserWidth, 0},
                           {"RPT_CODE", 'C', kCodeWidth, 0},
                           {"RPT_PARAMS", 'C', kPrefsWidth, 0},
                           {"RPT_EXTRAS", 'C', kExtrasWidth, 0}},
                    driver);
  } catch (const data::DataError&) {
    // Another program may have created it a moment ago; a real failure shows on open.
    if (!data::Env::current()->exists(path)) throw;
  }
  return path;
}

// Moves to the user's record of the report (record order, exact equality); false when none.
bool findRecord(data::Table& t, const std::string& user, const std::string& code) {
  const int userField = t.requireField("USERNAME"), codeField = t.requireField("RPT_CODE");
  for (t.goTop(); !t.eof(); t.skip())
    if (t.str(userField) == user && t.str(codeField) == code) return true;
  return false;
}

}  // namespace

SavedOptions loadSavedOptions(const school::SchoolFolder& folder, const std::string& userId, const std::string& reportCode,
                              const SavedOptions& defaults, int year) {
  const std::string path = createWhenMissing(folder);
  SavedOptions options{data::padTo(defaults.prefs, kPrefsWidth), data::padTo(defaults.extras, kExtrasWidth)};
  {
    auto t = data::Table::open(path, "prntpref");
    if (findRecord(*t, data::padTo(userId, kUserWidth), data::padTo(reportCode, kCodeWidth))) {
      const std::string prefs(t->str("RPT_PARAMS"));
      if (prefs != std::string(kPrefsWidth, ' ')) options = {prefs, std::string(t->str("RPT_EXTRAS"))};
    }
  }
  // Position 11 is the end-of-term report's nDoubl, which a school without the
  // year's descriptor table always prints as 1. In other reports the position
  // means something else (the list's marks switch) and keeps what was saved.
  const std::string descriptor = "DESCRP" + subjectTableName(year).substr(5) + ".dbf";
  if (reportCode == kEndOfTermReportCode && !folder.has(descriptor))
    options.prefs[10] = '1';
  return options;
}

void saveOptions(const school::SchoolFolder& folder, const std::string& userId, const std::string& reportCode,
                 const std::string& prefs, const std::optional<std::string>& extras) {
  const std::string path = createWhenMissing(folder);
  auto t = data::Table::open(path, "prntpref", data::OpenMode::kReadWrite);
  const std::string user = data::padTo(userId, kUserWidth), code = data::padTo(reportCode, kCodeWidth);
  data::AppendLock appendLock(*t);
  if (!appendLock.held()) throw data::DataError(path, "another program keeps the table locked; the options were not saved");
  if (!findRecord(*t, user, code)) {
    t->appendBlank();
    t->replace("USERNAME", user);
    t->replace("RPT_CODE", code);
    t->replace("RPT_PARAMS", data::padTo(prefs, kPrefsWidth));
    if (extras) t->replace("RPT_EXTRAS", data::padTo(*extras, kExtrasWidth));
    t->commit();
    return;
  }
  data::RecordLock recordLock(*t);
  if (!recordLock.held()) throw data::DataError(path, "the options record is locked by another program; they were not saved");
  t->replace("RPT_PARAMS", data::padTo(prefs, kPrefsWidth));
  if (extras) t->replace("RPT_EXTRAS", data::padTo(*extras, kExtrasWidth));
}

}  // namespace velmont::school
