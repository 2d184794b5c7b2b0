#include "list_dialog.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "app/report_commands.h"
#include "app/session.h"
#include "app/year_entry.h"
#include "data/error.h"
#include "data/saved_options.h"
#include "data/text.h"
#include "data/workspace.h"
#include "data/year_names.h"
#include "libs/date_text.h"
#include "libs/usage_log.h"
#include "libs/widgets/lmd_controls.h"
#include "libs/widgets/lmd_dialog.h"
#include "libs/widgets/lmd_messages.h"
#include "libs/widgets/lmd_printers.h"
#include "libs/widgets/picture_edit.h"
#include "list_run.h"
#include "reports/common/entry_checks.h"
#include "reports/common/run_gui.h"

namespace velmont::lists {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

ListDialog::ListDialog(app::Session& session, QWidget* owner, const std::string& reportCode)
    : session_(session), code_(reportCode) {
  session_.update([](app::SessionValues& v) {
    v.prAscii.clear();
    v.hdAscii.clear();
  });
  const app::SessionValues v = session_.values();
  c_name_ = q(v.homeCl + " List with Subjects");
  std::string start, end;
  data::Workspace& ws = data::Workspace::forThisThread();
  try {
    data::yr_range(ws, v.dataDir, start, end);
  } catch (const data::DataError&) {
    start = end = "  ";  // the year-level check tells the user when a level is typed
  }
  const data::SavedOptions saved =
      data::loadSavedOptions(v.dataDir, v.userId, code_, defaultListOptions(start, end), v.year);
  options_ = readListOptions(saved, v.hclLen);
  dialog_ = new widgets::LmdDialog(owner, 20, 60, c_name_);
  dialog_->setAttribute(Qt::WA_DeleteOnClose, false);
  build();
}

ListDialog::~ListDialog() {
  if (run_) run_->wait();  // the run gives the buttons back to this dialog
  delete dialog_;
}

void ListDialog::radioGroup(double column, double columns, const QString& caption, const QString& yes,
                            const QString& no, bool& value) {
  QGroupBox* box = widgets::lmdGBox(dialog_, 6.8, column, 3.5, columns, caption);
  widgets::lmdRadChk(box, 2, 2, yes, widgets::ButtonKind::kRadio, value, [&value](bool on) { if (on) value = true; });
  widgets::lmdRadChk(box, 3.5, 2, no, widgets::ButtonKind::kRadio, !value, [&value](bool on) { if (on) value = false; });
}

void ListDialog::build() {
  using namespace widgets;
  const app::SessionValues v = session_.values();
  const QString yrGrd = q(v.yearNames.word);
  const QString homeCl = q(v.homeCl);
  lmdStat(dialog_, 10.55, 1.5, 8, 58.5);
  lmdSay(dialog_, 1, 3, c_name_, {.columns = 56, .rows = 1.5, .align = Qt::AlignHCenter, .font = "16.Arial Bold"});

  const SayOptions label{.columns = 13, .align = Qt::AlignRight, .font = "11.Arial"};
  lmdSay(dialog_, 3, 2, yrGrd + " ", label);
  year_ = lmdXGet(dialog_, 3, 15, 2, q(options_.yearCode), "@!K",
                  {.check = [this](const QString& t) { return app::chk_yrin(session_, t.toStdString(), nullptr, dialog_); },
                   .help = "Enter starting " + yrGrd});
  lmdSay(dialog_, 6, 3, homeCl + " ", {.columns = 12, .align = Qt::AlignRight, .font = "11.Arial"});
  class_ = lmdXGet(dialog_, 6, 15, v.hclLen, q(options_.homeClass), "@!K", {.help = homeCl + " - may be left blank"});
  lmdSay(dialog_, 7.5, 2, "Enrolled as at ", label);
  date_ = lmdXGet(dialog_, 7.5, 15, 10, q(libs::dateText(v.date)), q(libs::datePicture()),
                  {.check = [this](const QString& t) { return reports::asAtDateAccepted(t, dialog_); },
                   .help = "Print students enrolled as at THIS date"});
  lmdSay(dialog_, 3, 33, "Exam/Assess mark %", {.columns = 16, .font = "11.Arial"});
  weight_ = lmdXGet(dialog_, 3, 49, 3, QString::number(options_.weight).rightJustified(3), "###",
                    {.check = [this](const QString& t) { return reports::examWeightAccepted(t, dialog_); },
                     .help = "Enter % of Exam/Assess mark to calculate mark"});

  if (code_ == kListReportCode) {
    radioGroup(33, 9, "Show Birthdates", "Yes", "No ", options_.birthDates);
    radioGroup(43, 6, "Shadow?", "Yes", "No", options_.shading);
    radioGroup(50, 9, "Print Marks?", "yes", "no", options_.marks);
    QGroupBox* names = lmdGBox(dialog_, 4.8, 33, 1.5, 18, "Subject name");
    lmdRadChk(names, 1.5, 2, "Name", ButtonKind::kRadio, options_.names, [this](bool on) { if (on) options_.names = true; });
    lmdRadChk(names, 1.5, 12, "Code", ButtonKind::kRadio, !options_.names, [this](bool on) { if (on) options_.names = false; });
  }

  const QString yr = yrGrd.trimmed();
  lmdMSay(dialog_, 10.55 + 1.45, 1.5 + 5,
          "This option will print subject lists of students by " + homeCl + " in a nominated " + yrGrd +
              ". Subjects may be indicated with an asterisk, or marks may be shown.\n\nMake starting " + yr +
              " = ending " + yr + " if only one " + yr + " is required." + " Leave " + homeCl +
              " blank if all classes are to be printed.",
          {.columns = 54, .rows = 6, .font = "11.Arial"});
  message_ = lmdSay(dialog_, 10.55 + 7.45, 1.5 + 5, "", {.columns = 54, .font = "11.Arial"});

  print_ = lmdPshBtn(dialog_, 19.9, 31, 7.5, "F4 Print", [this] { dialog_->postKey(Qt::Key_F4); });
  preview_ = lmdPshBtn(dialog_, 19.9, 41, 7.5, "F5 Preview", [this] { dialog_->postKey(Qt::Key_F5); });
  QPushButton* change = lmdPshBtn(dialog_, 19.9, 51, 9.5, "F6 Change Printer", [this] { dialog_->postKey(Qt::Key_F6); });
  QPushButton* quit =
      lmdPshBtn(dialog_, 1, 1.2, 6.5, "ESC=Quit", [this] { reports::PRREQKEYS(Qt::Key_Escape, dialog_->focusWidget(), keys_); });
  // The buttons act like their keys and leave the focus in the field: a click
  // on them does not run the field's check (whose message would swallow the click).
  for (QPushButton* b : {print_, preview_, change, quit}) b->setFocusPolicy(Qt::NoFocus);
  lmdSay(dialog_, 18.55, 2, "Printer: ", {.font = "9.Arial Bold"});
  printerLabel_ = lmdSay(dialog_, 18.55, 7, "", {.columns = 25.5, .font = "9.Arial"});

  lmdReSay(message_, "Finding default printer...");
  const InstalledPrinters printers = lmdGetPrn();
  lmdReSay(message_, "");
  if (printers.names.isEmpty()) {
    lmdReSay(message_, "No printer found!  Report is cancelled.");
    QTimer::singleShot(1000, dialog_, [d = QPointer<LmdDialog>(dialog_)] { if (d) d->reject(); });
  }
  cPrinter = printers.defaultName;
  lmdReSay(printerLabel_, reports::printerDisplayText(cPrinter, q(v.prAscii)));

  keys_.dialog = dialog_;
  keys_.session = &session_;
  keys_.printerDisplay = printerLabel_;
  keys_.messageDisplay = message_;
  keys_.printerName = &cPrinter;
  keys_.print = [this] { PRINTIT(false); };
  keys_.preview = [this] { PRINTIT(true); };
  keys_.mayClose = [this] { return !run_ || run_->done(); };
  dialog_->setKeyHandler([this](int key, QWidget* field) { return reports::PRREQKEYS(key, field, keys_); });
  if (year_) year_->setFocus(Qt::OtherFocusReason);
}

void ListDialog::PRINTIT(bool preview) {
  // F4 and F5 do not leave the field, so its check has not run yet: a level not
  // in use, a date that is none or a weight above 100 would start a wrong list.
  for (widgets::PictureEdit* f : {year_, date_, weight_})
    if (f && !f->checkNow()) {
      f->setFocus(Qt::OtherFocusReason);
      return;
    }
  const app::SessionValues v = session_.values();
  // 1. The entries, as typed.
  const std::string yearText = data::trim(year_->value().toStdString());
  options_.homeClass = data::trim(class_->value().toStdString());
  const data::Date asAt = libs::dateFromText(date_->value().toStdString());
  options_.weight = weight_->value().trimmed().toInt();
  // 2. The year level's number, and its code for the saved options.
  int level = 0;
  data::Workspace& ws = data::Workspace::forThisThread();
  try {
    data::ent_yrin(ws, v.dataDir, yearText, level);
    options_.yearCode = data::put_yrout(ws, v.dataDir, level);
  } catch (const data::DataError& e) {
    widgets::lmdMsg({"The report cannot start.", q(e.what())}, 0, dialog_);
    return;
  }

  ListRequest r;
  r.run.reportCode = code_;
  r.run.title = c_name_;
  r.run.printerName = cPrinter;
  r.run.preview = preview;
  r.run.dataDir = v.dataDir;
  r.run.prAscii = v.prAscii;
  if (!reports::askPdfFile(dialog_, r.run)) return;
  r.strt_yr = level;
  r.home_cl = options_.homeClass;
  r.enrl_date = asAt;
  r.C_assex = options_.weight;
  r.subjectNames = options_.names;
  r.choices = {options_.birthDates, options_.marks, options_.shading};
  r.term = v.term;
  r.year = v.year;
  r.date = v.date;
  r.cHomeCl = v.homeCl;
  r.school = v.school;
  r.title = v.title;
  r.hdAscii = v.hdAscii.empty() ? "Y" : v.hdAscii;

  // 3. The buttons come back when the run ends.
  widgets::lmdEnable(print_, false);
  widgets::lmdEnable(preview_, false);
  // 4. The usage log.
  libs::lmdLog(" Print " + c_name_.toStdString(), v.userId, v.pwd);
  // 5. The options are saved before the run starts, so a run that prints nothing keeps them.
  try {
    data::saveOptions(v.dataDir, v.userId, code_, listPrefs(options_), listExtras(options_));
  } catch (const data::DataError& e) {
    widgets::lmdMsg({"Your choices could not be saved.", q(e.what())}, 0, dialog_);
  }
  // 6. The run on its own thread.
  run_ = startList(std::move(r), reports::makeGuiRunUi(session_, dialog_, {print_, preview_}));
  // 7. The notice, right after the start.
  if (!preview) {
    const QString ascii = q(v.prAscii).trimmed();
    widgets::lmdQMsg("Report has been sent to " + (ascii.isEmpty() ? QStringLiteral("the printer") : ascii), dialog_);
  }
}

void ListDialog::exec() { dialog_->exec(); }

void STPRINT1(app::Session& session, QWidget* owner, const std::string& reportCode) {
  ListDialog dialog(session, owner, reportCode);
  dialog.exec();
}

void registerListDialog() {
  app::registerReportDialog(kListReportCode, [](app::Session& session, QWidget* owner, const std::string& code) {
    STPRINT1(session, owner, code);
  });
}

}  // namespace velmont::lists
