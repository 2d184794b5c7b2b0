#include "list_grid.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "data/expr.h"
#include "data/file.h"
#include "school/subject_table.h"
#include "data/table.h"
#include "data/text.h"
#include "data/workspace.h"
#include "libs/lmd_strings.h"
#include "qtcore/school_text.h"

namespace velmont::lists {

namespace {

constexpr int kNameWidth = 20;
constexpr int kLastSubjectLine = 31;  // lines 1 to 31 hold subjects

// "SURNAME Firstname", padded or cut to 20, trailing blanks removed.
std::string studentName(const data::Table& st) {
  std::string first = st.text("ST_XNAME");
  if (data::isBlank(first)) first = st.text("ST_PREF_NA");
  // Capitals and proper names in the school's code page, national letters included.
  const qtcore::SchoolText& text = qtcore::SchoolText::forThisThread();
  const std::string name = text.upperCase(data::trim(st.text("ST_SURNAME"))) + " " + text.properCase(data::trim(first));
  return data::rtrim(data::padTo(name, kNameWidth));
}

std::string numberText(double n) { return libs::lmdStrNum(n, 0); }

}  // namespace

double combinedMark(double examWeight, double assessmentMark, double examMark) {
  return (100 - examWeight) * assessmentMark / 100 + examWeight * examMark / 100;
}

int roundHalfUp(double value) { return int(std::floor(value + 0.5)); }

static std::string pictureZ(double value, int width) {
  const long long n = std::llround(value);
  if (n == 0) return std::string(size_t(width), ' ');
  std::string digits = std::to_string(n);
  if (int(digits.size()) > width) return std::string(size_t(width), '*');
  return std::string(size_t(width) - digits.size(), ' ') + digits;
}

std::string pictureZ3(double value) { return pictureZ(value, 3); }
std::string pictureZ4(double value) { return pictureZ(value, 4); }

std::string studentFilterText(bool withClass) {
  std::string text = "ST_YEAR=strt_yr";
  if (withClass) text += ".and.ST_CLASS=home_cl";
  text +=
      ".and.((ST_GRAD_DT=null_dt.or.ST_GRAD_DT>enrl_date).and.ST_FUT_ENR<=enrl_date"
      ".or.(ST_FUT_ENR>ST_GRAD_DT.and.(ST_GRAD_DT>enrl_date.or.ST_FUT_ENR<=enrl_date)))";
  return text;
}

std::vector<SubjectMark> termMarks(data::Table& stsub, double studentNumber, int term, long& seeks) {
  struct {
    int numb, term, line, code, emrk, amrk;
  } const f{stsub.requireField("STSUB_NUMB"), stsub.requireField("STSUB_TERM"), stsub.requireField("STSUB_LINE"),
            stsub.requireField("STSUB_CODE"), stsub.requireField("STSUB_EMRK"), stsub.requireField("STSUB_AMRK")};
  std::vector<SubjectMark> marks;
  ++seeks;
  stsub.seek(school::SubjectKey(stsub)(studentNumber, term, 1));
  while (!stsub.eof() && stsub.num(f.numb) == studentNumber && stsub.num(f.term) == term) {
    marks.push_back({stsub.text(f.code), int(stsub.num(f.line)), stsub.num(f.emrk), stsub.num(f.amrk)});
    stsub.skip();
  }
  return marks;
}

school::SubjectFiles ensureSubjectIndex(ListRunContext& ctx) {
  return school::ensureSubjectIndex(ctx.folder, ctx.C_Year, [&] {
    if (ctx.notice) ctx.notice("Indexing Student Subjects .. please wait");
  });
}

bool PREP_HCLSUB(ListRunContext& ctx, bool subjectNames) {
  data::Workspace& ws = *ctx.ws;
  data::Table& subjects = ws.open(ctx.folder.path("subjects.dbf"), "subjects");
  if (subjects.orderCount() == 0) {
    subjects.addIndex(ctx.folder.path("subjects.ntx"));
    subjects.verifyOrder(1);  // a subject missing from its index would lose its column
  }
  data::Table& st = ws.open(ctx.folder.path("ststuden.dbf"), "ststuden");
  // The list reads the students in the table's own order; the name index tells
  // whether records have been lost from the table's end, which would leave
  // students out of the list without a word, and an index that no longer
  // matches its table stops the list as it stops the cards.
  const std::string nameIndex = ctx.folder.path("STSTNAME.ntx");
  if (st.orderCount() == 0 && data::Env::current()->exists(nameIndex)) {
    st.addIndex(nameIndex);
    st.setOrder(0);
    st.verifyOrder(1);
  }

  const school::SubjectFiles subFiles = ensureSubjectIndex(ctx);
  data::Table& stsub = ws.open(subFiles.table, "STSUB");
  if (stsub.orderCount() == 0) stsub.addIndex(subFiles.index);
  school::SubjectKey(stsub).checkIndex(stsub);  // a table whose fields cannot form the seek key stops here

  // The selection: the typed values are bound, never written into the text.
  data::Bindings vars;
  vars.setNumber("strt_yr", ctx.strt_yr);
  vars.setText("home_cl", data::trim(ctx.home_cl));
  vars.setDate("null_dt", data::Date());
  vars.setDate("enrl_date", ctx.enrl_date);
  st.setFilter(studentFilterText(!data::isBlank(ctx.home_cl)), &vars);

  const int number = st.requireField("ST_NUMBER");
  std::set<std::string> met;
  for (st.goTop(); !st.eof(); st.skip()) {
    if (ctx.stopAsked && ctx.stopAsked()) break;  // the run prints nothing now
    if (ctx.progressStep) ctx.progressStep(st);
    StudentEntry e{studentName(st), "   ", "0", "  ", st.text("ST_STANINE"), numberText(st.num(number)),
                   st.text("ST_CLASS"), st.text("ST_SEX"), st.date("ST_DOB").dtos(), "0", ""};
    ctx.fld_a.push_back(std::move(e));
    for (const SubjectMark& m : termMarks(stsub, st.num(number), ctx.C_Term, ctx.seeks)) {
      if (m.line > kLastSubjectLine || !met.insert(m.code).second) continue;
      SubjectRef ref{m.code, 0};
      if (subjects.seekWhole(m.code) &&
          data::rtrim(subjects.text("SUBJ_CODE")) == m.code)
        ref.recno = subjects.recno();
      ctx.subj_sort.push_back(ref);
    }
  }
  st.clearFilter();

  ctx.subj2_sort = ctx.subj_sort;
  std::stable_sort(ctx.subj2_sort.begin(), ctx.subj2_sort.end(),
                   [](const SubjectRef& a, const SubjectRef& b) { return a.code < b.code; });
  ctx.field_a = ctx.fld_a;
  std::stable_sort(ctx.field_a.begin(), ctx.field_a.end(),
                   [](const StudentEntry& a, const StudentEntry& b) { return a[kEntryName] < b[kEntryName]; });

  for (const SubjectRef& ref : ctx.subj2_sort) {
    if (ref.recno == 0) {  // a code missing from the subjects table: an empty column
      ctx.subj_cod.emplace_back();
      ctx.subj_max.push_back(0);
      ctx.subj_curic.emplace_back();
      ctx.subj_hdg.emplace_back();
      continue;
    }
    subjects.goTo(ref.recno);
    ctx.subj_cod.push_back(data::rtrim(subjects.text("SUBJ_CODE")));
    ctx.subj_max.push_back(subjects.num("SUBJ_TTLMK"));
    ctx.subj_curic.push_back(data::rtrim(subjects.text("SUBJ_TYPE")));
    ctx.subj_hdg.push_back(
        qtcore::SchoolText::forThisThread().upperCase(data::trim(subjects.text(subjectNames ? "SUBJ_DESC" : "SUBJ_CODE"))));
  }
  if (ctx.subj_cod.empty()) return false;

  ctx.subj_cod.insert(ctx.subj_cod.end(), {"AVGE", "TOTL"});
  ctx.subj_max.insert(ctx.subj_max.end(), {0, 0});
  ctx.subj_curic.insert(ctx.subj_curic.end(), {"N", "N"});
  if (subjectNames)
    ctx.subj_hdg.insert(ctx.subj_hdg.end(), {"AVERAGE", "TOTAL"});
  else
    ctx.subj_hdg.insert(ctx.subj_hdg.end(), {"AVGE", "TOTL"});
  ctx.num_stud.assign(ctx.subj_hdg.size(), 0);
  return GR_AVGE(ctx);
}

bool GR_AVGE(ListRunContext& ctx) {
  const size_t columns = ctx.subj_cod.size();
  const size_t subjectColumns = columns - std::min(columns, size_t(ctx.col_extras));
  ctx.subj_gavg.assign(columns, 0);
  ctx.cnt_gavg.assign(columns, 0);
  data::Table& stsub = *ctx.ws->find("STSUB");
  for (const StudentEntry& student : ctx.field_a) {
    // One seek per student reads the term's records once for every column.
    const std::vector<SubjectMark> marks = termMarks(stsub, std::stod(student[kEntryNumber]), ctx.C_Term, ctx.seeks);
    for (size_t i = 0; i < subjectColumns; ++i) {
      double mark = 0;
      for (const SubjectMark& m : marks)
        if (m.code == ctx.subj_cod[i]) mark = combinedMark(ctx.C_assex, m.assessment, m.exam);
      ctx.subj_gavg[i] += mark;
      if (mark != 0) ++ctx.cnt_gavg[i];
    }
  }
  for (size_t i = 0; i < subjectColumns; ++i)
    ctx.subj_gavg[i] = ctx.cnt_gavg[i] == 0 ? 0 : roundHalfUp(ctx.subj_gavg[i] / ctx.cnt_gavg[i]);
  return true;
}

}  // namespace velmont::lists
