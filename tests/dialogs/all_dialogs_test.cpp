// Every dialog and window of the program, opened on a copy of the demo school
// as a user opens them, must show its texts whole and keep its controls apart.
// ctest runs this program at scale factors 1.0 and 1.25 (QT_SCALE_FACTOR).
#include <gtest/gtest.h>

#include <QMenu>
#include <QMessageBox>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>

#include "app/main_window.h"
#include "app/progress_display.h"
#include "app/startup.h"
#include "app/year_entry.h"
#include "commands/about_box.h"
#include "commands/request_file.h"
#include "data/workspace.h"
#include "gui_helpers.h"
#include "layout_check.h"
#include "printer/rv_prn_dlg.h"
#include "widgets/lmd_browse.h"
#include "widgets/lmd_dialog.h"
#include "widgets/lmd_menu.h"
#include "widgets/lmd_messages.h"
#include "preview_run.h"
#include "reports/dialogs/entry_checks.h"
#include "reports/dialogs/eot_dialog.h"
#include "reports/eot/eot_headings.h"
#include "reports/dialogs/heading_editor.h"
#include "reports/dialogs/list_dialog.h"
#include "school_fixture.h"

namespace velmont::testing {
namespace {

QString scaleName() {
  const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR");
  return scale.isEmpty() ? QStringLiteral("1") : scale;
}

// Checks a shown window and saves its picture for a person to look at.
void expectWhole(QWidget* window, const QString& name, const QStringList& overlays = {}) {
  ASSERT_TRUE(window);
  QTest::qWait(0);
  saveShot(window, name + "-x" + scaleName());
  const QStringList faults = layoutFaults(window, overlays);
  EXPECT_TRUE(faults.isEmpty()) << name.toStdString() << ":\n  " << faults.join("\n  ").toStdString();
}

class AllDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    eot::registerEotDialog();
    lists::registerListDialog();
    app::CommandLine cl;
    cl.dataDir = school.dir();
    cl.positional = {"2", "2026"};
    cl.singleInstance = false;
    program = std::make_unique<app::Program>(cl);
    ASSERT_TRUE(program->start());
    main = program->window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main->window()));  // laid out, as before a user's first click
  }
  void TearDown() override {
    program.reset();
    data::Workspace::forThisThread().closeAll();
  }
  school::Session& session() { return program->session(); }
  QWidget* owner() { return main->window(); }
  // Opens a modal window with `open`, checks it once shown and closes it.
  void checkModal(const QString& name, const std::function<void()>& open,
                  const std::function<void(QWidget*)>& more = {}) {
    bool seen = false;
    onNextModal([&](QWidget* w) {
      seen = true;
      expectWhole(w, name);
      if (more) more(w);
      if (w->isVisible()) qobject_cast<QDialog*>(w)->reject();
    });
    open();
    EXPECT_TRUE(seen) << name.toStdString();
  }

  // An options dialog leaves the main window's progress box in sight.
  void expectBelowProgress(QWidget* dialog) {
    QFrame* boxBottom = main->progress().rule(2);
    const int clear = boxBottom->mapToGlobal(QPoint(0, boxBottom->height())).y();
    EXPECT_GE(dialog->frameGeometry().top(), clear) << "the dialog covers the progress box";
  }

  SchoolCopy school;
  std::unique_ptr<app::Program> program;
  app::MainWindow* main = nullptr;
};

TEST_F(AllDialogs, MainWindowWithItsProgressBoxAndBothCaptions) {
  // As during a run: the frame shown, the scale line and a full bar.
  main->progress().showFrame(true);
  main->progress().setLine1("0   printing   50%   report  100%");
  main->progress().setLine2(QString(23, QChar(0x2588)));
  main->updateCaptions();
  ASSERT_TRUE(main->nowLabel()->isVisible());  // term 2 of 2026 given on the command line
  QTest::qWait(0);
  expectWhole(main->window(), "main-window");
}

TEST_F(AllDialogs, TermAndDateQuestions) {
  checkModal("term-and-year", [&] { main->menu()->item(app::kItemTermYear)->trigger(); });
  checkModal("processing-date", [&] { main->menu()->item(app::kItemProcDate)->trigger(); });
}

