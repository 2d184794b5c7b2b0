#include "main_window.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <algorithm>
#include <QEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>

#include "change_proc.h"
#include "data_errors.h"
#include "commands/about_box.h"
#include "commands/request_file.h"
#include "data/code_page.h"
#include "data/workspace.h"
#include "widgets/cells.h"
#include "widgets/lmd_controls.h"
#include "widgets/lmd_menu.h"
#include "widgets/lmd_messages.h"
#include "qtcore/school_text.h"
#include "report_commands.h"
#include "school/term_rules.h"

namespace velmont::app {
namespace {

using namespace widgets;

constexpr double kWindowRows = 24, kWindowColumns = 90;
constexpr double kTopBarRows = 2.0;

// The school's text (its name, its words, year names) in its code page.
QString q(const std::string& s) { return qtcore::SchoolText::forThisThread().decode(s); }

int windowBackground() { return lmdRGB(239, 239, 255); }

// The main window stays reachable while a report's options are open (for File
// > Exit and its close button): when it comes to the front, the options come
// along, above it, so they are never lost behind it.
class OptionsAbove : public QObject {
 public:
  explicit OptionsAbove(QWidget* window) : QObject(window), window_(window) { window->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::WindowActivate) return false;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w != window_ && w->isVisible() && w->isModal() && qobject_cast<QDialog*>(w)) w->raise();
    return false;
  }

 private:
  QWidget* window_;
};

// Keeps the top bar as wide as the drawing area.
class WidthFollower : public QObject {
 public:
  WidthFollower(QWidget* area, QWidget* bar) : QObject(bar), bar_(bar) { area->installEventFilter(this); }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Resize) bar_->resize(static_cast<QWidget*>(watched)->contentsRect().width(), bar_->height());
    return false;
  }

 private:
  QWidget* bar_;
};

}  // namespace

MainWindow::MainWindow(school::Session& session) : session_(session) {
  const school::SessionValues v = session.values();
  // The window's thread shows the school's text in its code page from now on.
  qtcore::SchoolText::useForThisThread(qtcore::SchoolText::of(v.folder.codePage().codePage));
  window_ = lmdApp(q(v.title), "raised", kWindowRows, kWindowColumns);
  window_->setAttribute(Qt::WA_DeleteOnClose, false);
  window_->setOnClose([this] { exitProgram(); });
  lmdSetColor(window_->area(), {kNoColour, windowBackground()});
  buildTopBar();
  new OptionsAbove(window_);
  window_->show();
  window_->activateWindow();
  ProgressDisplay::setOfMainWindow(progress_.get());
}

MainWindow::~MainWindow() {
  ProgressDisplay::setOfMainWindow(nullptr);
  delete window_.data();
}

void MainWindow::buildTopBar() {
  QWidget* area = window_->area();
  auto* bar = new QFrame(area);
  bar->setFrameShape(QFrame::Panel);
  bar->setFrameShadow(QFrame::Raised);
  lmdSetColor(bar, {kNoColour, -2});
  new WidthFollower(area, bar);
  topBar_ = bar;

  SayOptions progressLine;
  progressLine.columns = 20;
  progressLine.font = "10.Arial";
  progressLine.colours = {9, -2};
  QLabel* line1 = lmdSay(bar, 1.1, 40.4, " ", progressLine);
  progressLine.font.clear();
  QLabel* line2 = lmdSay(bar, 1.8, 40.4, " ", progressLine);
  QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  fixed.setPointSize(10);
  line2->setFont(fixed);
  line1->setObjectName("oProgMain1");
  line2->setObjectName("oProgMain2");

  std::array<QFrame*, 4> rules = {lmdLine(bar, 1, 39.5, 21), lmdVLine(bar, 0.5, 39.4, 2.3),
                                  lmdLine(bar, 2.8, 39.5, 21), lmdVLine(bar, 0.5, 60.5, 2.3)};
  for (QFrame* r : rules) r->hide();
  progress_ = std::make_unique<ProgressDisplay>(line1, line2, rules);

  SayOptions caption;
  caption.columns = 25;
  caption.font = "10.Arial";
  caption.colours = {10, -2};
  termYrHd_ = lmdSay(bar, 2, 64, q(school::headingCaption(session_.values())), caption);
  termYrHd_->setObjectName("oTermYr_Hd");
  caption.colours = {0, 10};
  termYrNow_ = lmdSay(bar, 2, 64, "", caption);
  termYrNow_->setObjectName("oTermYr_Now");
  termYrNow_->hide();
  fitTopBar();
  bar->show();
}

