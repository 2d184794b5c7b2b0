// The list's options dialog offscreen: a new user's defaults, and the options a
// run saves and the dialog shows again.
#include <QFileInfo>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "data/table_locks.h"
#include "school/session.h"
#include "school/saved_options.h"
#include "school/year_names.h"
#include "widgets/lmd_dialog.h"
#include "widgets/lmd_messages.h"
#include "widgets/picture_edit.h"
#include "list_fixture.h"
#include "reports/dialogs/run_gui.h"
#include "reports/dialogs/list_dialog.h"
#include "reports/lists/list_run.h"

using namespace velmont;
using namespace velmont::lists;
using namespace velmont::lists::testing;

namespace {

QAbstractButton* radio(QWidget* dialog, const QString& group, const QString& text) {
  for (QGroupBox* box : dialog->findChildren<QGroupBox*>())
    if (box->title() == group)
      for (QAbstractButton* b : box->findChildren<QAbstractButton*>())
        if (b->text() == text) return b;
  return nullptr;
}

class ListDialogTest : public ::testing::Test {
 protected:
  ListDialogTest() {
    school.students = {{1, "Avery", "Al"}};
    school.subjects = {{"7ENG", "English"}};
    school.marks = {{1, "7ENG", 50}};
    school.write();
    std::ofstream(school.file("DESCRP04.dbf")) << "";  // the year's descriptor table: only its presence counts
    session.update([&](school::SessionValues& v) {
      v.folder = school::SchoolFolder(school.dir());
      v.year = kYear;
      v.term = 1;
      v.date = data::Date::fromYmd(kYear, 6, 30);
      v.userId = "tester";
      v.hclLen = 4;
    });
    reports::setPdfFileChooser([this](const QString& offered) {
      suggested = QFileInfo(offered).fileName();
      return QString::fromStdString(school.file("out.pdf"));
    });
  }
  ~ListDialogTest() override { reports::setPdfFileChooser({}); }

  TinySchool school;
  school::Session session;
  QString suggested;  // the file name the last save question offered
};

TEST_F(ListDialogTest, ANewUserSeesTheDefaults) {
  ListDialog d(session, nullptr, kListReportCode);
  const auto& fields = d.dialog()->fields();
  ASSERT_EQ(fields.size(), 4u);
  auto value = [&](int i) { return static_cast<widgets::PictureEdit*>(fields[size_t(i)])->value().trimmed(); };
  EXPECT_EQ(value(0), "7") << "the lowest level in use";
  EXPECT_EQ(value(1), "");
  EXPECT_EQ(value(2), "30/06/2004");
  EXPECT_EQ(value(3), "100");
  EXPECT_TRUE(radio(d.dialog(), "Show Birthdates", "No ")->isChecked());
  EXPECT_TRUE(radio(d.dialog(), "Shadow?", "No")->isChecked());
  EXPECT_TRUE(radio(d.dialog(), "Print Marks?", "no")->isChecked());
  EXPECT_TRUE(radio(d.dialog(), "Subject name", "Code")->isChecked());
  EXPECT_EQ(d.printButton()->text(), "F4 Print");
}

TEST_F(ListDialogTest, ADamagedOptionsFileOpensTheDialogWithTheDefaultsAndANotice) {
  {
    ListDialog first(session, nullptr, kListReportCode);  // makes prntpref.dbf
  }
  std::filesystem::resize_file(school.file("prntpref.dbf"), 20);
  ListDialog d(session, nullptr, kListReportCode);
  ASSERT_NE(d.dialog(), nullptr);
  EXPECT_EQ(static_cast<widgets::PictureEdit*>(d.dialog()->fields()[0])->value().trimmed(), "7");
  auto* notice = qobject_cast<QLabel*>(widgets::lmdQMsgWindow());
  ASSERT_NE(notice, nullptr);
  EXPECT_TRUE(notice->text().contains("the defaults are shown")) << notice->text().toStdString();
  EXPECT_TRUE(notice->text().contains("prntpref.dbf")) << notice->text().toStdString();
  widgets::lmdQMsgClose();
}

TEST_F(ListDialogTest, AGradeFileWordShowsWholeInTheLevelLabel) {
  std::ofstream(school.file("grade.$vl"), std::ios::binary) << "Form\r\n7,Form 7\r\n";
  session.update([&](school::SessionValues& v) { v.yearNames = school::YEAR_NAMES(school::SchoolFolder(school.dir())); });
  ListDialog d(session, nullptr, kListReportCode);
  QLabel* label = nullptr;
  for (QLabel* l : d.dialog()->findChildren<QLabel*>())
    if (l->text() == "Form ") label = l;
  ASSERT_NE(label, nullptr) << "the word without its padding";
  EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance("Form"), label->contentsRect().width());
}

TEST_F(ListDialogTest, ATextFileNamedWithoutADotIsWrittenAsNamePrnInTheDataDirectory) {
  ListDialog d(session, nullptr, kListReportCode);
  session.set(&school::SessionValues::prAscii, std::string("list"));  // as the printer dialog (F6) leaves it
  d.PRINTIT(false);
  ASSERT_TRUE(d.lastRun());
  d.lastRun()->wait();
  EXPECT_TRUE(std::filesystem::exists(school.file("list.PRN")));
  EXPECT_FALSE(std::filesystem::exists(school.file("list")));
  EXPECT_FALSE(std::filesystem::exists("list"));
}

