// TAIL_PR2: the end-of-term options dialog, and PRINTEOT, the start of a run
// from it. The dialog stays open; each F4 or F5 starts a run on its own thread.
#include "eot_dialog.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "app/report_commands.h"
#include "app/session.h"
#include "app/year_entry.h"
#include "data/saved_options.h"
#include "data/text.h"
#include "data/workspace.h"
#include "data/year_names.h"
#include "eot_run.h"
#include "libs/usage_log.h"
#include "libs/widgets/lmd_controls.h"
#include "libs/widgets/lmd_dialog.h"
#include "libs/widgets/lmd_printers.h"
#include "libs/widgets/picture_edit.h"
#include "reports/common/prreqkeys.h"
#include "reports/common/run_gui.h"

namespace velmont::eot {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

std::string defaultPrefs(const app::SessionValues& v) {
  data::Workspace ws;
  std::string from = " 0", to = " 0";
  try {
    data::yr_range(ws, v.dataDir, from, to);
  } catch (const std::exception&) {
  }
  return data::padTo(from, 2) + data::padTo(to, 2) + "    12112  ";
}

struct DialogState {
  app::Session* session = nullptr;
  widgets::LmdDialog* dlg = nullptr;
  std::vector<QLineEdit*> fields;
  QPointer<QPushButton> printButton, previewButton;
  std::string reduc_yr = "N";
  data::SavedOptions saved;
  QString cPrinter;
  reports::ReportKeys keys;
};

// PRINTEOT: reads the fields, converts the levels, disables the buttons, logs,
// saves the options and starts the run; returns at once.
void PRINTEOT(DialogState& st, bool preview) {
  const app::SessionValues v = st.session->values();
  auto field = [&](size_t i) { return data::trim(st.fields[i]->text().toStdString()); };
  EotOptions o;
  data::Workspace ws;
  data::ent_yrin(ws, v.dataDir, field(0), o.startYear);
  data::ent_yrin(ws, v.dataDir, field(1), o.endYear);
  o.homeClass = field(2);
  o.asAt = data::Date::fromDmyText(field(3));
  o.student = field(4);
  o.initial = field(5);
  o.reduc_yr = st.reduc_yr;
  o.nDoubl = st.saved.prefs.size() > 10 ? st.saved.prefs[10] - '0' : 1;
  o.nDPage = st.saved.prefs.size() > 11 ? st.saved.prefs[11] - '0' : 1;

  reports::RunRequest r = eotRunRequest(v, st.cPrinter, preview);
  if (!reports::askPdfFile(st.dlg, r)) return;  // the user did not say where to save
  widgets::lmdEnable(st.printButton, false);
  widgets::lmdEnable(st.previewButton, false);
  libs::lmdLog(std::string(" Print ") + kEotTitle, v.userId, v.pwd);
  const std::string prefs = data::put_yrout(ws, v.dataDir, o.startYear) + data::put_yrout(ws, v.dataDir, o.endYear) +
                            data::padTo(o.homeClass, 4) + "2 " + std::to_string(o.nDoubl % 10) +
                            std::to_string(o.nDPage % 10);
  try {
    data::saveOptions(v.dataDir, v.userId, data::kEndOfTermReportCode, data::padTo(prefs, data::kPrefsWidth));
  } catch (const std::exception&) {
    // Options that cannot be saved never stop a report.
  }
  if (preview) st.session->set(&app::SessionValues::prevChoice, 1);
  auto ui = reports::makeGuiRunUi(*st.session, st.dlg, {st.printButton, st.previewButton});
  reports::startRun(std::move(r), ui, [o, v](reports::RunSetup& s) { EOT_PR_RDY(s, o, v); });
}

}  // namespace

