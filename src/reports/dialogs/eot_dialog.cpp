// TAIL_PR2: the end-of-term options dialog, and PRINTEOT, the start of a run
// from it. The dialog stays open; each F4 or F5 starts a run on its own thread.
#include "eot_dialog.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <cctype>
#include <map>
#include <memory>

#include "app/data_errors.h"
#include "app/report_commands.h"
#include "school/session.h"
#include "app/year_entry.h"
#include "data/code_page.h"
#include "school/saved_options.h"
#include "data/text.h"
#include "data/workspace.h"
#include "school/year_names.h"
#include "reports/eot/eot_request.h"
#include "reports/eot/eot_run.h"
#include "reports/eot/card_files.h"
#include "heading_editor.h"
#include "libs/date_text.h"
#include "libs/usage_log.h"
#include "widgets/cells.h"
#include "widgets/lmd_controls.h"
#include "widgets/lmd_dialog.h"
#include "widgets/lmd_messages.h"
#include "printer/lmd_printers.h"
#include "widgets/picture_edit.h"
#include "reports/dialogs/entry_checks.h"
#include "qtcore/school_text.h"
#include "reports/dialogs/prreqkeys.h"
#include "reports/dialogs/run_gui.h"

namespace velmont::eot {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

// The dialog's height in rows: the fields, the explanatory texts, the buttons,
// the printer line and the status box, above the help line.
constexpr double kDialogRows = 21.6;

school::SavedOptions defaultOptions(const school::SessionValues& v) {
  data::Workspace ws;
  std::string from = " 0", to = " 0";
  try {
    school::yr_range(ws, v.folder, from, to);
  } catch (const std::exception&) {
    // Without the control table the year-level check tells the user when a level is typed.
  }
  return {data::padTo(from, 2) + data::padTo(to, 2) + "    12112  ", std::string(24, ' ') + "3 8    5  35 70"};
}

struct DialogState {
  school::Session* session = nullptr;
  widgets::LmdDialog* dlg = nullptr;
  std::vector<widgets::PictureEdit*> fields;  // start, end, home class, as at, name or number, initial
  QPointer<QPushButton> printButton, previewButton;
  QAbstractButton* reduce = nullptr;
  std::string reduc_yr = "N";
  school::SavedOptions saved;
  QString cPrinter;
  std::vector<QString> printerSettings;  // the job settings chosen with F6
  reports::ReportKeys keys;
  std::shared_ptr<reports::RunHandle> run;  // the last run started from this dialog
  bool runPreviews = false;                 // that run shows a preview (its window has its own stop)