TEST_F(ListDialogTest, ARunSavesTheChoicesAndTheDialogShowsThemAgain) {
  {
    // A class of three characters, which the class field's check finds among the students'.
    auto students = data::Table::open(school.file("ststuden.dbf"), "st", data::OpenMode::kReadWrite);
    students->goTo(1);
    data::RecordLock lock(*students, 1000);
    students->replace("ST_CLASS", "7AB");
  }
  {
    ListDialog d(session, nullptr, kListReportCode);
    radio(d.dialog(), "Subject name", "Name")->click();
    radio(d.dialog(), "Show Birthdates", "Yes")->click();
    radio(d.dialog(), "Print Marks?", "yes")->click();
    static_cast<widgets::PictureEdit*>(d.dialog()->fields()[3])->setValue(" 60");
    static_cast<widgets::PictureEdit*>(d.dialog()->fields()[1])->setValue("7AB");
    d.cPrinter = "PDF";
    d.PRINTIT(false);
    ASSERT_TRUE(d.lastRun());
    d.lastRun()->wait();
    EXPECT_TRUE(QTest::qWaitFor([&] { return d.printButton()->isEnabled(); }, 5000)) << "the buttons come back";
    EXPECT_TRUE(suggested.endsWith(" List with Subjects - Term 1 " + QString::number(kYear) + " - 7AB.pdf"))
        << suggested.toStdString();
  }
  const school::SavedOptions saved = school::loadSavedOptions(school::SchoolFolder(school.dir()), "tester", kListReportCode, {"x", "y"}, kYear);
  EXPECT_EQ(saved.prefs.substr(0, 8), " 7  7AB ") << "a three-character class padded to 4";
  EXPECT_EQ(saved.prefs.substr(8), "11122" "0" " ");
  EXPECT_EQ(saved.extras.substr(0, 3), " 60");
  ListDialog again(session, nullptr, kListReportCode);
  EXPECT_TRUE(radio(again.dialog(), "Subject name", "Name")->isChecked());
  EXPECT_TRUE(radio(again.dialog(), "Show Birthdates", "Yes")->isChecked());
  EXPECT_TRUE(radio(again.dialog(), "Print Marks?", "yes")->isChecked());
  EXPECT_TRUE(radio(again.dialog(), "Shadow?", "No")->isChecked());
  EXPECT_EQ(static_cast<widgets::PictureEdit*>(again.dialog()->fields()[3])->value().trimmed(), "60");
}

// The text of the next message box, which is answered with Enter.
QString toldBy(const std::function<void()>& act) {
  QString told;
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [&told, timer] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      told = box->text();
      timer->stop();
      box->accept();
    }
  });
  timer->start(5);
  act();
  delete timer;
  return told;
}

TEST_F(ListDialogTest, F4ChecksEveryFieldFirstAndEveryRefusalSaysWhy) {
  ListDialog d(session, nullptr, kListReportCode);
  d.cPrinter = "PDF";
  auto* weight = static_cast<widgets::PictureEdit*>(d.dialog()->fields()[3]);
  auto* date = static_cast<widgets::PictureEdit*>(d.dialog()->fields()[2]);
  const QString weightReason = "\nPlease enter a whole number from 0 to 100: the share of the exam mark.";
  weight->selectAll();
  QTest::keyClicks(weight, "2.5");
  EXPECT_EQ(weight->text(), "2.5") << "the decimal point is kept, for the check to refuse";
  for (const QString typed : {"150", "-5", "1-2", "2.5"}) {  // above 100 the assessment mark would count negatively
    weight->setValue(typed);
    EXPECT_EQ(toldBy([&] { d.PRINTIT(false); }), "\"" + typed + "\" is not an Exam/Assess mark %." + weightReason);
    EXPECT_FALSE(d.lastRun()) << typed.toStdString() << " starts no run";
  }
  weight->setValue(" 60");
  date->setValue("31/02/2004");
  EXPECT_EQ(toldBy([&] { d.PRINTIT(false); }),
            "\"31/02/2004\" is not a date.\nPlease enter a date that exists, as DD/MM/YYYY, or clear the field.");
  EXPECT_FALSE(d.lastRun()) << "an impossible date starts no run";
  date->setValue("30/06/2004");
  d.PRINTIT(false);
  ASSERT_TRUE(d.lastRun());
  d.lastRun()->wait();
  EXPECT_TRUE(QTest::qWaitFor([&] { return d.printButton()->isEnabled(); }, 5000));
}

TEST(ListOptionsTest, DefaultsAndABlankSequenceDigit) {
  const school::SavedOptions d = defaultListOptions(" 7", "12");
  EXPECT_EQ(d.prefs, " 712    12212  ");
  EXPECT_EQ(d.extras, "100");
  ListOptions o = readListOptions(d, 2);
  EXPECT_FALSE(o.birthDates || o.marks || o.shading || o.names);
  EXPECT_EQ(o.weight, 100);
  EXPECT_EQ(listPrefs(o).substr(8), "12212" "0" " ") << "a blank sequence digit is written as 0";
}

}  // namespace
