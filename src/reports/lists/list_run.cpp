#include "list_run.h"

#include "data/error.h"
#include "data/table.h"
#include "data/text.h"
#include "data/workspace.h"
#include "list_grid.h"
#include "list_layout.h"
#include "print/page_printer.h"
#include "print/preview_document.h"
#include "qtcore/school_text.h"

namespace velmont::lists {

namespace {

ListRunContext contextFor(const ListRequest& r, data::Workspace& ws) {
  ListRunContext ctx;
  ctx.ws = &ws;
  ctx.folder = r.run.folder;
  ctx.strt_yr = r.strt_yr;
  ctx.home_cl = r.home_cl;
  ctx.enrl_date = r.enrl_date;
  ctx.C_assex = r.C_assex;
  ctx.lPreview = r.run.preview;
  // The heading is completed with the school's words and entries, in its code page.
  const QByteArray title = qtcore::SchoolText::of(r.run.folder.codePage().codePage).encodeLossy(r.run.title);
  ctx.Rept_Head = std::string(title.constData(), size_t(title.size()));
  ctx.C_Term = r.term;
  ctx.C_Year = r.year;
  ctx.C_Date = r.date;
  ctx.cHomeCl = r.cHomeCl;
  ctx.C_School = r.school;
  ctx.C_Title = r.title;
  ctx.C_Hd_Ascii = r.hdAscii;
  ctx.timeOfDay = r.timeOfDay;
  return ctx;
}

// The school's text as shown (the code page of the run's thread).
QString q(const std::string& bytes) { return qtcore::SchoolText::forThisThread().decode(bytes); }

}  // namespace

void applyPrinterSettings(print::lmcPrn3& p, const std::vector<QString>& s) { print::applyPrinterSettings(p, s); }

ListOutcome PR_STUDENTS(const ListRequest& request, reports::RunUi& ui) {
  reports::RunRequest r = request.run;
  r.printerSettings = request.printerSettings;
  r.pageFromSettings = true;  // the list turns the page itself, for a wide grid only
  r.pitch = kListPitch;
  ListOutcome outcome;
  ListRunContext ctx;
  bool found = false;

  reports::RunSteps steps;
  // Before the printer is created: the students and their subjects are read,
  // so that a wide grid turns the page first and the paper size laid out on
  // is the landscape one.
  steps.prepare = [&](reports::RunSetup& s) {
    ctx = contextFor(request, s.ws);
    if (r.preview) ctx.nPrev_Choice = 1;
    ctx.oP = &s.printer;
    ctx.nPr_logoH = s.logoHeight;
    ctx.progressStep = [&ui](data::Table& t) { ui.progressStep(t); };
    ctx.stepWindow = [&ui](print::PreviewDocument& p) { return ui.previewWindow(p, true); };
    ctx.notice = [&ui](const std::string& text) { ui.notice(QString::fromStdString(text)); };
    ctx.message = [&ui](const std::vector<std::string>& lines) {
      QStringList l;
      for (const std::string& line : lines) l << QString::fromStdString(line);
      ui.message(l);
    };
    ctx.stopAsked = [&s] { return s.stopAsked(); };
    ctx.printedOne = [&s](const std::string& name) { s.printedOne(q(name)); };
    // Record 1 of the control table: how the sexes are coded.
    data::Table& control = *s.ws.find("sccontro");
    if (!control.eof() && control.fieldIndex("PA_GENDER") >= 0) ctx.Gender = control.text("PA_GENDER");
    found = PREP_HCLSUB(ctx, request.subjectNames);
    outcome.columns = int(ctx.subj_hdg.size());
    if (int(ctx.subj_hdg.size()) > kLandscapeAbove) s.printer.setOrientation(print::kLandscape);
    outcome.landscape = s.printer.orientation() == print::kLandscape;
  };
  steps.body = [&](reports::RunSetup& s) {
    s.unit = QStringLiteral("student");
    // No student matched: nothing goes to the printer or a file, and the user is told.
    s.nothingMatched = !s.stopped && ctx.fld_a.empty();
    // No subject for these options: a list without its columns is no list, and
    // nothing goes to the printer or a file either.
    if (!found && !s.nothingMatched && !s.stopped) {
      s.nothingMatched = true;
      s.nothingNotice = QString::fromLatin1(kNoSubjects);
    }
    for (const StudentEntry& e : ctx.field_a)
      if (data::isBlank(ctx.home_cl) || data::trim(e[kEntryClass]) == data::trim(ctx.home_cl)) ++outcome.students;
    if (!s.stopped) s.expect(outcome.students);
    if (found && !s.nothingMatched && !s.stopped) found = PRNT_HCLSUB(ctx, r.reportCode, request.choices);
    outcome.printed = found;
    // The final window shows a grid only.
    s.showFinalPreview = found;
  };
  const reports::RunOutcome run = reports::runReport(r, ui, steps);
  outcome.ran = run.ran;
  outcome.nothingMatched = run.nothingMatched;
  outcome.stopped = run.stopped;
  outcome.destination = run.destination;
  outcome.pages = run.pages;
  outcome.error = run.error;
  outcome.seeks = ctx.seeks;
  return outcome;
}

std::shared_ptr<reports::RunHandle> startList(ListRequest request, std::shared_ptr<reports::RunUi> ui) {
  if (!request.run.control) request.run.control = std::make_shared<reports::RunControl>();
  std::shared_ptr<reports::RunControl> control = request.run.control;
  return reports::startOnThread(std::move(control), [request = std::move(request), ui = std::move(ui)] {
    const ListOutcome o = PR_STUDENTS(request, *ui);
    reports::RunOutcome outcome{o.ran, o.destination, o.pages, o.error};
    outcome.nothingMatched = o.nothingMatched;
    outcome.stopped = o.stopped;
    return outcome;
  });
}

}  // namespace velmont::lists
