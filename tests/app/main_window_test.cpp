// The program as the user sees it: start-up on a demo school, the top bar's
// captions, the menus, the term and date commands, and the exit.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <fstream>

#include "app/main_window.h"
#include "app/startup.h"
#include "data/workspace.h"
#include "gui_helpers.h"
#include "libs/date_text.h"
#include "widgets/lmd_menu.h"
#include "widgets/picture_edit.h"
#include "school_fixture.h"

namespace velmont::app {
namespace {

using testing::onNextModal;
using testing::SchoolCopy;

CommandLine lineFor(const SchoolCopy& school, std::vector<std::string> positional = {}) {
  CommandLine cl;
  cl.dataDir = school.dir();
  cl.positional = std::move(positional);
  cl.singleInstance = false;
  return cl;
}

QString today() { return QString::fromStdString(libs::dateText(data::Date::today())); }

// Types into the input box's fields in order and confirms with Enter.
void answerInputBox(QWidget* box, const QStringList& values) {
  // Focus and the selection it brings come only to an active window.
  box->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(box));
  auto edits = box->findChildren<widgets::PictureEdit*>();
  ASSERT_EQ(edits.size(), values.size());
  for (int i = 0; i < values.size(); ++i) {
    edits[i]->setFocus(Qt::TabFocusReason);  // as the Tab key does: the old text is selected
    QTest::keyClicks(edits[i], values[i]);
  }
  QTest::keyClick(edits.back(), Qt::Key_Return);
}

class Started : public ::testing::Test {
 protected:
  void start(std::vector<std::string> positional = {}) {
    program = std::make_unique<Program>(lineFor(school, std::move(positional)));
    ASSERT_TRUE(program->start());
    window = program->window();
  }
  void TearDown() override {
    program.reset();
    data::Workspace::forThisThread().closeAll();
  }
  QAction* item(const char* name) { return window->menu()->item(name); }

