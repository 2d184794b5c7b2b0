#pragma once
// The main window: the top bar with the progress lines and term captions, the
// banner with the school's name, and the menu bar with the program's commands.
#include <QPointer>
#include <memory>

#include "widgets/lmd_app.h"
#include "progress_display.h"
#include "school/session.h"

class QLabel;

namespace velmont::widgets {
class MenuManager;
}

namespace velmont::app {

// Names of the menu items, for the report registry and for tests.
inline constexpr const char* kItemTermYear = "termyear";
inline constexpr const char* kItemProcDate = "procdate";
inline constexpr const char* kItemExit = "exit";
inline constexpr const char* kItemEndOfTerm = "T_EOT_Rpt";
inline constexpr const char* kItemStudentList = "L_Rpt_001";
inline constexpr const char* kItemReportB = "sr2";
inline constexpr const char* kItemReportC = "sr3";
inline constexpr const char* kItemYourReport = "yourrept";
inline constexpr const char* kItemAbout = "about";

class MainWindow {
 public:
  // Builds and shows the window with its top bar and captions (oMainDlg).
  explicit MainWindow(school::Session& session);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // The menu bar "mainbar" (oMM).
  void buildMenu();
  // The school's name and the program's line in the drawing area.
  void drawBanner();
  // Brings the term captions up to date with the session.
  void updateCaptions();

  // The commands of the "~File" menu.
  void changeTermAndYear();
  void changeProcessingDate();
  // ENDITALL: commits and closes every table and ends the event loop.
  void exitProgram();

  widgets::AppWindow* window() const { return window_; }
  widgets::MenuManager* menu() const { return menu_; }
  ProgressDisplay& progress() { return *progress_; }
  QLabel* headingLabel() const { return termYrHd_; }
  QLabel* nowLabel() const { return termYrNow_; }

 private:
  void buildTopBar();
  void fitTopBar();

  school::Session& session_;
  QPointer<widgets::AppWindow> window_;
  QWidget* topBar_ = nullptr;
  QLabel* termYrHd_ = nullptr;
  QLabel* termYrNow_ = nullptr;
  std::unique_ptr<ProgressDisplay> progress_;
  widgets::MenuManager* menu_ = nullptr;
};

}  // namespace velmont::app