void TAIL_PR2(app::Session& session, QWidget* owner, const std::string& reportCode) {
  session.update([](app::SessionValues& v) {
    v.prAscii.clear();
    v.hdAscii.clear();
  });
  const app::SessionValues v = session.values();
  auto st = std::make_shared<DialogState>();
  st->session = &session;
  auto* dlg = new widgets::LmdDialog(owner, 20, 60, kEotTitle);
  dlg->setAttribute(Qt::WA_DeleteOnClose);
  st->dlg = dlg;
  QLabel* status = widgets::lmdSay(dlg, 17.5, 2, " ", {56, 1, Qt::AlignLeft, "10.Arial Bold"});
  widgets::lmdStat(dlg, 17.3, 1.5, 1.4, 57);
  status->raise();
  st->saved = data::loadSavedOptions(v.dataDir, v.userId, data::kEndOfTermReportCode,
                                     {defaultPrefs(v), std::string(24, ' ') + "3 8    5  35 70"}, v.year);
  const std::string& prefs = st->saved.prefs;
  const std::string yr = v.yearNames.word;
  const std::string yrT = data::trim(yr);
  const widgets::SayOptions label{13, 1, Qt::AlignRight, "11.Arial"};
  auto yearCheck = [&session, dlg](const QString& t) { return app::chk_yrin(session, t.toStdString(), nullptr, dlg); };
  widgets::lmdSay(dlg, 2, 2, q("Starting " + yr + " "), label);
  st->fields.push_back(widgets::lmdXGet(dlg, 2, 15, 2, q(prefs.substr(0, 2)), "@!K", {yearCheck, q("Enter starting " + yr)}));
  widgets::lmdSay(dlg, 3.5, 2, q("Ending " + yr + " "), label);
  st->fields.push_back(widgets::lmdXGet(dlg, 3.5, 15, 2, q(prefs.substr(2, 2)), "@!K", {yearCheck, q("Enter ending " + yr)}));
  widgets::lmdSay(dlg, 5, 3, q(" " + v.homeCl + " "), {12, 1, Qt::AlignRight, "11.Arial"});
  st->fields.push_back(widgets::lmdXGet(dlg, 5, 15, v.hclLen, q(prefs.substr(4, size_t(v.hclLen))), "@!K",
                                        {{}, q(v.homeCl + " - may be left blank")}));
  widgets::lmdSay(dlg, 6.5, 2, "Enrolled as at ", label);
  st->fields.push_back(widgets::lmdXGet(dlg, 6.5, 15, 10, q(v.date.dmy()), "  /  /    ",
                                        {[](const QString& t) { return !data::Date::fromDmyText(t.toStdString()).empty(); },
                                         "Print students enrolled as at THIS date"}));
  widgets::lmdSay(dlg, 3, 28.5, "Student Name or Number", {20, 1, Qt::AlignLeft, "11.Arial"});
  st->fields.push_back(widgets::lmdXGet(dlg, 4, 28.5, 14, QString(14, ' '), "@!K", {{}, "Student Number or Surname"}));
  widgets::lmdSay(dlg, 5.5, 28.5, "Student Initial (optional)", {0, 1, Qt::AlignLeft, "11.Arial"});
  st->fields.push_back(widgets::lmdXGet(dlg, 5.5, 44.5, 1, " ", "@!K", {{}, "Student's first initial"}));
  QWidget* group = widgets::lmdGBox(dlg, 8, 5.5, 2, 21, q("Student's " + yrT));
  QAbstractButton* reduce = widgets::lmdRadChk(group, 0.6, 1, q("Print " + yrT + " reduced by 1 for prior year"),
                                               widgets::ButtonKind::kCheck, st->reduc_yr == "Y",
                                               [st](bool on) { st->reduc_yr = on ? "Y" : "N"; });
  const bool priorYear = v.regYear && v.year < *v.regYear;
  group->setEnabled(priorYear);
  reduce->setEnabled(priorYear);
  widgets::lmdMSay(dlg, 10.5, 2,
                   q("This option prints end-of-term reports, velmont to specifications. You may print reports for one "
                     "school " + yrT + ",and possibly for a " + v.homeCl + "." + "Leave " + v.homeCl +
                     " blank if ALL classes, or one individual student, are to be printed.\n\n"
                     "For Prior Year printout, change Term and Year in Miscellaneous Menu."),
                   {56, 3.5, Qt::AlignLeft, "11.Arial"});
  widgets::lmdMSay(dlg, 8, 28.5, q("A Name (or partial name) is matched against students in the nominated " + yrT + "."),
                   {30, 2, Qt::AlignLeft, "11.Arial"});
  st->printButton = widgets::lmdPshBtn(dlg, 14.5, 2, 10, "F4 Print", [dlg] { dlg->postKey(Qt::Key_F4); });
  st->previewButton = widgets::lmdPshBtn(dlg, 14.5, 13, 10, "F5 Preview", [dlg] { dlg->postKey(Qt::Key_F5); });
  widgets::lmdPshBtn(dlg, 14.5, 24, 14, "F6 Change Printer", [dlg] { dlg->postKey(Qt::Key_F6); });
  widgets::lmdPshBtn(dlg, 14.5, 39, 9, "ESC=Quit", [st] { reports::PRREQKEYS(Qt::Key_Escape, st->dlg->focusWidget(), st->keys); });
  widgets::lmdPshBtn(dlg, 12.8, 39, 19, "Multi-Language ~Headings", [] {});
  widgets::lmdSay(dlg, 16, 2, "Printer: ", {0, 1, Qt::AlignLeft, "9.Arial Bold"});
  QLabel* printerName = widgets::lmdSay(dlg, 16, 8, " ", {45, 1, Qt::AlignLeft, "9.Arial"});

  st->keys.dialog = dlg;
  st->keys.session = &session;
  st->keys.printerDisplay = printerName;
  st->keys.messageDisplay = status;
  st->keys.printerName = &st->cPrinter;
  st->keys.print = [st] { PRINTEOT(*st, false); };
  st->keys.preview = [st] { PRINTEOT(*st, true); };
  dlg->setKeyHandler([st](int key, QWidget* field) { return reports::PRREQKEYS(key, field, st->keys); });

  dlg->show();
  widgets::lmdReSay(status, "Finding default printer...");
  const widgets::InstalledPrinters printers = widgets::lmdGetPrn();
  st->cPrinter = printers.defaultName;
  if (st->cPrinter.trimmed().isEmpty()) {
    widgets::lmdReSay(status, "No printer found!  Report is cancelled.");
    QTimer::singleShot(1000, dlg, [dlg] { dlg->postKey(Qt::Key_Escape); });
  } else {
    widgets::lmdReSay(printerName, reports::printerDisplayText(st->cPrinter, q(session.values().prAscii)));
    widgets::lmdReSay(status, " ");
    st->fields.front()->setFocus();
  }
  dlg->exec();
}

void registerEotDialog() { app::registerReportDialog(data::kEndOfTermReportCode, TAIL_PR2); }

}  // namespace velmont::eot
