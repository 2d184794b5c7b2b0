#pragma once
// A small school written field by field, so that every figure of a list can be
// worked out by hand: students, subjects with their index, one year's subject
// marks, and the control records the run reads.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/dbf_file.h"
#include "school/subject_table.h"
#include "data/table.h"
#include "data/workspace.h"
#include "reports/lists/list_run_context.h"
#include "temp_dir.h"

namespace velmont::lists::testing {

struct Student {
  double number = 0;
  std::string surname, first, preferred;
  std::string cls = "7A";
  int year = 7;
  data::Date started = data::Date::fromYmd(2003, 1, 28), left;
  data::Date dob = data::Date::fromYmd(1991, 5, 6);
};

struct Subject {
  std::string code, desc;
  std::string type = "Y";
  double max = 100;
};

struct Mark {
  double number = 0;
  std::string code;
  double exam = 0, assessment = 0;
  int line = 1;
  int term = 1;
};

inline constexpr int kYear = 2004;

class TinySchool {
 public:
  std::vector<Student> students;
  std::vector<Subject> subjects;
  std::vector<Mark> marks;
  double topMarginMm = 0, logoHeight = 0;

  std::string dir() const { return dir_.path().string(); }
  std::string file(const std::string& name) const { return dir_.file(name); }

  void write() const {
    using data::FieldSpec;
    const std::string d = dir();
    data::DbfFile::create(d + "/ststuden.dbf",
                          {{"ST_NUMBER", 'N', 7}, {"ST_SURNAME", 'C', 20}, {"ST_XNAME", 'C', 14},
                           {"ST_PREF_NA", 'C', 14}, {"ST_YEAR", 'N', 2}, {"ST_CLASS", 'C', 4},
                           {"ST_SEX", 'C', 1}, {"ST_DOB", 'D', 8}, {"ST_STANINE", 'N', 1},
                           {"ST_GRAD_DT", 'D', 8}, {"ST_FUT_ENR", 'D', 8}});
    {
      auto t = data::Table::open(d + "/ststuden.dbf", "ststuden", data::OpenMode::kReadWrite);
      for (const Student& s : students) {
        t->appendBlank();
        t->replace("ST_NUMBER", s.number);
        t->replace("ST_SURNAME", s.surname);
        t->replace("ST_XNAME", s.first);
        t->replace("ST_PREF_NA", s.preferred);
        t->replace("ST_YEAR", s.year);
        t->replace("ST_CLASS", s.cls);
        t->replace("ST_SEX", "F");
        t->replace("ST_DOB", s.dob);
        t->replace("ST_STANINE", 5);
        t->replace("ST_GRAD_DT", s.left);
        t->replace("ST_FUT_ENR", s.started);
      }
      t->commit();
    }
    data::DbfFile::create(d + "/subjects.dbf", {{"SUBJ_CODE", 'C', 6}, {"SUBJ_DESC", 'C', 30},
                                                {"SUBJ_TYPE", 'C', 1}, {"SUBJ_TTLMK", 'N', 3}});
    {
      auto t = data::Table::open(d + "/subjects.dbf", "subjects", data::OpenMode::kReadWrite);
      for (const Subject& s : subjects) {
        t->appendBlank();
        t->replace("SUBJ_CODE", s.code);
        t->replace("SUBJ_DESC", s.desc);
        t->replace("SUBJ_TYPE", s.type);
        t->replace("SUBJ_TTLMK", s.max);
      }
      t->commit();
      t->createIndex(d + "/subjects.ntx", "SUBJ_CODE");
    }
    const std::string sub = d + "/" + school::subjectTableName(kYear) + ".dbf";
    school::new_subyr(sub);
    {
      auto t = data::Table::open(sub, "STSUB", data::OpenMode::kReadWrite);
      for (const Mark& m : marks) {
        t->appendBlank();
        t->replace("STSUB_NUMB", m.number);
        t->replace("STSUB_TERM", m.term);
        t->replace("STSUB_LINE", m.line);
        t->replace("STSUB_CODE", m.code);
        t->replace("STSUB_EMRK", m.exam);
        t->replace("STSUB_AMRK", m.assessment);
      }
      t->commit();
    }
    data::DbfFile::create(d + "/sccontro.dbf", {{"PA_GENDER", 'C', 2}, {"PA_FE_AM", 'N', 8, 2}, {"PA_FE_NM", 'C', 2},
                                                {"PA_OPN_BAL", 'N', 5, 1}, {"PA_NXT_TRN", 'N', 4}});
    {
      auto t = data::Table::open(d + "/sccontro.dbf", "sccontro", data::OpenMode::kReadWrite);
      for (int r = 1; r <= 20; ++r) {
        t->appendBlank();
        t->replace("PA_GENDER", "MF");
        t->replace("PA_FE_AM", r >= 7 && r <= 12 ? 100.0 : 0.0);
        t->replace("PA_FE_NM", r < 10 ? " " + std::to_string(r) : std::to_string(r));
        if (r == 3) {
          t->replace("PA_OPN_BAL", topMarginMm);
          t->replace("PA_NXT_TRN", logoHeight);
        }
      }
      t->commit();
    }
  }

  // A run context over this school for year level 7, term 1, enrolled as at the
  // processing date.
  ListRunContext context(data::Workspace& ws) const {
    ListRunContext ctx;
    ctx.ws = &ws;
    ctx.folder = school::SchoolFolder(dir());
    ctx.C_Term = 1;
    ctx.C_Year = kYear;
    ctx.C_Date = data::Date::fromYmd(kYear, 6, 30);
    ctx.enrl_date = ctx.C_Date;
    ctx.strt_yr = 7;
    ctx.C_School = "Velmont High";
    ctx.C_Title = "Velmont Program";
    ctx.Rept_Head = "Home Class List with Subjects";
    ctx.timeOfDay = QTime(9, 0, 0);
    return ctx;
  }

 private:
  velmont::testing::TempDir dir_;
};

}  // namespace velmont::lists::testing
