#include "list_dialog.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "app/report_commands.h"
#include "school/session.h"
#include "app/year_entry.h"
#include "data/code_page.h"
#include "data/error.h"
#include "school/saved_options.h"
#include "data/text.h"
#include "data/workspace.h"
#include "school/year_names.h"
#include "libs/date_text.h"
#include "libs/usage_log.h"
#include "widgets/cells.h"
#include "widgets/lmd_controls.h"
#include "widgets/lmd_dialog.h"
#include "widgets/lmd_messages.h"
#include "printer/lmd_printers.h"
#include "widgets/picture_edit.h"
#include "reports/lists/list_request.h"
#include "reports/lists/list_run.h"
#include "reports/dialogs/entry_checks.h"
#include "qtcore/school_text.h"
#include "reports/dialogs/run_gui.h"

namespace velmont::lists {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
// The school's code page, in which its words, saved entries and tables are held.
const qtcore::SchoolText& schoolTextOf(const school::SessionValues& v) {
  return qtcore::SchoolText::of(v.folder.codePage().codePage);
}
}  // namespace

ListDialog::ListDialog(school::Session& session, QWidget* owner, const std::string& reportCode)
    : session_(session), code_(reportCode) {
  session_.update([](school::SessionValues& v) {
    v.prAscii.clear();
    v.hdAscii.clear();
  });
  const school::SessionValues v = session_.values();
  c_name_ = schoolTextOf(v).decode(v.homeCl + " List with Subjects");
  std::string start, end;
  data::Workspace& ws = data::Workspace::forThisThread();
  try {
    school::yr_range(ws, v.folder, start, end);
  } catch (const data::DataError&) {
    start = end = "  ";  // the year-level check tells the user when a level is typed
  }
  // Saved options that cannot be read (a damaged prntpref.dbf) must not keep
  // the list away: the dialog opens with the defaults and says why.
  QString unreadable;
  school::SavedOptions saved = defaultListOptions(start, end);
  try {
    saved = school::loadSavedOptions(v.folder, v.userId, code_, saved, v.year);
  } catch (const std::exception& e) {
    unreadable = QString::fromLocal8Bit(e.what());
  }
  options_ = readListOptions(saved, v.hclLen);
  // Without a parent window: the main window stays reachable for File > Exit.
  dialog_ = new widgets::LmdDialog(nullptr, 20, 60, c_name_);
  dialog_->setAttribute(Qt::WA_DeleteOnClose, false);
  reports::modalBesideMainWindow(dialog_);
  build();
  reports::placeBelowProgress(dialog_, owner);
  if (!unreadable.isEmpty()) widgets::lmdQMsg(reports::savedOptionsNotice(unreadable), dialog_);
}

ListDialog::~ListDialog() {
  if (run_) run_->wait();  // the run gives the buttons back to this dialog
  delete dialog_;
}

namespace {

// A group of two radio buttons, laid out inside the group's frame and under
// its title; the group is as large as its title and buttons need.
QGroupBox* choiceGroup(QWidget* parent, double row, double column, double rows, double columns, const QString& caption,
                       QAbstractButton* first, QAbstractButton* second, bool across) {
  QGroupBox* box = widgets::lmdGBox(parent, row, column, rows, columns, caption);
  QBoxLayout* layout = across ? static_cast<QBoxLayout*>(new QHBoxLayout(box)) : new QVBoxLayout(box);
  layout->setContentsMargins(6, 2, 6, 4);
  layout->setSpacing(across ? 18 : 2);
  for (QAbstractButton* b : {first, second}) {
    b->setParent(box);
    layout->addWidget(b);
    b->show();
  }
  if (across) layout->addStretch();
  box->resize(box->size().expandedTo(box->minimumSizeHint()));
  return box;
}

}  // namespace

QGroupBox* ListDialog::radioGroup(double row, double column, const QString& caption, const QString& yes,
                                  const QString& no, bool& value) {
  using widgets::ButtonKind;
  QAbstractButton* on = widgets::lmdRadChk(dialog_, 0, 0, yes, ButtonKind::kRadio, value, [&value](bool b) { if (b) value = true; });
  QAbstractButton* off = widgets::lmdRadChk(dialog_, 0, 0, no, ButtonKind::kRadio, !value, [&value](bool b) { if (b) value = false; });
  return choiceGroup(dialog_, row, column, 3.6, 6, caption, on, off, false);
}