  SchoolCopy school;
  std::unique_ptr<Program> program;
  MainWindow* window = nullptr;
};

TEST_F(Started, WithoutArgumentsTheHeadingShowsTermThreeTheYearAndToday) {
  start();
  EXPECT_EQ(window->window()->windowTitle(), "Velmont Program");
  EXPECT_TRUE(window->window()->isVisible());
  EXPECT_EQ(window->headingLabel()->text(), "Term 3 " + QString::number(data::Date::today().year()) + "  " + today());
  EXPECT_FALSE(window->nowLabel()->isVisible());
  EXPECT_TRUE(testing::labelTexts(window->window()).contains("Kestrel Point High School"));
  EXPECT_TRUE(testing::labelTexts(window->window()).contains("Velmont Program (sample only)"));
  const school::SessionValues v = program->session().values();
  EXPECT_EQ(v.term, 3);
  EXPECT_EQ(v.year, data::Date::today().year());
  EXPECT_EQ(v.school, "Kestrel Point High School");
}

TEST_F(Started, TermAndYearArgumentsShowTheNowCaption) {
  start({"2", "2004"});
  EXPECT_TRUE(window->nowLabel()->isVisible());
  EXPECT_EQ(window->nowLabel()->text(), "Term 2 2004  " + today());
}

TEST_F(Started, OneArgumentChangesOnlyTheTerm) {
  start({"1"});
  EXPECT_EQ(program->session().get(&school::SessionValues::term), 1);
  EXPECT_EQ(program->session().get(&school::SessionValues::year), data::Date::today().year());
  EXPECT_EQ(window->nowLabel()->text(), "Term 1 " + QString::number(data::Date::today().year()) + "  " + today());
}

TEST_F(Started, MenuBarHasEveryItem) {
  start();
  QStringList titles;
  for (QAction* a : window->window()->menuBar()->actions()) titles << a->text();
  EXPECT_EQ(titles, (QStringList{"&File         ", "&End of Term Reports", "&Velmont printouts", "&Your Report",
                                 "&Help"}));
  QStringList files;
  for (QAction* a : window->menu()->menu("files")->actions()) files << (a->isSeparator() ? "-" : a->text());
  EXPECT_EQ(files, (QStringList{"Change &Term and Year", "Change Processing &Date", "-", "E&xit"}));
  EXPECT_EQ(item(kItemEndOfTerm)->text(), "&Print End of Term Reports");
  EXPECT_EQ(item(kItemStudentList)->text(), "&A Home Class List with Subjects");
  EXPECT_FALSE(item(kItemReportB)->isEnabled());
  EXPECT_FALSE(item(kItemReportC)->isEnabled());
  EXPECT_EQ(item(kItemYourReport)->text(), "&Specify your report");
  EXPECT_EQ(item(kItemAbout)->text(), "&About Velmont program");
  item(kItemEndOfTerm)->trigger();  // no dialog registered yet: nothing happens
}

TEST(StartUp, HomeClassWordNamesTheListItem) {
  SchoolCopy school;
  std::ofstream(school.file("homecl.$vl")) << "Tutor Group\n";
  Program program(lineFor(school));
  ASSERT_TRUE(program.start());
  EXPECT_EQ(program.window()->menu()->item(kItemStudentList)->text(), "&A Tutor Group List with Subjects");
}

TEST(StartUp, MissingStudentsTableEndsTheProgramAfterItsMessage) {
  SchoolCopy school;
  std::filesystem::remove(school.file("ststuden.dbf"));
  Program program(lineFor(school));
  QString shown;
  onNextModal([&](QWidget* box) {
    shown = testing::messageText(box);
    QTest::keyClick(box, Qt::Key_Return);
  });
  EXPECT_FALSE(program.start());
  EXPECT_EQ(shown, "STUDENT files are not here\nWe cannot continue!");
  EXPECT_NE(program.exitCode(), 0);
}

TEST(StartUp, DamagedInstallationRecordIsNamedAndStartUpGoesOn) {
  SchoolCopy school;
  std::ofstream(school.file("ccmp.dst"), std::ios::binary | std::ios::trunc) << "not a table";
  Program program(lineFor(school));
  QString shown;
  onNextModal([&](QWidget* box) {
    shown = testing::messageText(box);
    QTest::keyClick(box, Qt::Key_Return);
  });
  ASSERT_TRUE(program.start());
  EXPECT_TRUE(shown.contains("ccmp.dst")) << shown.toStdString();
  EXPECT_EQ(program.session().get(&school::SessionValues::school), "");
}

TEST(StartUp, CommandLine) {
  CommandLine cl = parseCommandLine({"2", "--data-dir", "/school", "2004"});
  EXPECT_EQ(cl.positional, (std::vector<std::string>{"2", "2004"}));
  EXPECT_EQ(cl.dataDir, "/school");
  EXPECT_TRUE(cl.error.empty());
  EXPECT_FALSE(parseCommandLine({"--data-dir"}).error.empty());
  EXPECT_FALSE(parseCommandLine({"--frobnicate"}).error.empty());
  EXPECT_FALSE(parseCommandLine({"1", "2", "3"}).error.empty());
  EXPECT_TRUE(tableEngineFailures().empty());
}

TEST_F(Started, ChangeProcessingDateDerivesTheTermAndHidesTheNowCaption) {
  start({"1", "2004"});
  ASSERT_TRUE(window->nowLabel()->isVisible());
  QString prompt;
  onNextModal([&](QWidget* box) {
    prompt = testing::labelTexts(box).join('|');
    answerInputBox(box, {"01052026"});
  });
  item(kItemProcDate)->trigger();
  EXPECT_TRUE(prompt.contains("Processing Date"));
  const school::SessionValues v = program->session().values();
  EXPECT_EQ(v.date, data::Date::fromYmd(2026, 5, 1));
  EXPECT_EQ(v.term, 2);  // the demo's terms start 9 Feb, 27 Apr, 20 Jul, 12 Oct
  EXPECT_EQ(v.year, 2026);
  EXPECT_EQ(window->headingLabel()->text(), "Term 2 2026  01/05/2026");
  EXPECT_FALSE(window->nowLabel()->isVisible());
}

TEST_F(Started, InvalidProcessingDateKeepsTheDateAndSaysSo) {
  start();
  QString told;
  onNextModal([&](QWidget* box) {
    answerInputBox(box, {"31022026"});
    onNextModal([&](QWidget* message) {
      told = testing::messageText(message);
      QTest::keyClick(message, Qt::Key_Return);
    });
  });
  item(kItemProcDate)->trigger();
  EXPECT_EQ(program->session().get(&school::SessionValues::date), data::Date::today());
  EXPECT_EQ(told, "\"31/02/2026\" is not a date.\nThe processing date stays " + today() + ".");
}

TEST_F(Started, ControlRecordWithoutTermDatesGivesTermOne) {
  for (const char* field : {"PA_TRM1_ST", "PA_TRM2_ST", "PA_TRM3_ST", "PA_TRM4_ST"})
    school.setControl(1, field, data::Date());
  start();
  onNextModal([&](QWidget* box) { QTest::keyClick(box->focusWidget(), Qt::Key_Return); });
  item(kItemProcDate)->trigger();
  EXPECT_EQ(program->session().get(&school::SessionValues::term), 1);
  EXPECT_EQ(window->headingLabel()->text(), "Term 1 " + QString::number(data::Date::today().year()) + "  " + today());
}

TEST_F(Started, CancellingTheProcessingDateChangesNeitherTheTermNorTheYear) {
  start();
  onNextModal([&](QWidget* box) { answerInputBox(box, {"2", "2025"}); });
  item(kItemTermYear)->trigger();
  const school::SessionValues before = program->session().values();
  ASSERT_EQ(before.term, 2);
  const QString caption = window->headingLabel()->text();
  for (const bool button : {false, true}) {
    onNextModal([&](QWidget* box) {
      if (!button) return QTest::keyClick(box->focusWidget(), Qt::Key_Escape);
      for (QPushButton* b : box->findChildren<QPushButton*>())
        if (b->text() == "Cancel") b->click();
    });
    item(kItemProcDate)->trigger();
    const school::SessionValues after = program->session().values();
    EXPECT_EQ(after.term, 2);
    EXPECT_EQ(after.year, 2025);
    EXPECT_EQ(after.date, before.date);
    EXPECT_EQ(after.regTerm, before.regTerm);
    EXPECT_EQ(window->headingLabel()->text(), caption);
    EXPECT_TRUE(window->nowLabel()->isVisible());
  }
}

TEST_F(Started, TermAndYearDialogTakesValidValuesAndShowsTheNowCaption) {
  start();
  onNextModal([&](QWidget* box) { QTest::keyClick(box->focusWidget(), Qt::Key_Return); });
  item(kItemProcDate)->trigger();  // registers the term: the now caption is hidden
  ASSERT_FALSE(window->nowLabel()->isVisible());
  const int registered = program->session().get(&school::SessionValues::term);
  const QString other = QString::number(registered == 1 ? 2 : 1);

  onNextModal([&](QWidget* box) { answerInputBox(box, {other, "2010"}); });
  item(kItemTermYear)->trigger();
  EXPECT_EQ(program->session().get(&school::SessionValues::year), 2010);
  EXPECT_TRUE(window->nowLabel()->isVisible());
  EXPECT_EQ(window->nowLabel()->text(), "Term " + other + " 2010  " + today());

  QString told;
  onNextModal([&](QWidget* box) {
    answerInputBox(box, {"7", "1990"});
    onNextModal([&](QWidget* message) {
      told = testing::messageText(message);
      QTest::keyClick(message, Qt::Key_Return);
    });
  });
  item(kItemTermYear)->trigger();
  EXPECT_EQ(program->session().get(&school::SessionValues::term), other.toInt());
  EXPECT_EQ(program->session().get(&school::SessionValues::year), 2010);
  EXPECT_EQ(told, "Term \"7\" is not a term (1 to 4): the term stays " + other +
                      ".\nYear \"1990\" is not taken (it must be a whole year after 1990): the year stays 2010.");

  // A decimal is kept as typed in the field and refused, never cut to a whole term.
  onNextModal([&](QWidget* box) {
    answerInputBox(box, {"2.5", "2010"});
    onNextModal([&](QWidget* message) {
      told = testing::messageText(message);
      QTest::keyClick(message, Qt::Key_Return);
    });
  });
  item(kItemTermYear)->trigger();
  EXPECT_EQ(program->session().get(&school::SessionValues::term), other.toInt());
  EXPECT_TRUE(told.startsWith("Term \"2.5\" is not a term")) << told.toStdString();

  onNextModal([&](QWidget* box) { QTest::keyClick(box->focusWidget(), Qt::Key_Escape); });
  item(kItemTermYear)->trigger();
  EXPECT_EQ(program->session().get(&school::SessionValues::year), 2010);
}

TEST_F(Started, ExitEndsTheEventLoopAndClosesTheTables) {
  start();
  data::Workspace::forThisThread().open(school.file("sccontro.dbf"), "sccontro");
  QTimer::singleShot(0, [&] { item(kItemExit)->trigger(); });
  EXPECT_EQ(program->exec(), 0);
  EXPECT_FALSE(data::Workspace::forThisThread().isOpen("sccontro"));
  EXPECT_FALSE(window->window()->isVisible());
}

TEST_F(Started, CloseButtonExitsToo) {
  start();
  QTimer::singleShot(0, [&] { window->window()->close(); });
  EXPECT_EQ(program->exec(), 0);
}

}  // namespace
}  // namespace velmont::app