// The progress box holds the scale line with the bar under it, each as high as
// its font, between the box's rules and inside the bar's frame; the box is as
// wide as the longer of the two texts needs. The captions sit on the bar's
// lower half, clear of its frame.
void MainWindow::fitTopBar() {
  QWidget* area = window_->area();
  QLabel* line1 = progress_->line1();
  QLabel* line2 = progress_->line2();
  const QFontMetrics fm1(line1->font()), fm2(line2->font());
  const int frame = static_cast<QFrame*>(topBar_)->frameWidth();
  constexpr int kRule = 3;  // a rule's own height (its line is in the middle)
  const int lines = fm1.height() + fm2.height();
  const int barHeight = std::max(cellSize(kTopBarRows, 0).height(), lines + 2 * frame + 2 * kRule + 2);
  const QRect room = area->contentsRect();  // inside the drawing area's own frame
  topBar_->setGeometry(room.x(), room.y(), room.width(), barHeight);

  const int top = frame, bottom = barHeight - frame - kRule;  // the rules' tops
  const int left = cellRect(1, 39.4, 1, 1).x() - 1;
  const int textLeft = std::max(cellRect(1, 40.4, 1, 1).x(), left + kRule + 1);
  const int textWidth =
      std::max({cellSize(1, 20).width(), fm1.horizontalAdvance(QStringLiteral("0   printing   50%   report  100%")) + 4,
                fm1.horizontalAdvance(QStringLiteral("2000 of 2000 printed, 33:19 left")) + 4,
                fm2.horizontalAdvance(QString(23, QChar(0x2588))) + 4});
  const int right = std::max(cellRect(1, 60.5, 1, 1).x() - 1, textLeft + textWidth + 1);
  progress_->rule(0)->setGeometry(left, top, right + kRule - left, kRule);
  progress_->rule(2)->setGeometry(left, bottom, right + kRule - left, kRule);
  progress_->rule(1)->setGeometry(left, top, kRule, bottom + kRule - top);
  progress_->rule(3)->setGeometry(right, top, kRule, bottom + kRule - top);
  const int firstLine = top + kRule + (bottom - top - kRule - lines) / 2;
  line1->setGeometry(textLeft, firstLine, textWidth, fm1.height());
  line2->setGeometry(textLeft, firstLine + fm1.height(), textWidth, fm2.height());

  const QFontMetrics fmc(termYrHd_->font());
  const int captionLeft = std::max(cellRect(1, 64, 1, 1).x(), right + kRule + 8);
  const QRect caption(captionLeft, barHeight - frame - fmc.height() - 1, cellSize(1, 25).width(), fmc.height());
  termYrHd_->setGeometry(caption);
  termYrNow_->setGeometry(caption);
}

void MainWindow::updateCaptions() {
  const school::SessionValues v = session_.values();
  termYrHd_->setText(q(school::headingCaption(v)));
  if (school::nowCaptionShown(v)) {
    termYrNow_->setText(q(school::nowCaption(v)));
    termYrNow_->show();
    termYrNow_->raise();
  } else {
    termYrNow_->hide();
  }
}

