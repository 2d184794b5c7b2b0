// The school control table and the installation record.
#include <algorithm>

#include "demo_files.h"
#include "libs/installation.h"
#include "record_image.h"

namespace velmont::batch {

using data::Date;
using data::FieldSpec;

namespace {

// ST_HOUSE must be the 41st field and ST_COTTG the 42nd: start-up reads them by number.
const std::vector<FieldSpec> kControlFields = {
    {"PA_GENDER", 'C', 2},   {"PA_TRM1_ST", 'D', 8},  {"PA_TRM2_ST", 'D', 8},  {"PA_TRM3_ST", 'D', 8},
    {"PA_TRM4_ST", 'D', 8},  {"PA_FE_AM", 'N', 9, 2}, {"PA_FE_NM", 'C', 2},    {"FUND_OPTN", 'C', 10},
    {"PA_OPN_BAL", 'N', 6, 1}, {"PA_NXT_TRN", 'N', 4}, {"STM_MSG1A", 'C', 36}, {"STM_MSG1B", 'C', 36},
    {"STM_MSG2A", 'C', 36},  {"SC_NAME", 'C', 40},    {"SC_ADDR1", 'C', 30},   {"SC_ADDR2", 'C', 30},
    {"SC_TOWN", 'C', 30},    {"SC_PCODE", 'C', 6},    {"SC_PHONE", 'C', 14},   {"SC_FAX", 'C', 14},
    {"SC_EMAIL", 'C', 40},   {"SC_PRINCIP", 'C', 30}, {"SC_NUMBER", 'N', 6},   {"SC_ROLLDT", 'D', 8},
    {"PA_FE_DUE", 'D', 8},   {"PA_FE_DISC", 'N', 5, 2}, {"PA_FE_GST", 'N', 5, 2}, {"PA_INV_NO", 'N', 8},
    {"PA_RCP_NO", 'N', 8},   {"PA_LST_INV", 'D', 8},  {"ST_NXT_NUM", 'N', 7},  {"ST_AGE_DT", 'D', 8},
    {"ST_ENR_CAP", 'N', 5},  {"TT_PERIODS", 'N', 2},  {"TT_DAYS", 'N', 1},     {"TT_CYCLE", 'C', 1},
    {"AT_HALFDAY", 'L', 1},  {"AT_CODES", 'C', 20},   {"RP_LOGOPOS", 'C', 1},  {"RP_COPIES", 'N', 2},
    {"ST_HOUSE", 'C', 15},   {"ST_COTTG", 'C', 15},   {"ST_HSE_COL", 'C', 10}, {"SC_UPDATED", 'D', 8}};

constexpr int kControlRecords = 20;

// Card headings set by the school in records 2 and 3; records 4 to 6 (comment
// role labels and the rank legend) stay blank so that the defaults apply.
const char* const kRankHeadings = "HwkEffPrtBehWrkorticpavr";                // hd1: four 3+3 pairs
const char* const kMarkHeadingsTop = " Exam Exam Asst Asst";                  // hd2 first lines
const char* const kGroupHeadings = "  EXAM RESULT  TERM ASSESSMENT";         // hd0
const char* const kMarkHeadingsBottom = " Mark Avge Mark Avge";               // hd2 second lines

}  // namespace

std::vector<WrittenFile> writeControlTables(const DemoSchool& school) {
  std::vector<WrittenFile> written;
  const SchoolCalendar& cal = school.calendar;
  {
    TableWriter w(demoPath(school, "sccontro.dbf"), kControlFields);
    for (int rec = 1; rec <= kControlRecords; ++rec) {
      if (rec == 1) {
        w.set("PA_GENDER", "MF");
        w.set("PA_TRM1_ST", cal.termStart[0]);
        w.set("PA_TRM2_ST", cal.termStart[1]);
        w.set("PA_TRM3_ST", cal.termStart[2]);
        w.set("PA_TRM4_ST", cal.termStart[3]);
        w.set("SC_NAME", school.name);
        w.set("SC_ADDR1", school.street);
        w.set("SC_TOWN", school.town);
        w.set("SC_PCODE", school.postcode);
        w.set("SC_PHONE", school.phone);
        w.set("SC_EMAIL", "office@school.example");
        w.set("SC_PRINCIP", school.staff.front().name);
        w.set("SC_NUMBER", 4021);
        w.set("SC_ROLLDT", Date::fromYmd(cal.year, 3, 1));
        w.set("ST_NXT_NUM", 2001 + int(school.students.size()) * 2);
        w.set("TT_PERIODS", 6);
        w.set("TT_DAYS", 5);
        w.set("TT_CYCLE", "W");
        w.setLogical("AT_HALFDAY", true);
        w.set("AT_CODES", "PLAEMJ");
      }
      // Year levels: record n is level n; levels 13 and up carry two-character codes.
      const bool inUse = std::find(school.levels.begin(), school.levels.end(), rec) != school.levels.end();
      w.set("PA_FE_AM", inUse ? 850.0 + 75.0 * rec : 0.0);
      if (rec >= 13 && size_t(rec - 13) < school.levelCodes.size()) w.set("PA_FE_NM", school.levelCodes[size_t(rec - 13)]);
      if (rec == 2) {
        w.set("FUND_OPTN", "YNNY");
        w.set("STM_MSG1A", kRankHeadings);
        w.set("STM_MSG1B", kMarkHeadingsTop);
      }
      if (rec == 3) {
        w.set("PA_OPN_BAL", 0.0);
        w.set("PA_NXT_TRN", 15);
        w.set("STM_MSG1A", std::string(kGroupHeadings).substr(0, 15) + school.assessmentHeading);
        w.set("STM_MSG1B", kMarkHeadingsBottom);
      }
      if (rec <= 9) {
        w.set("ST_HOUSE", school.houses[size_t(rec - 1)]);
        w.set("ST_COTTG", school.cottages[size_t(rec - 1)]);
      }
      if (rec == 12) w.set("ST_HOUSE", "Old Quad");  // beyond record 9: never a house
      w.set("RP_COPIES", 1);
      w.set("SC_UPDATED", Date::fromYmd(cal.year, 1, 20));
      w.append();
    }
  }
  written.push_back({"sccontro.dbf", std::to_string(kControlRecords) +
                                         " control records: levels 7 to 14 (codes FS, AE), term dates, houses, "
                                         "headings (roles and legend left to their defaults)"});

  {
    TableWriter w(demoPath(school, libs::kInstallationFile), libs::installationFields());
    w.set("C1", school.name);
    w.set("C2", "DEMO-" + std::to_string(cal.year));
    w.append();
  }
  written.push_back({libs::kInstallationFile, "installation record: " + school.name});
  return written;
}

}  // namespace velmont::batch
