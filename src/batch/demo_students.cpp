// The students, families and past students tables with their index files.
#include <cctype>

#include "data/error.h"
#include "demo_files.h"
#include "progress.h"
#include "record_image.h"

namespace velmont::batch {

using data::FieldSpec;

namespace {

// ST_NUMBER has the width of STSUB_NUMB, so that seek keys built from one fit the other.
const std::vector<FieldSpec> kStudentFields = {
    {"ST_NUMBER", 'N', 7},   {"ST_SURNAME", 'C', 20}, {"ST_XNAME", 'C', 14},  {"ST_PREF_NA", 'C', 14},
    {"ST_MIDNAME", 'C', 14}, {"ST_YEAR", 'N', 2},     {"ST_CLASS", 'C', 3},   {"ST_SEX", 'C', 1},
    {"ST_DOB", 'D', 8},      {"ST_STANINE", 'N', 1},  {"ST_GRAD_DT", 'D', 8}, {"ST_FUT_ENR", 'D', 8},
    {"ST_PARENT", 'C', 8},   {"ST_HOUSE", 'C', 15},   {"ST_COTTG", 'C', 15},  {"ST_BOARDER", 'L', 1},
    {"ST_ETHNIC", 'C', 3},   {"ST_PHONE", 'C', 14},   {"ST_DOCTOR", 'C', 24}, {"ST_FEE_BAL", 'N', 9, 2}};

const std::vector<FieldSpec> kFamilyFields = {
    {"PA_CODE", 'C', 8},     {"PA_SURNAME", 'C', 20}, {"PA_MAIL_TI", 'C', 30}, {"PA_MAIL_ST", 'C', 30},
    {"PA_MAIL_TN", 'C', 30}, {"PA_MAIL_EX", 'C', 30}, {"PA_MAIL_PC", 'C', 6},  {"PA_PHONE", 'C', 14},
    {"PAEX_TITL1", 'C', 30}, {"PAEX_STRT1", 'C', 30}, {"PAEX_TOWN1", 'C', 30}, {"PAEX_PC1", 'C', 6},
    {"PAEX_RPRT1", 'C', 1},  {"PAEX_TITL2", 'C', 30}, {"PAEX_STRT2", 'C', 30}, {"PAEX_TOWN2", 'C', 30},
    {"PAEX_PC2", 'C', 6},    {"PAEX_RPRT2", 'C', 1},  {"PA_FEE_BAL", 'N', 10, 2}, {"PA_EMAIL", 'C', 40}};

const std::vector<FieldSpec> kPastFields = {
    {"STP_NUMBER", 'N', 7},  {"STP_SURNAM", 'C', 20}, {"STP_XNAME", 'C', 14},  {"STP_ML_TTL", 'C', 30},
    {"STP_ML_STR", 'C', 30}, {"STP_ML_TWN", 'C', 30}, {"STP_ML_EX", 'C', 30},  {"STP_ML_PCD", 'C', 6},
    {"STP_LST_YR", 'N', 2},  {"STP_GRD_DT", 'D', 8},  {"STP_DEST", 'C', 30}};

std::string count(size_t n, const char* what) { return std::to_string(n) + " " + what; }

}  // namespace

std::vector<WrittenFile> writeStudentTables(const DemoSchool& school, Progress& progress) {
  std::vector<WrittenFile> written;

  const SchoolTable& students = schoolTable("ststuden.dbf");
  {
    TableWriter w(demoPath(school, students.file), kStudentFields);
    progress.start("Students", school.students.size());
    for (const DemoStudent& s : school.students) {
      w.set("ST_NUMBER", s.number);
      w.set("ST_SURNAME", s.surname);
      w.set("ST_XNAME", s.given);
      w.set("ST_PREF_NA", s.preferred);
      w.set("ST_YEAR", s.level);
      w.set("ST_CLASS", s.homeClass);
      w.set("ST_SEX", std::string(1, s.sex));
      w.set("ST_DOB", s.dob);
      w.set("ST_STANINE", s.stanine);
      w.set("ST_GRAD_DT", s.left);
      w.set("ST_FUT_ENR", s.enrolled);
      w.set("ST_PARENT", s.familyCode);
      w.set("ST_HOUSE", s.house);
      w.setLogical("ST_BOARDER", false);
      w.set("ST_PHONE", school.families[s.family].phone);
      w.set("ST_FEE_BAL", 0.0);
      progress.set(w.append());
    }
  }
  written.push_back({students.file, count(school.students.size(), "students") + "; " + indexDemoTable(school, students)});

  const SchoolTable& families = schoolTable("paparent.dbf");
  {
    TableWriter w(demoPath(school, families.file), kFamilyFields);
    for (const DemoFamily& f : school.families) {
      w.set("PA_CODE", f.code);
      w.set("PA_SURNAME", f.surname);
      w.set("PA_MAIL_TI", f.addressee);
      w.set("PA_MAIL_ST", f.street);
      w.set("PA_MAIL_TN", f.town);
      w.set("PA_MAIL_EX", f.extra);
      w.set("PA_MAIL_PC", f.postcode);
      w.set("PA_PHONE", f.phone);
      for (int k = 0; k < 2; ++k) {
        const ExtraAddress& e = f.extras[size_t(k)];
        const std::string n = std::to_string(k + 1);
        w.set("PAEX_TITL" + n, e.addressee);
        w.set("PAEX_STRT" + n, e.street);
        w.set("PAEX_TOWN" + n, e.town);
        w.set("PAEX_PC" + n, e.postcode);
        w.set("PAEX_RPRT" + n, e.sendReport ? "Y" : "N");
      }
      w.set("PA_FEE_BAL", 0.0);
      std::string email = f.code;
      for (char& ch : email) ch = char(std::tolower(static_cast<unsigned char>(ch)));
      w.set("PA_EMAIL", email + "@example.org");
      w.append();
    }
  }
  written.push_back({families.file, count(school.families.size(), "families") + "; " + indexDemoTable(school, families)});

  const SchoolTable& past = schoolTable("stpast.dbf");
  {
    TableWriter w(demoPath(school, past.file), kPastFields);
    for (const DemoPastStudent& p : school.pastStudents) {
      w.set("STP_NUMBER", p.number);
      w.set("STP_SURNAM", p.surname);
      w.set("STP_XNAME", p.given);
      w.set("STP_ML_TTL", p.addressee);
      w.set("STP_ML_STR", p.street);
      w.set("STP_ML_TWN", p.town);
      w.set("STP_ML_EX", p.extra);
      w.set("STP_ML_PCD", p.postcode);
      w.set("STP_LST_YR", p.lastLevel);
      w.set("STP_GRD_DT", p.left);
      w.append();
    }
  }
  written.push_back({past.file, count(school.pastStudents.size(), "past students") + "; " + indexDemoTable(school, past)});
  return written;
}

}  // namespace velmont::batch
