// Records that the program addresses by number: the control table's, the
// installation record and the letterhead settings.

#include "check_parts.h"
#include "data/error.h"
#include "data/table.h"
#include "libs/installation.h"
#include "libs/letterhead_setup.h"

namespace velmont::batch {

namespace {

constexpr uint32_t kHeadingRecords = 6;   // records 2 to 6 hold card headings
constexpr uint32_t kLevelRecords = 20;    // record n describes year level n

bool has(const data::Table& t, const char* field) { return t.fieldIndex(field) >= 0; }

bool blank(std::string_view s) { return s.find_first_not_of(' ') == std::string_view::npos; }

}  // namespace

void checkControlRecords(CheckResult& result, const std::string& file, data::Table& t) {
  const uint32_t count = t.reccount();
  if (count < kHeadingRecords) {
    result.add(Severity::kError, file,
               "has " + std::to_string(count) + " records; the program reads records 1 to 6 (terms, letterhead "
               "option, print settings, card headings)");
    if (count == 0) return;
  } else if (count < kLevelRecords) {
    result.add(Severity::kWarning, file,
               "has " + std::to_string(count) + " records; year levels " + std::to_string(count + 1) +
                   " to 20 count as not in use");
  }
  if (!has(t, "PA_FE_AM") || !has(t, "PA_FE_NM")) return;  // reported with the fields

  int inUse = 0;
  for (uint32_t level = 1; level <= std::min(count, kLevelRecords); ++level) {
    t.goTo(level);
    if (t.num("PA_FE_AM") == 0) continue;
    ++inUse;
    if (level >= 13 && blank(t.str("PA_FE_NM")))
      result.add(Severity::kWarning, file,
                 "record " + std::to_string(level) + ": year level " + std::to_string(level) +
                     " has fees but no two-character code, so it cannot be chosen in the options");
  }
  if (inUse == 0)
    result.add(Severity::kError, file, "no year level has a fee amount (PA_FE_AM): the options refuse every level");

  t.goTo(1);
  if (has(t, "PA_TRM1_ST") && t.date("PA_TRM1_ST").empty() && t.date("PA_TRM2_ST").empty() &&
      t.date("PA_TRM3_ST").empty() && t.date("PA_TRM4_ST").empty())
    result.add(Severity::kNote, file, "record 1 has no term start dates: the processing date always gives term 1");
  if (count >= 2 && has(t, "FUND_OPTN")) {
    t.goTo(2);
    const std::string_view option = t.str("FUND_OPTN");
    if (option.size() < 3 || option[2] != 'N')
      result.add(Severity::kNote, file, "record 2: FUND_OPTN's third character is not N, so cards print no letterhead");
  }
}

void checkHeadings(CheckResult& result, const std::string& file, data::Table& t) {
  if (t.reccount() < kHeadingRecords)
    result.add(Severity::kError, file,
               "has " + std::to_string(t.reccount()) + " records of 6: the cards stop on it (restore it from a "
               "backup, or delete the file and the program makes it anew)");
}

void checkInstallation(CheckResult& result, const std::string& file, data::Table& t) {
  if (!has(t, "C1")) return;
  t.goTop();
  if (t.eof()) {
    result.add(Severity::kError, file, "holds no record; start-up reads the school's name from record 1");
    return;
  }
  if (libs::dekript(t.str("C1"), -1.0).empty())
    result.add(Severity::kWarning, file, "the school's name (C1) is blank: letterheads and headings print none");
}

void checkLetterhead(CheckResult& result, const school::SchoolFolder& folder, const std::string& file, data::Table& t) {
  const uint32_t count = t.reccount();
  if (count < uint32_t(libs::kLetterheadRecords)) {
    result.add(Severity::kWarning, file,
               "has " + std::to_string(count) + " records of 11: the missing letterhead settings print as zero");
  }
  if (!has(t, "LDE")) return;
  auto pictureIn = [&](uint32_t recno, const char* what, Severity missing) {
    if (recno > count) return;
    t.goTo(recno);
    const std::string name = t.text("LDE");
    if (name.empty()) return;
    if (folder.file(name).empty())
      result.add(missing, file,
                 "record " + std::to_string(recno) + " names the " + what + " " + name + ", which is not in the directory");
  };
  pictureIn(libs::kLogo, "logo", folder.file("school.gif").empty() ? Severity::kWarning : Severity::kNote);
  pictureIn(libs::kWatermark, "watermark", Severity::kWarning);
}

}  // namespace velmont::batch