void ListDialog::build() {
  using namespace widgets;
  const school::SessionValues v = session_.values();
  const qtcore::SchoolText& schoolText = schoolTextOf(v);
  const QString yrGrd = schoolText.decode(data::rtrim(v.yearNames.word));  // without a grade.$vl word's padding
  const QString homeCl = schoolText.decode(v.homeCl);
  const double gap = cellMetric().width * 0.7;  // between controls side by side, in pixels
  int rightEdge = cellRect(1, 60, 1, 1).x();      // of the dialog's contents
  // The top line: ESC=Quit in the corner, the title centred in the rest.
  QPushButton* quit =
      lmdPshBtn(dialog_, 1.2, 1.5, 6.5, "ESC=Quit", [this] { reports::PRREQKEYS(Qt::Key_Escape, dialog_->focusWidget(), keys_); });
  QLabel* title = lmdSay(dialog_, 1, 3, c_name_, {.columns = 56, .rows = 1.5, .align = Qt::AlignHCenter, .font = "16.Arial Bold"});
  const int titleLeft = quit->geometry().right() + int(gap);
  title->setGeometry(titleLeft, title->y(),
                     std::max(cellRect(1, 60, 1, 1).x() - titleLeft, QFontMetrics(title->font()).horizontalAdvance(c_name_)),
                     title->height());

  const SayOptions label{.columns = 13, .align = Qt::AlignRight, .font = "11.Arial"};
  lmdSay(dialog_, 3, 2, yrGrd + " ", label);
  year_ = lmdXGet(dialog_, 3, 15, 2, q(options_.yearCode), "@!K",
                  {.check = [this](const QString& t) { return app::chk_yrin(session_, t.toStdString(), nullptr, dialog_); },
                   .help = "Enter starting " + yrGrd});
  lmdSay(dialog_, 6, 3, homeCl + " ", {.columns = 12, .align = Qt::AlignRight, .font = "11.Arial"});
  class_ = lmdXGet(dialog_, 6, 15, v.hclLen, schoolText.decode(options_.homeClass), "@!K",
                   {.check = [this, folder = v.folder, homeCl](const QString& t) {
                      return reports::homeClassAccepted(t, folder, homeCl, dialog_);
                    },
                    .help = homeCl + " - may be left blank"});
  lmdSay(dialog_, 7.5, 2, "Enrolled as at ", label);
  date_ = lmdXGet(dialog_, 7.5, 15, 10, q(libs::dateText(v.date)), q(libs::datePicture()),
                  {.check = [this](const QString& t) { return reports::asAtDateAccepted(t, dialog_); },
                   .help = "Print students enrolled as at THIS date"});
  QLabel* weightLabel = lmdSay(dialog_, 3, 31, "Exam/Assess mark %", {.columns = 16, .font = "11.Arial"});
  weight_ = lmdXGet(dialog_, 3, 49, 3, QString::number(options_.weight).rightJustified(3), "###",
                    {.check = [this](const QString& t) { return reports::examWeightAccepted(t, dialog_); },
                     .help = "Enter % of Exam/Assess mark to calculate mark"});
  weight_->move(std::max(weight_->x(), weightLabel->geometry().right() + int(gap)), weight_->y());

  if (code_ == kListReportCode) {
    QAbstractButton* name = lmdRadChk(dialog_, 0, 0, "Name", ButtonKind::kRadio, options_.names,
                                      [this](bool on) { if (on) options_.names = true; });
    QAbstractButton* code = lmdRadChk(dialog_, 0, 0, "Code", ButtonKind::kRadio, !options_.names,
                                      [this](bool on) { if (on) options_.names = false; });
    choiceGroup(dialog_, 4.4, 31, 2.3, 18, "Subject name", name, code, true);
    // The three Yes/No groups side by side, each as wide as its title.
    QGroupBox* births = radioGroup(6.9, 31, "Show Birthdates", "Yes", "No ", options_.birthDates);
    QGroupBox* shadow = radioGroup(6.9, 43, "Shadow?", "Yes", "No", options_.shading);
    shadow->move(births->geometry().right() + int(gap), shadow->y());
    QGroupBox* marks = radioGroup(6.9, 50, "Print Marks?", "yes", "no", options_.marks);
    marks->move(shadow->geometry().right() + int(gap), marks->y());
    rightEdge = std::max(rightEdge, marks->geometry().right() + 1);
  }

  const QString yr = yrGrd.trimmed();
  // The status box and the buttons reach as far right as the groups do.
  QFrame* status = lmdStat(dialog_, 11, 1.5, 7.6, 58.5);
  status->resize(rightEdge - status->x(), status->height());
  lmdMSay(dialog_, 11.4, 1.5 + 5,
          "This option will print subject lists of students by " + homeCl + " in a nominated " + yrGrd +
              ". Subjects may be indicated with an asterisk, or marks may be shown.\n\nMake starting " + yr +
              " = ending " + yr + " if only one " + yr + " is required." + " Leave " + homeCl +
              " blank if all classes are to be printed.",
          {.columns = 53, .rows = 5.5, .font = "11.Arial"});
  message_ = lmdSay(dialog_, 17.2, 1.5 + 5, "", {.columns = 53, .font = "11.Arial"});

  QLabel* printerWord = lmdSay(dialog_, 18.9, 2, "Printer: ", {.font = "9.Arial Bold"});
  printerLabel_ = lmdSay(dialog_, 18.9, 7, "", {.columns = 25.5, .font = "9.Arial"});
  printerLabel_->move(printerWord->geometry().right() + 2, printerLabel_->y());

  // F4, F5 and F6 along the bottom, ending at the dialog's right margin.
  print_ = lmdPshBtn(dialog_, 20.1, 31, 7.5, "F4 Print", [this] { dialog_->postKey(Qt::Key_F4); });
  preview_ = lmdPshBtn(dialog_, 20.1, 41, 7.5, "F5 Preview", [this] { dialog_->postKey(Qt::Key_F5); });
  QPushButton* change = lmdPshBtn(dialog_, 20.1, 51, 9.5, "F6 Change Printer", [this] { dialog_->postKey(Qt::Key_F6); });
  int right = rightEdge;
  for (QPushButton* b : {change, preview_, print_}) {
    b->move(right - b->width(), b->y());
    right = b->x() - int(gap);
  }
  // The buttons act like their keys and leave the focus in the field: a click
  // on them does not run the field's check (whose message would swallow the click).
  for (QPushButton* b : {print_, preview_, change, quit}) b->setFocusPolicy(Qt::NoFocus);

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
  keys_.printerSettings = &printerSettings;
  keys_.print = [this] { PRINTIT(false); };
  keys_.preview = [this] { PRINTIT(true); };
  keys_.mayClose = [this] { return !run_ || run_->done(); };
  keys_.stopRun = [this] {
    if (run_ && !run_->done() && !runPreviews_) reports::askToStopRun(*run_, dialog_);
  };
  dialog_->setKeyHandler([this](int key, QWidget* field) { return reports::PRREQKEYS(key, field, keys_); });
  if (year_) year_->setFocus(Qt::OtherFocusReason);
}

