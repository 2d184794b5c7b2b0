// The body of an end-of-term run: headings, tables, the year's subject index,
// the selection of students and one card per student and address copy.
#include <cmath>
#include <memory>

#include "data/error.h"
#include "data/expr.h"
#include "data/file.h"
#include "school/subject_table.h"
#include "data/table.h"
#include "data/text.h"
#include "data/workspace.h"
#include "card_files.h"
#include "eot_card.h"
#include "eot_run.h"
#include "libs/letterhead_setup.h"
#include "reports/common/letterhead.h"
#include "print/page_printer.h"
#include "print/preview_document.h"
#include "qtcore/school_text.h"

namespace velmont::eot {

using data::isBlank;
using data::rtrim;
using data::Table;
using data::trim;

namespace {

// Opens a table with its indexes; the first, which the run reads or seeks
// through, must hold each record once, or the run stops naming it.
Table& openWithIndex(data::Workspace& ws, const school::SchoolFolder& folder, const std::string& file,
                     const std::string& alias, std::initializer_list<const char*> indexes) {
  Table& t = ws.open(folder.path(file), alias);
  for (const char* index : indexes) t.addIndex(folder.path(index));
  if (t.orderCount() > 0) {
    t.verifyOrder(1);
    t.setOrder(1);
  }
  return t;
}

// The selection of current students; user entries are bound as values, never
// spliced into the expression's text.
struct Selection {
  data::Bindings vars;
  std::string text;
  // The name part, in capitals: a surname that holds it passes. Compared here
  // rather than with the expression's UPPER(), which leaves national letters
  // as they are (as the school's index keys were built).
  std::string namePart;
};

void buildSelection(Selection& sel, Table& st, const EotOptions& o, const qtcore::SchoolText& schoolText) {
  const int s = o.startYear, e = o.endYear;
  sel.vars.setNumber("nStrtYr", s);
  sel.vars.setNumber("nEndYr", e);
  if (s == e)
    sel.text = "ST_YEAR=nStrtYr";
  else if (s > e)  // a range that wraps past the highest level, never level 0
    sel.text = "(ST_YEAR>=nStrtYr.or.(ST_YEAR>0.and.ST_YEAR<=nEndYr))";
  else
    sel.text = "ST_YEAR>=nStrtYr.and.ST_YEAR<=nEndYr";
  const std::string homeClass = trim(o.homeClass);
  if (!homeClass.empty()) {
    sel.vars.setText("home_cl", homeClass);
    sel.text += ".and.ST_CLASS=home_cl";  // prefix equality: the class begins with the entry
  }
  sel.vars.setDate("null_dt", data::Date());
  sel.vars.setDate("enrl_date", o.asAt);
  sel.text +=
      ".and.((ST_GRAD_DT = null_dt.or.ST_GRAD_DT > enrl_date) .and. ST_FUT_ENR <= enrl_date .or."
      "(ST_FUT_ENR > ST_GRAD_DT .and.(ST_GRAD_DT > enrl_date .or. ST_FUT_ENR <= enrl_date)))";
  if (!isBlank(o.student)) sel.namePart = schoolText.upperCase(rtrim(o.student));
  if (!isBlank(o.initial)) {
    sel.vars.setText("ininit", o.initial);
    sel.text += " .and. ininit $ alltrim(substr(ST_XNAME,1,1)+substr(ST_PREF_NA,1,1))";
  }
  const double number = entryNumber(o.student);
  if (number > 0) {
    // Exactly that student, whatever the levels, class and date.
    st.verifyOrder(2);
    st.setOrder(2);
    st.seek(number);
    sel.vars.setNumber("nStuRec", st.found() ? double(st.recno()) : double(st.reccount() + 1));
    sel.text = "recno()=nStuRec";
    sel.namePart.clear();
    st.setOrder(1);
  }
}

void drawCopy(EotRunContext& c, EotFigures* figures) {
  if (c.stopped) return;
  c.pg_no = 1;
  c.prblnk_lns = true;
  c.mrks_rpt = true;
  EOT_R_HD(c);
  if (c.cardObserver && !c.stopped)
    c.cardObserver->cardBegins({c.familyCode, c.familySurname, c.nStu_num, c.cStu_nam1, c.cStu_nam2, c.pa_ti,
                                c.familyEmail});
  EOT_MAINRPT(c);
  if (!c.stopped) {
    ++c.cards;
    if (figures) ++figures->cards;
    if (c.run) {
      const qtcore::SchoolText& text = qtcore::SchoolText::forThisThread();
      c.run->printedOne(text.decode(trim(c.cStu_nam1)) + ' ' + text.decode(trim(c.cStu_nam2)));
    }
  }
}

// Before the next card: true when the user stopped the run; the card loop ends.
bool stopAsked(EotRunContext& c) { return c.run && c.run->stopAsked(); }

// True when the family's extra report address `n` ("1" or "2") is in use: it
// gets a card copy of its own.
bool extraCopyWanted(const Table& pa, const std::string& n) {
  return !isBlank(pa.str("PAEX_TITL" + n)) && trim(pa.str("PAEX_RPRT" + n)) == "Y";
}

// The cards the selection gives: one per student, and one more for each extra
// report address of the student's family in use; each is told to `planned`.
int cardsToPrint(Table& st, Table* pa, CardObserver* planned) {
  const int familyCodeField = st.fieldIndex("ST_PARENT");
  int cards = 0;
  for (st.goTop(); !st.eof(); st.skip()) {
    int copies = 1;
    if (pa && pa->found() && !pa->eof())
      for (const char* n : {"1", "2"}) copies += extraCopyWanted(*pa, n) ? 1 : 0;
    cards += copies;
    if (planned) {
      const std::string family = familyCodeField >= 0 ? trim(st.str(familyCodeField)) : std::string();
      for (int i = 0; i < copies; ++i) planned->copyPlanned(family, st.num("ST_NUMBER"));
    }
  }
  return cards;
}

void pastStudent(EotRunContext& c, data::Workspace& ws, const school::SchoolFolder& folder, double number,
                 EotFigures* figures) {
  Table& past = openWithIndex(ws, folder, "stpast.dbf", "stpast", {"stpast.ntx"});
  const uint32_t recno = uint32_t(std::fabs(number));
  if (recno < 1 || recno > past.reccount()) return;  // no such record: no card
  past.goTo(recno);
  c.prblnk_lns = c.mrks_rpt = true;
  c.pa_ti = past.text("STP_ML_TTL");
  c.pa_st = past.text("STP_ML_STR");
  c.pa_tn = past.text("STP_ML_TWN");
  c.pa_ext = past.text("STP_ML_EX");
  c.pa_pc = past.text("STP_ML_PCD");
  c.cStu_nam1 = trim(past.str("STP_XNAME"));
  c.cStu_nam2 = past.text("STP_SURNAM");
  c.familyCode.clear();  // a past student's card stands alone
  c.familySurname = c.cStu_nam2;
  c.familyEmail.clear();
  c.nStu_num = past.num("STP_NUMBER");
  // The level the student would be in this year: the last level in the year of
  // leaving, one more for each year since (one less for each year before).
  const int lastLevel = int(past.num("STP_LST_YR"));
  const data::Date left = past.date("STP_GRD_DT");
  c.nStu_Yr = left.empty() ? lastLevel : std::max(0, lastLevel + (c.session.year - left.year()));
  if (figures) ++figures->students;
  drawCopy(c, figures);
}

std::string studentFirstName(const Table& st) {
  const std::string preferred = trim(st.str("ST_PREF_NA"));
  return preferred.empty() ? trim(st.str("ST_XNAME")) : preferred;
}

void currentStudents(EotRunContext& c, Table& st, Table* pa, const EotOptions& o, EotFigures* figures) {
  auto sel = std::make_shared<Selection>();
  const qtcore::SchoolText& schoolText = qtcore::SchoolText::forThisThread();
  buildSelection(*sel, st, o, schoolText);
  c.filtn = sel->text;
  auto expr = std::make_shared<data::Expression>(data::Expression::parse(
      sel->text, st, &sel->vars, st.path(), data::ParseOptions{.exact = false, .role = "selection"}));
  const int surname = st.requireField("ST_SURNAME");
  st.setFilter([sel, expr, surname, &schoolText](const Table& t) {
    if (!expr->evalBool(t)) return false;
    return sel->namePart.empty() || schoolText.upperCase(t.str(surname)).find(sel->namePart) != std::string::npos;
  });
  c.mrks_rpt = true;
  if (c.run) c.run->expect(cardsToPrint(st, pa, c.cardObserver));
  // What the file split names a family by: its surname and the first field
  // whose name holds "EMAIL", when the families table keeps them.
  const int familySurnameField = pa ? pa->fieldIndex("PA_SURNAME") : -1;
  int emailField = -1;
  for (int i = 0; pa && i < pa->fieldCount() && emailField < 0; ++i)
    if (pa->field(i).name.find("EMAIL") != std::string::npos && pa->field(i).type == 'C') emailField = i;
  const int familyCodeField = st.fieldIndex("ST_PARENT");
  // Students whose family the families index does not find: their cards go
  // without an address, and the run says so at its end.
  int unaddressed = 0;
  std::string firstUnaddressed;
  st.goTop();
  while (!st.eof() && !c.stopped && !stopAsked(c)) {
    c.ui->progressStep(st);
    c.cStu_nam1 = studentFirstName(st);
    c.cStu_nam2 = std::string(st.str("ST_SURNAME"));
    c.nStu_num = st.num("ST_NUMBER");
    c.nStu_Yr = int(st.num("ST_YEAR"));
    c.familyCode = familyCodeField >= 0 ? trim(st.str(familyCodeField)) : std::string();
    c.familySurname = c.cStu_nam2;
    c.familyEmail.clear();
    if (figures) ++figures->students;
    if (pa) {
      // The relation's search lands on the next family when the student's own is
      // missing: such a card gets a blank address, never another family's.
      const bool family = pa->found() && !pa->eof();
      if (!family && ++unaddressed == 1)
        firstUnaddressed = trim(c.cStu_nam1) + " " + trim(c.cStu_nam2) + " (family \"" + c.familyCode + "\")";
      auto field = [&](const std::string& name) { return family ? pa->text(name) : std::string(); };
      if (family && familySurnameField >= 0 && !isBlank(pa->str(familySurnameField)))
        c.familySurname = pa->text(familySurnameField);
      if (family && emailField >= 0) c.familyEmail = pa->text(emailField);
      c.pa_ti = field("PA_MAIL_TI");
      c.pa_st = field("PA_MAIL_ST");
      c.pa_tn = field("PA_MAIL_TN");
      c.pa_ext = field("PA_MAIL_EX");
      c.pa_pc = field("PA_MAIL_PC");
      drawCopy(c, figures);
      // One more copy for each extra report address in use.
      for (const char* n : {"1", "2"}) {
        const std::string f = n;
        if (c.stopped || !family || !extraCopyWanted(*pa, f)) continue;
        if (stopAsked(c)) break;
        c.pa_ti = pa->text("PAEX_TITL" + f);
        c.pa_st = pa->text("PAEX_STRT" + f);
        c.pa_tn = pa->text("PAEX_TOWN" + f);
        c.pa_ext = " ";
        c.pa_pc = pa->text("PAEX_PC" + f);
        drawCopy(c, figures);
      }
    } else {
      c.name1 = c.cStu_nam1;
      c.pa_ti = c.words.prnt_hd;
      c.pa_st = std::string(30, ' ');
      c.pa_tn = trim(c.name1) + " " + trim(st.str("ST_SURNAME"));
      c.pa_ext = c.pa_pc = " ";
      drawCopy(c, figures);
    }
    st.skip();
  }
  st.clearFilter();
  if (unaddressed > 0 && c.run) {
    c.run->ui.notice(QStringLiteral("%1 %2 no address: the family of %3%4 is not in paparent.dbf (looked up by "
                                    "paindx.ntx), so no copy went to an extra report address either.")
                         .arg(unaddressed)
                         .arg(unaddressed == 1 ? QStringLiteral("card has") : QStringLiteral("cards have"))
                         .arg(schoolText.decode(firstUnaddressed))
                         .arg(unaddressed == 1 ? QString() : QStringLiteral(" and others")));
  }
}

}  // namespace

double entryNumber(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  double value = 0;
  bool digits = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    digits = true;
  }
  return digits ? (negative ? -value : value) : 0;
}