  bool running() const { return run && !run->done(); }
};

// The name the cards' PDF is offered under: the term and year, and the class,
// else the level or levels, and the student when one was typed, as the fields show them.
QString cardsFileName(const DialogState& st, const school::SessionValues& v) {
  const qtcore::SchoolText& schoolText = qtcore::SchoolText::of(v.folder.codePage().codePage);
  const QString word = schoolText.decode(data::trim(v.yearNames.word));
  const QString from = st.fields[0]->value().trimmed(), to = st.fields[1]->value().trimmed();
  QString narrowed = st.fields[2]->value().trimmed();
  if (narrowed.isEmpty()) narrowed = word + ' ' + (from == to ? from : from + " to " + to);
  return reports::reportFileName(kEotTitle, v.term, v.year, {narrowed, st.fields[4]->value().trimmed()});
}

// PRINTEOT: reads the fields, converts the levels, disables the buttons, logs,
// saves the options and starts the run; returns at once.
void PRINTEOT(DialogState& st, bool preview) {
  if (st.running() || st.cPrinter.trimmed().isEmpty()) return;
  // F4 and F5 do not leave the field, so its check has not run: a year level
  // that is not in use, or a date that is none, would otherwise select the
  // wrong students.
  for (widgets::PictureEdit* f : st.fields)
    if (!f->checkNow()) {
      f->takeFocusBack();
      return;
    }
  const school::SessionValues v = st.session->values();
  EotChoices choices;
  choices.from = st.fields[0]->value().toStdString();
  choices.to = st.fields[1]->value().toStdString();
  choices.homeClass = st.fields[2]->value();
  choices.asAt = libs::dateFromText(data::trim(st.fields[3]->value().toStdString()));
  choices.student = st.fields[4]->value();
  choices.initial = st.fields[5]->value();
  choices.reduceYear = st.reduc_yr == "Y";
  choices.savedPrefs = st.saved.prefs;
  choices.printerName = st.cPrinter;
  choices.preview = preview;
  EotRequest request;
  try {
    if (!app::showDataErrors(st.dlg, [&] { request = eotRequest(v, choices); })) return;
  } catch (const reports::RequestRefused& e) {
    // The fields have checked the year levels; a name's character the school's
    // code page cannot hold is what is left.
    const std::map<std::string, size_t> fieldOf = {{"from", 0}, {"to", 1}, {"class", 2}, {"student", 4}, {"initial", 5}};
    widgets::lmdMsg(e.lines(), 0, st.dlg);
    if (auto it = fieldOf.find(e.field()); it != fieldOf.end()) st.fields[it->second]->takeFocusBack();
    return;
  }
  // A year without subject records is told before anything is asked or printed.
  QString noSubjects;
  if (!app::showDataErrors(st.dlg, [&] { noSubjects = yearWithoutSubjects(v.folder, v.year); })) return;
  if (!noSubjects.isEmpty()) {
    widgets::lmdMsg({noSubjects}, 0, st.dlg);
    return;
  }

  const EotOptions o = request.options;
  reports::RunRequest r = std::move(request.run);
  r.prAscii = reports::textFilePath(v.prAscii, v.folder.dir());  // the file the printer display names
  r.printerSettings = st.printerSettings;
  r.saveName = cardsFileName(st, v);
  reports::PdfSaveChoice save;
  if (!reports::askPdfFile(st.dlg, r, &save)) return;  // the user did not say where to save
  if (!reports::askToReplaceTextFile(st.dlg, r)) return;
  // One file per family: the run tells the files where each card copy begins.
  std::shared_ptr<CardFiles> cards;
  if (save.perFamily) cards = splitIntoFiles(r, save.folder, CardSplit::kFamily, save.archival);
  widgets::lmdEnable(st.printButton, false);
  widgets::lmdEnable(st.previewButton, false);
  libs::lmdLog(std::string(" Print ") + kEotTitle, v.userId, v.pwd);
  try {
    school::saveOptions(v.folder, v.userId, school::kEndOfTermReportCode, request.prefs);
    st.saved.prefs = request.prefs;
  } catch (const std::exception& e) {
    // The report still runs; the user learns that the choices are not kept.
    widgets::lmdMsg({"Your choices could not be saved.", q(e.what())}, 0, st.dlg);
  }
  if (preview) st.session->set(&school::SessionValues::prevChoice, 1);
  auto ui = reports::makeGuiRunUi(*st.session, st.dlg, {st.printButton, st.previewButton});
  st.runPreviews = preview;
  st.run = reports::startRun(std::move(r), ui,
                             [o, v, cards](reports::RunSetup& s) { EOT_PR_RDY(s, o, v, nullptr, cards.get()); });
  // The dialog waits for the next run, starting again from the first field.
  st.dlg->activateWindow();
  st.fields.front()->setFocus(Qt::OtherFocusReason);
}

// Enter on the prior-year check box moves on to the next control, as in the fields.
class EnterMovesOn : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    auto* w = static_cast<QWidget*>(watched);
    if (QWidget* next = w->nextInFocusChain()) {
      while (next != w && !(next->isEnabled() && next->isVisible() && (next->focusPolicy() & Qt::TabFocus)))
        next = next->nextInFocusChain();
      next->setFocus(Qt::TabFocusReason);
    }
    return true;
  }
};

}  // namespace

