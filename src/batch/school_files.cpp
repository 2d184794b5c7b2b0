#include "school_files.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "school/subject_table.h"

namespace velmont::batch {

namespace {

bool sameLetters(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::vector<SchoolTable> makeTables() {
  const WhenMissing stops = WhenMissing::kStopsReports, limits = WhenMissing::kLimitsReports,
                    created = WhenMissing::kCreated;
  return {
      {"ststuden.dbf", "STSTUDEN", stops, "the program stops at start-up without the students table",
       {{"ST_NUMBER", "N"}, {"ST_SURNAME", "C"}, {"ST_XNAME", "C"}, {"ST_PREF_NA", "C"}, {"ST_YEAR", "N"},
        {"ST_CLASS", "C"}, {"ST_SEX", "C"}, {"ST_DOB", "D"}, {"ST_STANINE", "NC"}, {"ST_GRAD_DT", "D"},
        {"ST_FUT_ENR", "D"}, {"ST_PARENT", "C"}},
       {{"STSTNAME.ntx", "UPPER(ST_SURNAME+ST_XNAME)"}, {"STNUMBER.ntx", "ST_NUMBER", true},
        {"STFAMILY.ntx", "UPPER(ST_PARENT)", false, false}}},
      {"paparent.dbf", "PAPARENT", limits, "cards are addressed \"To the Parents of\" without the families table",
       {{"PA_MAIL_TI", "C"}, {"PA_MAIL_ST", "C"}, {"PA_MAIL_TN", "C"}, {"PA_MAIL_EX", "C"}, {"PA_MAIL_PC", "CN"},
        {"PAEX_TITL1", "C"}, {"PAEX_TITL2", "C"}, {"PAEX_RPRT1", "C"}, {"PAEX_RPRT2", "C"},
        {"PAEX_STRT1", "C"}, {"PAEX_STRT2", "C"}, {"PAEX_TOWN1", "C"}, {"PAEX_TOWN2", "C"},
        {"PAEX_PC1", "CN"}, {"PAEX_PC2", "CN"}},
       {{"paindx.ntx", "PA_CODE"}}},
      {"stpast.dbf", "stpast", limits, "past students' cards cannot be printed",
       {{"STP_NUMBER", "N"}, {"STP_SURNAM", "C"}, {"STP_XNAME", "C"}, {"STP_ML_TTL", "C"}, {"STP_ML_STR", "C"},
        {"STP_ML_TWN", "C"}, {"STP_ML_EX", "C"}, {"STP_ML_PCD", "CN"}, {"STP_LST_YR", "N"}, {"STP_GRD_DT", "D"}},
       {{"stpast.ntx", "STP_NUMBER", true}}},
      {"subjects.dbf", "SUBJECTS", stops, "the report runs open the subjects table",
       {{"SUBJ_CODE", "C"}, {"SUBJ_DESC", "C"}, {"SUBJ_TYPE", "C"}, {"SUBJ_TTLMK", "N"}},
       {{"subjects.ntx", "SUBJ_CODE"}}},
      {"comment.dbf", "comment", stops, "the end-of-term run opens the comment bank",
       {{"COMM_LINE1", "C"}, {"COMM_LINE2", "C"}},
       {{"comment.ntx", "STR(COMM_NUMB,4)"}}},
      {"ttstaff.dbf", "ttstaff", stops, "the end-of-term run opens the staff table",
       {{"STAFF_NAME", "C"}},
       {{"ttstaff.ntx", "STAFF_CODE"}}},
      {"sccontro.dbf", "sccontro", stops, "year levels, terms and headings come from the control table",
       {{"PA_GENDER", "C"}, {"PA_TRM1_ST", "D"}, {"PA_TRM2_ST", "D"}, {"PA_TRM3_ST", "D"}, {"PA_TRM4_ST", "D"},
        {"PA_FE_AM", "N"}, {"PA_FE_NM", "C", 0, 2}, {"FUND_OPTN", "C", 3}, {"PA_OPN_BAL", "N"},
        {"PA_NXT_TRN", "N"}, {"STM_MSG1A", "C", 36}, {"STM_MSG1B", "C", 36}, {"STM_MSG2A", "C", 3},
        {"ST_HOUSE", "C", 0, 15}, {"ST_COTTG", "C", 0, 15}},
       {}},
      {"ccmp.dst", "ccmp", stops, "start-up reads the school's name from the installation record",
       {{"C1", "C"}},
       {}},
      {"rvhplogo.dbf", "rvhplogo", created, "the letterhead settings are created with their defaults",
       {{"LX", "N"}, {"LY", "N"}, {"LW", "N"}, {"LH", "N"}, {"LP", "N"}, {"LBLD", "L"}, {"LULN", "L"}, {"LDE", "C"}},
       {}},
      {"headeots.dbf", "headeots", created, "the card headings are created with their defaults",
       {{"H4", "C", 4}, {"H20", "C", 20}},
       {}},
      {"prntpref.dbf", "prntpref", created, "saved report options start empty",
       {{"USERNAME", "C"}, {"RPT_CODE", "C"}, {"RPT_PARAMS", "C", 15}, {"RPT_EXTRAS", "C", 40}},
       {}},
  };
}

}  // namespace

const std::vector<SchoolTable>& schoolTables() {
  static const std::vector<SchoolTable> tables = makeTables();
  return tables;
}

SchoolTable studentSubjectTable(int year) {
  const std::string name = school::subjectTableName(year);
  return {name + ".dbf", "STSUB", WhenMissing::kLimitsReports,
          "the program creates it empty, so the cards carry no subjects",
          // Any widths: the program's seek keys take theirs from the table.
          {{"STSUB_NUMB", "N"}, {"STSUB_TERM", "N"}, {"STSUB_LINE", "N"}, {"STSUB_CODE", "C"}, {"STSUB_EMRK", "N"},
           {"STSUB_EMEN", "N"}, {"STSUB_AMRK", "N"}, {"STSUB_AMEN", "N"}, {"STSUB_HOMW", "C"},
           {"STSUB_EFFT", "C"}, {"STSUB_CONT", "C"}, {"STSUB_BEHV", "C"}, {"STSUB_COMM", "N"},
           {"STSUB_NOTE", "MC"}, {"STSUB_TCHR", "C"}},
          {{name + ".ntx", school::kSubjectKeyExpression}}};
}

const SchoolTable& schoolTable(const std::string& file) {
  for (const SchoolTable& t : schoolTables())
    if (sameLetters(t.file, file)) return t;
  throw std::out_of_range("no school table " + file);
}

}  // namespace velmont::batch