void MainWindow::buildMenu() {
  const school::SessionValues v = session_.values();
  auto report = [this](const char* code) {
    return [this, code] {
      app::ReportDialog open = reportDialog(code);
      if (!open) return;
      // While a report's options are open, the commands that would change the
      // term, year or date it prints for (or open a second report) wait; File >
      // Exit and the window's close button stay, and ask to stop a run.
      std::vector<std::pair<QAction*, bool>> held;
      for (const char* name : {kItemTermYear, kItemProcDate, kItemEndOfTerm, kItemStudentList, kItemYourReport, kItemAbout})
        if (QAction* a = menu_->item(name)) {
          held.emplace_back(a, a->isEnabled());
          a->setEnabled(false);
        }
      open(session_, window_, code);
      for (const auto& [action, enabled] : held) action->setEnabled(enabled);
    };
  };
  std::vector<MenuDef> menus = {
      {"files",
       "~File         ",
       {{kItemTermYear, "Change ~Term and Year", [this] { changeTermAndYear(); }},
        {kItemProcDate, "Change Processing ~Date", [this] { changeProcessingDate(); }},
        {"", "", {}, true, true},
        {kItemExit, "E~xit", [this] { exitProgram(); }}}},
      {"schrpt", "~End of Term Reports", {{kItemEndOfTerm, "~Print End of Term Reports", report(kItemEndOfTerm)}}},
      {"sturpt",
       "~Velmont printouts",
       {{kItemStudentList, "~A " + q(v.homeCl) + " List with Subjects", report(kItemStudentList)},
        {kItemReportB, "~B Velmont report B", {}, false},
        {kItemReportC, "~C Velmont report C", {}, false}}},
      {"yourpt",
       "~Your Report",
       {{kItemYourReport, "~Specify your report",
         [this] { commands::YOUR_REPT(session_.get(&school::SessionValues::folder).dir(), window_); }}}},
      {"help",
       "~Help",
       {{kItemAbout, "~About Velmont program",
         [this] { commands::ABOUTBOX(q(session_.get(&school::SessionValues::version)), window_); }}}},
  };
  menu_ = lmdMMgr(window_, "mainbar", menus);
}

void MainWindow::drawBanner() {
  const school::SessionValues v = session_.values();
  SayOptions banner;
  banner.columns = 56;
  banner.rows = 2;
  banner.align = Qt::AlignHCenter;
  banner.colours = {15, windowBackground()};
  banner.font = "22.Arial Bold";
  std::string school = v.school;
  while (!school.empty() && school.back() == ' ') school.pop_back();
  lmdSay(window_->area(), 7, 12, q(school), banner)->setObjectName("school");
  banner.font = "18.Arial Bold";
  lmdSay(window_->area(), 10, 12, "Velmont Program (sample only)", banner)->setObjectName("programLine");
}

void MainWindow::changeTermAndYear() {
  const school::SessionValues v = session_.values();
  QString term = QString::number(v.term), year = QString::number(v.year);
  const bool confirmed = lmdGet2Str("Term(1-4)", " and Year", term, year, 2, 4, "9", "9999", window_);
  session_.update(
      [&](school::SessionValues& values) { school::applyTermYear(values, confirmed, term.toStdString(), year.toStdString()); });
  updateCaptions();
  if (!confirmed) return;
  // A value that is not taken is told, with the value that stays.
  const school::SessionValues now = session_.values();
  QStringList refused;
  if (!school::termTaken(term.toStdString()))
    refused << "Term \"" + term.trimmed() + "\" is not a term (1 to 4): the term stays " + QString::number(now.term) + ".";
  if (!school::yearTaken(year.toStdString()))
    refused << "Year \"" + year.trimmed() + "\" is not taken (it must be a whole year after 1990): the year stays " +
                   QString::number(now.year) + ".";
  if (!refused.isEmpty()) lmdMsg(refused, 0, window_);
}

void MainWindow::changeProcessingDate() {
  CHANGE_PROC(session_, true, window_);
  updateCaptions();
}

void MainWindow::exitProgram() {
  // A report still working is stopped and waited for first, if the user wants
  // that; otherwise the program goes on.
  if (!mayLeave(window_)) return;
  data::Workspace& ws = data::Workspace::forThisThread();
  // A table that cannot be written is told; closing goes on regardless.
  showDataErrors(window_, [&] { ws.commitAll(); });
  ws.closeAll();
  ws.select(1);
  lmdQMsgClose();
  if (window_) window_->hide();
  QApplication::exit(0);
}

}  // namespace velmont::app