void TAIL_PR2(school::Session& session, QWidget* owner, const std::string& reportCode) {
  session.update([](school::SessionValues& v) {
    v.prAscii.clear();
    v.hdAscii.clear();
  });
  const school::SessionValues v = session.values();
  auto st = std::make_shared<DialogState>();
  st->session = &session;
  // Without a parent window: the main window stays reachable for File > Exit.
  auto dialogOwner = std::make_unique<widgets::LmdDialog>(nullptr, kDialogRows, 60, kEotTitle);
  widgets::LmdDialog* dlg = dialogOwner.get();
  st->dlg = dlg;
  widgets::lmdStat(dlg, 19.2, 1.5, 1.5, 57);
  QLabel* status = widgets::lmdSay(dlg, 19.45, 2, " ", {.columns = 56, .font = "10.Arial Bold"});
  try {
    st->saved = school::loadSavedOptions(v.folder, v.userId, school::kEndOfTermReportCode, defaultOptions(v), v.year);
  } catch (const std::exception& e) {
    st->saved = defaultOptions(v);  // an unreadable options table must not keep the reports away
    widgets::lmdQMsg(reports::savedOptionsNotice(QString::fromLocal8Bit(e.what())), dlg);
  }
  st->saved.prefs = data::padTo(st->saved.prefs, school::kPrefsWidth);
  const std::string& prefs = st->saved.prefs;
  // The school's words and the saved home class are in its code page.
  const qtcore::SchoolText& schoolText = qtcore::SchoolText::of(v.folder.codePage().codePage);
  auto text = [&schoolText](const std::string& bytes) { return schoolText.decode(bytes); };
  // The word as shown: without the blanks that pad a grade.$vl word to 79 characters.
  const std::string yr = data::rtrim(v.yearNames.word);
  const std::string yrT = data::trim(yr);
  const widgets::SayOptions label{.columns = 13, .align = Qt::AlignRight, .font = "11.Arial"};
  auto yearCheck = [&session, dlg](const QString& t) { return app::chk_yrin(session, t.toStdString(), nullptr, dlg); };
  widgets::lmdSay(dlg, 2, 2, text("Starting " + yr + " "), label);
  st->fields.push_back(widgets::lmdXGet(dlg, 2, 15, 2, text(prefs.substr(0, 2)), "@!K", {.check = yearCheck, .help = text("Enter starting " + yr)}));
  widgets::lmdSay(dlg, 3.5, 2, text("Ending " + yr + " "), label);
  st->fields.push_back(widgets::lmdXGet(dlg, 3.5, 15, 2, text(prefs.substr(2, 2)), "@!K", {.check = yearCheck, .help = text("Enter ending " + yr)}));
  widgets::lmdSay(dlg, 5, 3, text(" " + v.homeCl + " "), {.columns = 12, .align = Qt::AlignRight, .font = "11.Arial"});
  st->fields.push_back(widgets::lmdXGet(
      dlg, 5, 15, v.hclLen, text(prefs.substr(4, size_t(std::max(v.hclLen, 0)))), "@!K",
      {.check = [folder = v.folder, word = text(v.homeCl), dlg](const QString& t) {
         return reports::homeClassAccepted(t, folder, word, dlg);
       },
       .help = text(v.homeCl + " - may be left blank")}));
  widgets::lmdSay(dlg, 6.5, 2, "Enrolled as at ", label);
  st->fields.push_back(widgets::lmdXGet(
      dlg, 6.5, 15, 10, q(libs::dateText(v.date)), q(libs::datePicture()),
      {.check = [dlg](const QString& t) { return reports::asAtDateAccepted(t, dlg); },
       .help = "Print students enrolled as at THIS date"}));
  widgets::lmdSay(dlg, 3, 28.5, "Student Name or Number", {.columns = 20, .font = "11.Arial"});
  st->fields.push_back(widgets::lmdXGet(dlg, 4, 28.5, 14, QString(14, ' '), "@!K", {.help = "Student Number or Surname"}));
  QLabel* initialLabel = widgets::lmdSay(dlg, 5.5, 28.5, "Student Initial (optional)", {.font = "11.Arial"});
  widgets::PictureEdit* initial = widgets::lmdXGet(dlg, 5.5, 44.5, 1, " ", "@!K", {.help = "Student's first initial"});
  // The label's font may be wider than its cells: the field keeps clear of it.
  if (initialLabel->geometry().right() + 4 > initial->x())
    initial->move(initialLabel->geometry().right() + 6, initial->y());
  st->fields.push_back(initial);

  QGroupBox* group = widgets::lmdGBox(dlg, 7.8, 5.5, 2.6, 21, text("Student's " + yrT));
  // Two lines below the group's title, so that the words fit its 21 columns;
  // the group grows to hold them whole.
  st->reduce = widgets::lmdRadChk(group, 1.75, 0.5, text("Print " + yrT + " reduced by 1\nfor prior year"),
                                  widgets::ButtonKind::kCheck, st->reduc_yr == "Y",
                                  [st = st.get()](bool on) { st->reduc_yr = on ? "Y" : "N"; });
  auto* groupLayout = new QVBoxLayout(group);
  groupLayout->setContentsMargins(6, 2, 6, 4);
  groupLayout->addWidget(st->reduce);
  group->resize(group->size().expandedTo(group->minimumSizeHint()));
  st->reduce->installEventFilter(new EnterMovesOn(st->reduce));
  // Levels are printed one lower only for a prior year's reports.
  const bool priorYear = v.regYear && v.year < *v.regYear;
  group->setEnabled(priorYear);
  st->reduce->setEnabled(priorYear);

  widgets::lmdMSay(dlg, 11.0, 2,
                   text("This option prints end-of-term reports, made to order. You may print reports for one "
                     "school " + yrT + ",and possibly for a " + v.homeCl + "." + "Leave " + v.homeCl +
                     " blank if ALL classes, or one individual student, are to be printed.\n\n"
                     "For Prior Year printout, change Term and Year in Miscellaneous Menu."),
                   {.columns = 56, .rows = 5.4, .font = "11.Arial"});
  widgets::lmdMSay(dlg, 8, 28.5, text("A Name (or partial name) is matched against students in the nominated " + yrT + "."),
                   {.columns = 30, .rows = 2.6, .font = "11.Arial"});
  st->printButton = widgets::lmdPshBtn(dlg, 16.5, 2, 9, "F4 Print", [dlg] { dlg->postKey(Qt::Key_F4); });
  st->previewButton = widgets::lmdPshBtn(dlg, 16.5, 11.5, 10, "F5 Preview", [dlg] { dlg->postKey(Qt::Key_F5); });
  QPushButton* change = widgets::lmdPshBtn(dlg, 16.5, 22, 13, "F6 Change Printer", [dlg] { dlg->postKey(Qt::Key_F6); });
  QPushButton* quit = widgets::lmdPshBtn(dlg, 16.5, 35.5, 8, "ESC=Quit", [st = st.get()] {
    reports::PRREQKEYS(Qt::Key_Escape, st->dlg->focusWidget(), st->keys);
  });
  const school::SchoolFolder folder = v.folder;
  QPushButton* headings = widgets::lmdPshBtn(dlg, 17.9, 39, 20, "Multi-Language &Headings",
                                             [dlg, folder] { editHeadings(dlg, folder); });
  // The buttons act like their keys and leave the focus in the field: a click
  // on them does not run the field's check (whose message would swallow the click).
  for (QPushButton* b : {st->printButton.data(), st->previewButton.data(), change, quit, headings})
    b->setFocusPolicy(Qt::NoFocus);
  // The buttons side by side, each as wide as its text; "Multi-Language
  // Headings" under them at the right margin.
  int left = st->printButton->x();
  for (QPushButton* b : {st->printButton.data(), st->previewButton.data(), change, quit}) {
    b->move(left, b->y());
    left = b->geometry().right() + int(widgets::cellMetric().width * 0.7);
  }
  headings->move(widgets::cellRect(1, 60, 1, 1).x() - headings->width(), headings->y());
  QLabel* printerWord = widgets::lmdSay(dlg, 18, 2, "Printer: ", {.font = "9.Arial Bold"});
  QLabel* printerName = widgets::lmdSay(dlg, 18, 7.5, " ", {.columns = 31, .font = "9.Arial"});
  printerName->move(printerWord->geometry().right() + 2, printerName->y());
  dlg->setHelpLine(widgets::lmdStatBar(dlg));

  st->keys.dialog = dlg;
  st->keys.session = &session;
  st->keys.printerDisplay = printerName;
  st->keys.messageDisplay = status;
  st->keys.printerName = &st->cPrinter;
  st->keys.printerSettings = &st->printerSettings;
  st->keys.print = [st = st.get()] { PRINTEOT(*st, false); };
  st->keys.preview = [st = st.get()] { PRINTEOT(*st, true); };
  // A run keeps its dialog: the dialog waits for it before it closes.
  st->keys.mayClose = [st = st.get()] { return !st->running(); };
  st->keys.stopRun = [st = st.get()] {
    if (st->running() && !st->runPreviews) reports::askToStopRun(*st->run, st->dlg);
  };
  dlg->setKeyHandler([st = st.get()](int key, QWidget* field) { return reports::PRREQKEYS(key, field, st->keys); });

  // Modal before it is first shown (exec would otherwise make it block the
  // main window, whose File > Exit must still ask to stop a run).
  reports::modalBesideMainWindow(dlg);
  reports::placeBelowProgress(dlg, owner);
  dlg->show();
  widgets::lmdReSay(status, "Finding default printer...");
  const widgets::InstalledPrinters printers = widgets::lmdGetPrn();
  st->cPrinter = printers.defaultName;
  if (st->cPrinter.trimmed().isEmpty()) {
    widgets::lmdReSay(status, "No printer found!  Report is cancelled.");
    widgets::lmdEnable(st->printButton, false);
    widgets::lmdEnable(st->previewButton, false);
    QTimer::singleShot(1000, dlg, [dlg] { dlg->postKey(Qt::Key_Escape); });
  } else {
    widgets::lmdReSay(printerName, reports::printerDisplayText(st->cPrinter, q(session.values().prAscii)));
    widgets::lmdReSay(status, " ");
    st->fields.front()->setFocus(Qt::OtherFocusReason);
  }
  dlg->exec();
  // Closed from its title bar while a run works: the run still needs the
  // dialog's buttons and may still show its windows, so it ends first.
  if (st->run) st->run->wait();
  data::Workspace& ws = data::Workspace::forThisThread();
  ws.closeAll();
  ws.select(1);
}

void registerEotDialog() {
  app::registerReportDialog(school::kEndOfTermReportCode, TAIL_PR2);
  app::registerLeaveCheck(reports::endRunsBeforeLeaving);
}

}  // namespace velmont::eot