void ListDialog::PRINTIT(bool preview) {
  // F4 and F5 do not leave the field, so its check has not run yet: a level not
  // in use, a date that is none or a weight above 100 would start a wrong list.
  for (widgets::PictureEdit* f : {year_, class_, date_, weight_})
    if (f && !f->checkNow()) {
      f->takeFocusBack();
      return;
    }
  const school::SessionValues v = session_.values();
  // 1. The entries, as typed; 2. the year level's number, and its code for the saved options.
  ListEntries entries;
  entries.level = data::trim(year_->value().toStdString());
  entries.homeClass = class_->value();
  entries.asAt = libs::dateFromText(date_->value().toStdString());
  entries.weight = weight_->value().trimmed().toInt();
  entries.subjectNames = options_.names;
  entries.choices = {options_.birthDates, options_.marks, options_.shading};
  entries.reportCode = code_;
  entries.printerName = cPrinter;
  entries.preview = preview;
  ListBuilt built;
  try {
    built = listRequest(v, entries);
  } catch (const reports::RequestRefused& e) {
    widgets::lmdMsg(e.lines(), 0, dialog_);
    (e.field() == "class" ? class_ : year_)->takeFocusBack();
    return;
  } catch (const data::DataError& e) {
    widgets::lmdMsg({"The report cannot start.", q(e.what())}, 0, dialog_);
    return;
  }
  options_.homeClass = built.request.home_cl;
  options_.weight = entries.weight;
  options_.yearCode = built.yearCode;
  ListRequest r = std::move(built.request);
  r.run.title = c_name_;
  r.run.prAscii = reports::textFilePath(v.prAscii, v.folder.dir());  // the file the printer display names
  r.printerSettings = printerSettings;
  // Offered as the list's title, term and year, and its class, else its level.
  const QString narrowed = !class_->value().trimmed().isEmpty()
                               ? class_->value().trimmed()
                               : schoolTextOf(v).decode(data::trim(v.yearNames.word)) + ' ' + year_->value().trimmed();
  r.run.saveName = reports::reportFileName(c_name_, v.term, v.year, {narrowed});
  if (!reports::askPdfFile(dialog_, r.run)) return;
  if (!reports::askToReplaceTextFile(dialog_, r.run)) return;

  // 3. The buttons come back when the run ends.
  widgets::lmdEnable(print_, false);
  widgets::lmdEnable(preview_, false);
  // 4. The usage log.
  libs::lmdLog(" Print " + c_name_.toStdString(), v.userId, v.pwd);
  // 5. The options are saved before the run starts, so a run that prints nothing keeps them.
  try {
    school::saveOptions(v.folder, v.userId, code_, listPrefs(options_), listExtras(options_));
  } catch (const data::DataError& e) {
    widgets::lmdMsg({"Your choices could not be saved.", q(e.what())}, 0, dialog_);
  }
  // 6. The run on its own thread.
  runPreviews_ = preview;
  run_ = startList(std::move(r), reports::makeGuiRunUi(session_, dialog_, {print_, preview_}));
  // 7. The notice "Report has been sent to ..." comes from the run when it has
  // sent something: a list that matched nobody sends nothing.
}

void ListDialog::exec() { dialog_->exec(); }

void STPRINT1(school::Session& session, QWidget* owner, const std::string& reportCode) {
  ListDialog dialog(session, owner, reportCode);
  dialog.exec();
}

void registerListDialog() {
  app::registerLeaveCheck(reports::endRunsBeforeLeaving);
  app::registerReportDialog(kListReportCode, [](school::Session& session, QWidget* owner, const std::string& code) {
    STPRINT1(session, owner, code);
  });
}

}  // namespace velmont::lists
