#include "list_run.h"

#include "data/code_page.h"
#include "data/error.h"
#include "data/table.h"
#include "data/text.h"
#include "data/workspace.h"
#include "list_grid.h"
#include "list_layout.h"
#include "print/page_printer.h"
#include "print/preview_printer.h"
#include "print/school_text.h"
#include "reports/common/output_paths.h"

namespace velmont::lists {

namespace {

constexpr int kControlPrintRecord = 3;
constexpr double kLeftMargin = 20;

ListRunContext contextFor(const ListRequest& r, data::Workspace& ws) {
  ListRunContext ctx;
  ctx.ws = &ws;
  ctx.dataDir = r.run.dataDir;
  ctx.strt_yr = r.strt_yr;
  ctx.home_cl = r.home_cl;
  ctx.enrl_date = r.enrl_date;
  ctx.C_assex = r.C_assex;
  ctx.lPreview = r.run.preview;
  // The heading is completed with the school's words and entries, in its code page.
  const QByteArray title = print::SchoolText::of(data::schoolCodePage(r.run.dataDir).codePage).encodeLossy(r.run.title);
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

QString describe(const data::DataError& e) {
  return QString::fromStdString(e.file().empty() ? e.reason() : e.file() + ": " + e.reason());
}

}  // namespace

void applyPrinterSettings(print::lmcPrn3& p, const std::vector<QString>& s) { print::applyPrinterSettings(p, s); }

ListOutcome PR_STUDENTS(const ListRequest& request, reports::RunUi& ui) {
  const reports::RunRequest& r = request.run;
  ListOutcome outcome;
  std::exception_ptr failure;
  data::KeepReadsScope keepReads;  // each part of a school file is read once per run
  data::Workspace ws;  // the run's own work areas, closed with the run
  // The list prints the school's text in its code page.
  const print::SchoolText::ThreadScope schoolText(print::SchoolText::of(data::schoolCodePage(r.dataDir).codePage));
  ListRunContext ctx = contextFor(request, ws);
  std::unique_ptr<print::lmcPrn3> printer;
  print::lmcPrv3* preview = nullptr;
  bool progressShown = false, textMode = false, created = false;
  for (const std::string& output : {r.outputFile.toStdString(), data::trim(r.prAscii)}) {
    const QStringList refused = reports::outputRefusal(output, r.dataDir);
    if (refused.isEmpty()) continue;
    outcome.error = refused.join(' ');
    ui.message(refused);
    ui.finished();
    return outcome;
  }
  try {
    if (r.preview) {
      ctx.nPrev_Choice = 1;
      auto p = r.makeDevice ? std::make_unique<print::lmcPrv3>() : print::lmNewPreview(r.printerName);
      preview = p.get();
      printer = std::move(p);
      ui.handleKeys(false);
      if (r.makeDevice) printer->Init(r.makeDevice());
    } else {
      printer = r.makeDevice ? std::make_unique<print::lmcPrn3>() : print::lmNewPrinter(r.printerName);
      if (r.makeDevice) printer->Init(r.makeDevice());
    }
    // A preview keeps the settings too, for the jobs its Print command starts.
    if (!request.printerSettings.empty()) print::applyPrinterSettings(*printer, request.printerSettings);
    if (!r.outputFile.isEmpty()) printer->setOutputFile(r.outputFile);
    ctx.oP = printer.get();
    ui.progressBegin();
    progressShown = true;
    ctx.progressStep = [&ui](data::Table& t) { ui.progressStep(t); };
    ctx.stepWindow = [&ui](print::lmcPrv3& p) { return ui.previewWindow(p, true); };
    ctx.notice = [&ui](const std::string& text) { ui.notice(QString::fromStdString(text)); };
    ctx.message = [&ui](const std::vector<std::string>& lines) {
      QStringList l;
      for (const std::string& line : lines) l << QString::fromStdString(line);
      ui.message(l);
    };

    // Control record 3: the extra top margin (mm) and the logo height; record 1: the sexes' coding.
    double topMargin = 0;
    data::Table& control = ws.open(schoolPath(r.dataDir, "sccontro.dbf"), "sccontro");
    if (control.reccount() >= kControlPrintRecord) {
      control.goTo(kControlPrintRecord);
      topMargin = control.num("PA_OPN_BAL") * 10;
      ctx.nPr_logoH = control.num("PA_NXT_TRN");
    }
    control.goTop();
    if (!control.eof() && control.fieldIndex("PA_GENDER") >= 0) ctx.Gender = control.text("PA_GENDER");

    bool found = PREP_HCLSUB(ctx, request.subjectNames);
    outcome.columns = int(ctx.subj_hdg.size());
    // A wide grid turns the page before the printer is created, so that the
    // paper size the page is laid out on is the landscape one.
    if (int(ctx.subj_hdg.size()) > kLandscapeAbove) printer->setOrientation(print::kLandscape);
    outcome.landscape = printer->orientation() == print::kLandscape;

    printer->create();
    if (printer->lInitErr) {
      // The page printer has told the user; nothing is drawn.
      ui.progressEnd();
      ui.handleKeys(true);
      ui.finished();
      return outcome;
    }
    created = true;
    const std::string ascii = data::trim(r.prAscii);
    if (!ascii.empty()) {
      textMode = true;
      printer->lAscii = true;
      printer->charDevice().setPos(0, 0);
      printer->charDevice().setCodePage(reports::textFileCodePage(r));
      if (!printer->charDevice().open(QString::fromStdString(ascii)))
        throw data::DataError(ascii, "the text file cannot be written");
    } else {
      printer->startDoc(r.title);
    }
    printer->setPt(kListPitch);
    printer->setTopMar(topMargin);
    printer->setLeftMar(kLeftMargin);

    // No student matched: the list says so (as its printing would) and nothing
    // goes to the printer or a file.
    outcome.nothingMatched = ctx.fld_a.empty();
    if (outcome.nothingMatched) ctx.notice(kNoStudents);
    if (found && !outcome.nothingMatched) found = PRNT_HCLSUB(ctx, r.reportCode, request.choices);
    outcome.printed = found;
    for (const StudentEntry& s : ctx.field_a)
      if (data::isBlank(ctx.home_cl) || data::trim(s[kEntryClass]) == data::trim(ctx.home_cl)) ++outcome.students;
    outcome.ran = true;
  } catch (const data::DataError& e) {
    outcome.error = describe(e);
  } catch (...) {
    failure = std::current_exception();
  }

  try {
    if (printer && created) {
      // Only a run that ended well with students to list sends its document.
      const bool send = outcome.error.isEmpty() && !failure && !outcome.nothingMatched;
      outcome.pages = send ? printer->nPage : 0;
      if (textMode) {
        if (send)
          printer->charDevice().close();
        else
          printer->charDevice().discard();
      } else if (send || preview) {
        printer->endDoc();
      } else {
        printer->abandonDoc();
      }
      if (!r.preview && send) {
        outcome.destination = textMode ? QString::fromStdString(data::trim(r.prAscii)) : printer->destination();
        ui.notice(reports::sentToNotice(r, outcome.destination));
      }
      if (preview && outcome.printed && outcome.error.isEmpty() && !failure) {
        ui.previewWindow(*preview, false);
        preview->destroyPwin();
      }
    }
  } catch (...) {
    if (!failure) failure = std::current_exception();
  }
  outcome.seeks = ctx.seeks;
  if (!outcome.error.isEmpty()) ui.message({QStringLiteral("The report has stopped."), outcome.error});
  if (progressShown) ui.progressEnd();
  ws.closeAll();
  if (printer) printer->destroy();
  printer.reset();
  if (r.preview) ui.handleKeys(true);
  if (failure) ui.failure(failure, "printing " + r.title.toStdString());
  ui.finished();
  return outcome;
}

std::shared_ptr<reports::RunHandle> startList(ListRequest request, std::shared_ptr<reports::RunUi> ui) {
  return reports::startOnThread([request = std::move(request), ui = std::move(ui)] {
    const ListOutcome o = PR_STUDENTS(request, *ui);
    reports::RunOutcome outcome{o.ran, o.destination, o.pages, o.error};
    outcome.nothingMatched = o.nothingMatched;
    return outcome;
  });
}

}  // namespace velmont::lists
