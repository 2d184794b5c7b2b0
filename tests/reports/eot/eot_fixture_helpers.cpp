#include "eot_fixture.h"

#include "reports/eot/eot_request.h"
#include "school/subject_table.h"
#include "print/preview_document.h"

namespace velmont::eot::testing {

namespace {
constexpr double kPageHeight = 2100 - 2 * 42;  // landscape A4's printable height
constexpr double kRowHeight = 43, kPitch = 26, kLeftMargin = 20;

template <class F>
void editWhere(const std::string& path, const std::string& field, double number, F change) {
  auto t = data::Table::open(path, "edit", data::OpenMode::kReadWrite);
  for (t->goTop(); !t->eof(); t->skip()) {
    if (t->num(field) != number) continue;
    ASSERT_TRUE(t->lockRecord());
    change(*t);
    t->unlockRecord();
  }
  t->commit();
}
}  // namespace

double rowOf(double y) { return (kPageHeight - y) / kRowHeight; }
double columnOf(double x) { return (x - kLeftMargin) / kPitch + 1; }

int NotingUi::previewWindow(print::PreviewDocument& preview, bool stepping) {
  if (!stepping) {
    // The final window: keep what the preview recorded before the run destroys it.
    if (kept)
      for (int i = 1; i <= preview.pageCount(); ++i)
        if (const print::PageList* p = preview.segmentPage(i)) kept->push_back(*p);
    return ++finalWindows, 0;
  }
  pagesAtStep.push_back(preview.pageCount());
  const size_t call = pagesAtStep.size() - 1;
  return call < answers.size() ? answers[call] : 2;
}

EotRun::EotRun(int codePage) : school({}, codePage) {
  session = school::freshSessionValues(school::SchoolFolder(school.dir()), data::Date::fromYmd(2026, 8, 3));
  session.term = 3;
  session.year = velmont::testing::kDemoYear;
  session.regYear = session.year;
  school::readSchoolWords(session);
  school::readSchoolName(session);
  school::readControlValues(session);
  options = eotRequest(session, {}).options;
}

int EotRun::level(const std::string& code) {
  data::Workspace ws;
  int n = 0;
  school::ent_yrin(ws, session.folder, code, n);
  return n;
}

reports::RunOutcome EotRun::run(bool preview) {
  pages->clear();
  reports::RunRequest r = eotRunRequest(session, print::kPdfDeviceName, preview);
  auto kept = pages;
  r.makeDevice = [kept] { return std::make_unique<KeepingDevice>(kept); };
  figures = {};
  ui.kept = preview ? pages : nullptr;
  return PR_EOT_RPTS(r, options, session, ui, &figures);
}

std::vector<Drawn> EotRun::texts(size_t page) const {
  std::vector<Drawn> out;
  if (page >= pages->size()) return out;
  for (const print::DrawItem& item : (*pages)[page].items())
    if (const auto* t = std::get_if<print::TextItem>(&item)) out.push_back({t->text, rowOf(t->at.y), columnOf(t->at.x)});
  return out;
}

std::optional<Drawn> EotRun::find(size_t page, const QString& text, bool prefix) const {
  for (const Drawn& d : texts(page))
    if (prefix ? d.text.startsWith(text) : d.text == text) return d;
  return std::nullopt;
}

std::vector<Drawn> EotRun::atColumn(size_t page, double column) const {
  std::vector<Drawn> out;
  for (const Drawn& d : texts(page))
    if (std::abs(d.column - column) < 0.01) out.push_back(d);
  return out;
}

std::vector<QString> EotRun::cardNames() const {
  std::vector<QString> names;
  for (size_t p = 0; p < pages->size(); ++p) {
    if (find(p, "Page", true)) continue;  // a continuation page
    for (const Drawn& d : atColumn(p, 13)) names.push_back(d.text);
  }
  return names;
}

void EotRun::setStudent(double number, const std::string& field, const std::string& value) {
  editWhere(school.file("ststuden.dbf"), "ST_NUMBER", number, [&](data::Table& t) { t.replace(field, value); });
}
void EotRun::setStudent(double number, const std::string& field, const data::Date& value) {
  editWhere(school.file("ststuden.dbf"), "ST_NUMBER", number, [&](data::Table& t) { t.replace(field, value); });
}
void EotRun::setStudent(double number, const std::string& field, double value) {
  editWhere(school.file("ststuden.dbf"), "ST_NUMBER", number, [&](data::Table& t) { t.replace(field, value); });
}

void EotRun::clearTerm(double number, int term) {
  const std::string path = school.file(school::subjectTableName(session.year) + ".dbf");
  editWhere(path, "STSUB_NUMB", number, [&](data::Table& t) {
    if (int(t.num("STSUB_TERM")) == term) t.replace("STSUB_TERM", 0.0);
  });
}

void EotRun::addLine(double number, int term, const Line& l) {
  auto t = data::Table::open(school.file(school::subjectTableName(session.year) + ".dbf"), "edit",
                             data::OpenMode::kReadWrite);
  t->appendBlank();
  t->replace("STSUB_NUMB", number);
  t->replace("STSUB_TERM", double(term));
  t->replace("STSUB_LINE", double(l.line));
  t->replace("STSUB_CODE", l.code);
  t->replace("STSUB_EMRK", l.emrk);
  t->replace("STSUB_EMEN", l.emen);
  t->replace("STSUB_AMRK", l.amrk);
  t->replace("STSUB_AMEN", l.amen);
  const char* ranks[] = {"STSUB_HOMW", "STSUB_EFFT", "STSUB_CONT", "STSUB_BEHV"};
  for (int i = 0; i < 4; ++i) t->replace(ranks[i], l.ranks.substr(size_t(i), 1));
  t->replace("STSUB_COMM", l.comm);
  if (!l.note.empty()) t->replaceMemo(t->requireField("STSUB_NOTE"), l.note);
  t->replace("STSUB_TCHR", l.teacher);
  t->commit();
}

std::string EotRun::subjectCode(bool marked) const {
  auto t = data::Table::open(school.file("subjects.dbf"), "s");
  for (t->goTop(); !t->eof(); t->skip())
    if ((t->text("SUBJ_TYPE") == "Y") == marked) return t->text("SUBJ_CODE");
  return "";
}

}  // namespace velmont::eot::testing