QString yearWithoutSubjects(const school::SchoolFolder& folder, int year) {
  const std::string name = school::subjectTableName(year) + ".dbf";
  const std::string path = folder.file(name);
  QString why;
  if (path.empty()) {
    why = QString::fromStdString(name) + " is missing";
  } else {
    auto table = Table::open(path, "STSUB", data::OpenMode::kRead);
    table->goTop();
    if (!table->eof()) return {};
    why = QString::fromStdString(data::fileNameOf(path)) + " holds none";
  }
  return QStringLiteral("The year %1 has no subject records (%2): its cards would have no subjects, marks or "
                        "comments, so none were printed.")
      .arg(year)
      .arg(why);
}

void EOT_PR_RDY(reports::RunSetup& setup, const EotOptions& o, const school::SessionValues& session,
                EotFigures* figures, CardObserver* cards) {
  // A year without subject records would print blank cards for everyone:
  // nothing is printed or created, and the user is told why.
  if (const QString none = yearWithoutSubjects(session.folder, session.year); !none.isEmpty()) {
    setup.nothingMatched = true;
    setup.nothingNotice = none;
    return;
  }
  EotRunContext c;
  c.cardObserver = cards;
  c.session = session;
  c.oP = &setup.printer;
  c.oPrv = setup.preview;
  c.lPreview = setup.preview != nullptr;
  c.ui = &setup.ui;
  c.run = &setup;
  c.ws = &setup.ws;
  c.logoHeight = setup.logoHeight;
  c.topMargin = setup.topMargin;
  c.reduc_yr = o.reduc_yr;
  c.enrl_date = o.asAt;
  c.instud = o.student;
  c.ininit = o.initial;
  const school::SchoolFolder& folder = session.folder;
  data::Workspace& ws = setup.ws;
  // The cards print the school's text in its code page.
  const qtcore::SchoolText::ThreadScope schoolText(qtcore::SchoolText::of(folder.codePage().codePage));

  // 1. Heading words (the headings table is made with its defaults when missing).
  c.words = loadHeadingWords(folder, session.yearNames.word);
  // 2, 3. Students in name order, with their families.
  Table& st = openWithIndex(ws, folder, "ststuden.dbf", "STSTUDEN", {"STSTNAME.ntx", "STNUMBER.ntx", "STFAMILY.ntx"});
  c.st = &st;
  Table* pa = nullptr;
  if (!session.parents && entryNumber(o.student) >= 0) setup.ui.notice(kNoFamiliesNotice);
  if (session.parents) {
    pa = &openWithIndex(ws, folder, "paparent.dbf", "PAPARENT", {"paindx.ntx"});
    st.setRelation(pa, "upper(ST_PARENT)");
  }
  // 4. Letterhead option, control-table headings, letterhead description.
  Table& control = *ws.find("sccontro");
  if (control.reccount() >= 2) {
    control.goTo(2);
    const std::string options(control.str("FUND_OPTN"));
    c.C_Prt_Lhd = options.size() >= 3 ? options.substr(2, 1) : std::string();
  }
  control.goTop();
  c.C_Prt_Rep = "N";
  c.hd = set_eothd(control, SchoolWords{session.homeCl, session.house, session.yearNames.word});
  // The letterhead settings are one of the program's own side tables: a school
  // without them gets them made with their defaults (the school's name, school.gif).
  // Where they cannot be made (a folder the user may only read) the cards go
  // without a letterhead.
  const bool haveLetterhead = folder.has(libs::kLetterheadFile);
  try {
    c.aLhd = reports::LOAD_LHED(folder);
  } catch (const data::DataError&) {
    if (haveLetterhead) throw;  // a damaged table is named to the user
    c.aLhd.clear();
  }
  // 5. Comment bank, staff, subjects.
  c.comment = &openWithIndex(ws, folder, "comment.dbf", "comment", {"comment.ntx"});
  c.staff = &openWithIndex(ws, folder, "ttstaff.dbf", "ttstaff", {"ttstaff.ntx"});
  c.subjects = &openWithIndex(ws, folder, "subjects.dbf", "SUBJECTS", {"subjects.ntx"});
  // 6. The year's student subjects, indexed by number, term and line.
  const school::SubjectFiles subFiles =
      school::ensureSubjectIndex(folder, session.year, [&] { setup.ui.notice(kIndexingNotice); });
  Table& sub = ws.open(subFiles.table, "STSUB");
  sub.addIndex(subFiles.index);
  sub.setOrder(1);
  school::SubjectKey(sub).checkIndex(sub);  // a table whose fields cannot form the seek key stops here
  sub.setRelation(c.subjects, "STSUB_CODE");
  c.stsub = &sub;

  const double number = entryNumber(o.student);
  if (number < 0)
    pastStudent(c, ws, folder, number, figures);  // 7. one card for a past student
  else
    currentStudents(c, st, pa, o, figures);  // 8, 9.
  if (figures) figures->stopped = c.stopped;
  // No card at all: nothing goes to the printer or a file, and the user is told.
  setup.nothingMatched = c.cards == 0 && !c.stopped && !setup.stopped;
}

reports::RunRequest eotRunRequest(const school::SessionValues& session, const QString& printerName, bool preview) {
  reports::RunRequest r;
  r.reportCode = "T_EOT_Rpt";
  r.title = kEotTitle;
  r.printerName = printerName;
  r.preview = preview;
  r.portrait = false;  // the cards are printed landscape
  r.pitch = kEotPitch;
  r.folder = session.folder;
  r.prAscii = session.prAscii;
  r.author = qtcore::SchoolText::of(session.folder.codePage().codePage).decode(session.school).trimmed();
  return r;
}

reports::RunOutcome PR_EOT_RPTS(const reports::RunRequest& request, const EotOptions& options,
                                const school::SessionValues& session, reports::RunUi& ui, EotFigures* figures,
                                CardObserver* cards) {
  return reports::runReport(request, ui,
                            [&](reports::RunSetup& setup) { EOT_PR_RDY(setup, options, session, figures, cards); });
}

}  // namespace velmont::eot
