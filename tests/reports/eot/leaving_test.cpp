// Leaving the program while the cards print: the real program on a demo
// school, its end-of-term dialog opened from the menu, and the main window's
// close button pressed during the run. The program asks first; No goes on
// printing, Yes stops the run, waits for its thread and ends, with nothing
// half-written and the earlier file kept.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QWindow>
#include <map>
#include <QPushButton>
#include <QTimer>
#include <filesystem>

#include "app/main_window.h"
#include "app/startup.h"
#include "data/workspace.h"
#include "gui_helpers.h"
#include "widgets/lmd_dialog.h"
#include "widgets/lmd_menu.h"
#include "reports/common/run_control.h"
#include "reports/dialogs/run_gui.h"
#include "reports/dialogs/eot_dialog.h"
#include "school_fixture.h"
#include "temp_dir.h"

namespace velmont::testing {
namespace {

QByteArray bytesOf(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class Leaving : public ::testing::Test {
 protected:
  Leaving() {
    eot::registerEotDialog();
    reports::setPdfFileChooser([this](const QString&) { return pdf; });
  }
  ~Leaving() override {
    reports::setPdfFileChooser({});
    data::Workspace::forThisThread().closeAll();
  }

  // Starts a run with F4 in the dialog, then presses the main window's close
  // button and gives `answer` to the question that follows.
  void printThenClose(widgets::LmdDialog* dialog, const QString& answer) {
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    onNextModal([this, answer](QWidget* box) {
      questions << messageText(box);
      EXPECT_FALSE(reports::workingRuns().empty()) << "the run waits for the answer";
      clickButton(box, answer);
    });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4);
    program->window()->window()->close();
  }
  static bool buttonsBack(widgets::LmdDialog* dialog) {
    for (QPushButton* b : dialog->findChildren<QPushButton*>())
      if (b->text().remove('&') == "F4 Print") return QTest::qWaitFor([b] { return b->isEnabled(); }, 30000);
    return false;
  }

  SchoolCopy school;
  TempDir out;
  QString pdf = QString::fromStdString(out.file("cards.pdf"));
  std::unique_ptr<app::Program> program;
  QStringList questions;
};

TEST_F(Leaving, ClosingTheProgramDuringARunAsksAndStopsItCleanlyOnlyOnYes) {
  app::CommandLine line;
  line.dataDir = school.dir();
  line.singleInstance = false;
  program = std::make_unique<app::Program>(line);
  ASSERT_TRUE(program->start());
  QByteArray firstCards;
  onNextModal([&](QWidget* w) {
    auto* dialog = qobject_cast<widgets::LmdDialog*>(w);
    ASSERT_NE(dialog, nullptr);
    // No: the program and the run go on, and the cards are printed whole.
    printThenClose(dialog, "No");
    EXPECT_TRUE(program->window()->window()->isVisible());
    ASSERT_TRUE(buttonsBack(dialog));
    firstCards = bytesOf(pdf);
    EXPECT_TRUE(firstCards.startsWith("%PDF"));
    // Yes: the run stops, its thread ends, and then the program.
    printThenClose(dialog, "Yes");
    EXPECT_TRUE(reports::workingRuns().empty()) << "the run has ended before the program does";
    EXPECT_FALSE(program->window()->window()->isVisible());
  });
  QTimer::singleShot(0, [&] { program->window()->menu()->item(app::kItemEndOfTerm)->trigger(); });
  EXPECT_EQ(program->exec(), 0);
  ASSERT_EQ(questions.size(), 2);
  EXPECT_TRUE(questions[0].startsWith("Stop the report?")) << questions[0].toStdString();
  EXPECT_EQ(bytesOf(pdf), firstCards) << "the stopped run leaves the earlier cards as they were";
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out.path()), {}), 1) << "no temporary file";
  EXPECT_FALSE(data::Workspace::forThisThread().isOpen("sccontro"));
}

// The options dialog is modal, yet the main window is not blocked by it: a
// click on its File menu opens the menu (only Exit is offered), and Exit while
// the cards print asks to stop the run, as the window's close button does.
TEST_F(Leaving, FileExitStaysReachableWhileTheOptionsAreOpenAndAsksToStopTheRun) {
  app::CommandLine line;
  line.dataDir = school.dir();
  line.singleInstance = false;
  program = std::make_unique<app::Program>(line);
  ASSERT_TRUE(program->start());
  widgets::MenuManager* menu = program->window()->menu();
  QWidget* main = program->window()->window();
  bool menuOpened = false;
  std::map<std::string, bool> enabled;
  onNextModal([&](QWidget* w) {
    auto* dialog = qobject_cast<widgets::LmdDialog*>(w);
    ASSERT_NE(dialog, nullptr);
    for (const char* name : {app::kItemTermYear, app::kItemProcDate, app::kItemEndOfTerm, app::kItemExit})
      enabled[name] = menu->item(name)->isEnabled();
    // A real click on the main window's "File", through its window: a window
    // blocked by a modal dialog would not take it.
    QMenuBar* bar = menu->bar();
    const QPoint file = bar->mapTo(main, bar->actionGeometry(menu->menu("files")->menuAction()).center());
    QTest::mouseClick(main->windowHandle(), Qt::LeftButton, {}, file);
    menuOpened = QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }, 2000);
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    onNextModal([this](QWidget* box) {
      questions << messageText(box);
      clickButton(box, "Yes");
    });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4);
    menu->item(app::kItemExit)->trigger();
    EXPECT_TRUE(reports::workingRuns().empty()) << "the run has ended before the program does";
  });
  QTimer::singleShot(0, [&] { menu->item(app::kItemEndOfTerm)->trigger(); });
  EXPECT_EQ(program->exec(), 0);
  EXPECT_TRUE(menuOpened) << "the main window's menu could not be reached while the options were open";
  EXPECT_TRUE(enabled[app::kItemExit]);
  EXPECT_FALSE(enabled[app::kItemTermYear]);
  EXPECT_FALSE(enabled[app::kItemProcDate]);
  EXPECT_FALSE(enabled[app::kItemEndOfTerm]);
  ASSERT_EQ(questions.size(), 1);
  EXPECT_TRUE(questions[0].startsWith("Stop the report?")) << questions[0].toStdString();
  EXPECT_FALSE(QFile::exists(pdf)) << "nothing of the stopped run was written";
}

}  // namespace
}  // namespace velmont::testing