TEST_F(AllDialogs, EndOfTermOptionsWithTheHeadingEditor) {
  eot::MK_HDEOTS(school::SchoolFolder(school.dir()), " Year");
  checkModal("end-of-term-options", [&] { main->menu()->item(app::kItemEndOfTerm)->trigger(); },
             [&](QWidget* w) {
               expectBelowProgress(w);
               widgets::BrowseView* editor = eot::editHeadings(w, school::SchoolFolder(school.dir()));
               ASSERT_TRUE(editor);
               QTest::qWait(0);
               // All six headings and both column titles show without scrolling.
               EXPECT_EQ(editor->grid()->rowCount(), 6);
               EXPECT_EQ(editor->grid()->verticalScrollBar()->maximum(), 0);
               EXPECT_EQ(editor->grid()->horizontalScrollBar()->maximum(), 0);
               const QFontMetrics fm(editor->grid()->horizontalHeader()->font());
               EXPECT_GE(editor->grid()->columnWidth(0), fm.horizontalAdvance("4 Char Heading"));
               // Over the explanatory texts only: clear of the buttons, the printer line and the help line.
               for (QWidget* other : w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                 const bool mayCover = qobject_cast<QLabel*>(other) && static_cast<QLabel*>(other)->wordWrap();
                 if (other == editor || !other->isVisible() || mayCover) continue;
                 EXPECT_FALSE(editor->geometry().intersects(other->geometry())) << describe(other).toStdString();
               }
               expectWhole(w, "heading-editor", {"headingEditor"});
             });
}

TEST_F(AllDialogs, ListOptions) {
  checkModal("list-options", [&] { main->menu()->item(app::kItemStudentList)->trigger(); },
             [&](QWidget* w) { expectBelowProgress(w); });
}

TEST_F(AllDialogs, PrinterDialog) {
  checkModal("printer-dialog", [&] {
    printer::PrnDlgOptions o;
    o.prompt = "Choose Printer for Report:";
    o.focus = 1;
    o.currentPrinter = "PDF";
    o.owner = owner();
    printer::RVPrnDlg(session(), o);
  });
}

TEST_F(AllDialogs, PreviewWindowSteppingFinalAndHelp) {
  print::testing::ZoomLevelGuard keep;
  print::testing::PreviewRun run(2, {.maximize = false});
  ASSERT_TRUE(run.waitForCall(1));
  expectWhole(run.window(), "preview-stepping");
  // The page is drawn in the screen's own pixels: sharp on a scaled screen.
  const QImage& page = run.window()->pageImage();
  EXPECT_EQ(page.devicePixelRatio(), run.window()->devicePixelRatioF());
  EXPECT_GE(page.width(), int(run.find<QWidget>("pageArea")->width() * run.window()->devicePixelRatioF()));
  run.pressText('N');
  ASSERT_TRUE(run.waitForCall(2));
  expectWhole(run.window(), "preview-final");
  bool asked = false;
  onNextModal([&](QWidget* prompt) {
    asked = true;
    expectWhole(prompt, "preview-go-to-page");
    qobject_cast<QDialog*>(prompt)->reject();
  });
  run.pressText('G');
  ASSERT_TRUE(QTest::qWaitFor([&] { return asked; }));
  run.pressText('H');
  QWidget* help = nullptr;
  ASSERT_TRUE(QTest::qWaitFor([&] { return (help = QApplication::activeModalWidget()) != nullptr; }));
  expectWhole(help, "preview-help");
  auto* area = help->findChild<QAbstractScrollArea*>("helpArea");
  ASSERT_TRUE(area);
  EXPECT_FALSE(area->horizontalScrollBar()->isVisible()) << "the help's lines need a horizontal scroll bar";
  qobject_cast<QDialog*>(help)->accept();
  run.press(Qt::Key_Q);
  ASSERT_TRUE(run.finish());
}

TEST_F(AllDialogs, AboutBoxAndRequestQuestion) {
  checkModal("about-box", [&] { main->menu()->item(app::kItemAbout)->trigger(); });
  checkModal("request-question", [&] { commands::YOUR_REPT(school.dir(), owner(), {}); });
}

TEST_F(AllDialogs, MessageBoxes) {
  checkModal("fees-message", [&] { app::CHK_YR_NO_AM(session(), owner()); });
  checkModal("missing-students", [&] {
    widgets::lmdMsg({"STUDENT files are not here", "We cannot continue!"}, 14, owner());
  });
  checkModal("headings-first", [&] {
    widgets::lmdMsg({"Please run Report first", "then Change Headings"}, 0, owner());
  });
  checkModal("unknown-year-code", [&] { app::chk_yrin(session(), "ZZ", nullptr, owner()); });
  checkModal("exam-weight-refused", [&] { reports::examWeightAccepted("150", owner()); });
  checkModal("date-refused", [&] { reports::asAtDateAccepted("31/02/2026", owner()); });
}

}  // namespace
}  // namespace velmont::testing
