// Entry fields with pictures, as the user types into them.
#include <gtest/gtest.h>

#include "app/gui_helpers.h"
#include "libs/date_text.h"
#include "widgets/lmd_controls.h"
#include "widgets/lmd_dialog.h"
#include "widgets/picture_edit.h"

namespace velmont::widgets {
namespace {

// A shown dialog holding the fields, so that focus and keys behave as on screen.
struct Form {
  LmdDialog dialog{nullptr, 6, 30, "form"};
  Form() {}
  PictureEdit* add(double row, int width, const QString& value, const QString& picture, GetOptions o = {}) {
    return lmdXGet(&dialog, row, 2, width, value, picture, o);
  }
  void show() {
    dialog.show();
    dialog.activateWindow();
    QApplication::setActiveWindow(&dialog);
  }
};

void enter(PictureEdit* e, const QString& keys) {
  e->setFocus(Qt::MouseFocusReason);
  QTest::keyClicks(e, keys);
}

TEST(PictureEdit, CapitalsAndTheOldTextClearedByTheFirstKey) {
  Form f;
  PictureEdit* e = f.add(1, 4, "AB", "@!K");
  f.show();
  enter(e, "x7");
  EXPECT_EQ(e->text(), "X7");
  EXPECT_EQ(e->value(), "X7  ");  // padded to the field's width
  QTest::keyClicks(e, "yzw");     // no more than four characters
  EXPECT_EQ(e->text(), "X7YZ");
}

TEST(PictureEdit, MovingFirstKeepsTheOldText) {
  Form f;
  PictureEdit* e = f.add(1, 4, "AB", "@!K");
  f.show();
  e->setFocus(Qt::MouseFocusReason);
  e->setCursorPosition(0);
  QTest::keyClick(e, Qt::Key_End);
  QTest::keyClicks(e, "c");
  EXPECT_EQ(e->text(), "ABC");
}

TEST(PictureEdit, WithoutKTheTextIsKept) {
  Form f;
  PictureEdit* e = f.add(1, 4, "12", "9999");
  f.show();
  e->setFocus(Qt::MouseFocusReason);
  e->setCursorPosition(2);
  QTest::keyClicks(e, "3a4");
  EXPECT_EQ(e->text(), "1234");  // "a" is no digit
}

TEST(PictureEdit, AFullFieldIsTypedOver) {
  Form f;
  PictureEdit* term = f.add(1, 1, "3", "9");
  PictureEdit* year = f.add(2, 4, "2026", "9999");
  f.show();
  term->setFocus(Qt::OtherFocusReason);
  QTest::keyClicks(term, "1");
  EXPECT_EQ(term->text(), "1");
  year->setFocus(Qt::OtherFocusReason);
  QTest::keyClicks(year, "19");
  EXPECT_EQ(year->text(), "1926");
}

TEST(PictureEdit, AClickInTheBlankPartTypesAfterTheLastCharacter) {
  Form f;
  f.dialog.resize(600, 200);
  PictureEdit* file = f.add(1, 30, QString(30, ' '), "");  // the printer dialog's text file name
  PictureEdit* name = f.add(2, 14, "SMI" + QString(11, ' '), "@!");
  PictureEdit* date = f.add(3, 10, "01/05/2026", QString::fromStdString(libs::datePicture()));
  f.show();
  const QPoint nearRightEnd(file->rect().width() - 8, file->height() / 2);
  QTest::mouseClick(file, Qt::LeftButton, {}, nearRightEnd);
  ASSERT_TRUE(file->hasFocus());
  QTest::keyClicks(file, "report.txt");
  EXPECT_EQ(file->value(), "report.txt" + QString(20, ' '));
  QTest::mouseClick(name, Qt::LeftButton, {}, QPoint(name->rect().width() - 8, name->height() / 2));
  QTest::keyClicks(name, "th");
  EXPECT_EQ(name->value().trimmed(), "SMITH");
  // A click on a character still puts the cursor there.
  QTest::mouseClick(name, Qt::LeftButton, {}, QPoint(3, name->height() / 2));
  EXPECT_EQ(name->cursorPosition(), 0);
  // A date field keeps its own cursor rules: typing over its template works.
  QTest::mouseClick(date, Qt::LeftButton, {}, QPoint(4, date->height() / 2));
  date->home(false);
  QTest::keyClicks(date, "02");
  EXPECT_EQ(date->value().left(2), "02");
}

TEST(PictureEdit, AClickIntoAFullFieldPastItsTextTypesOverIt) {
  Form f;
  f.dialog.resize(400, 200);
  PictureEdit* term = f.add(1, 1, "3", "9");
  PictureEdit* year = f.add(2, 4, "2026", "9999");
  f.show();
  auto clickPastTheEnd = [](PictureEdit* e) {
    QTest::mouseClick(e, Qt::LeftButton, {}, QPoint(e->rect().width() - 4, e->rect().height() / 2));
  };
  clickPastTheEnd(term);
  QTest::keyClicks(term, "2");
  EXPECT_EQ(term->text(), "2");
  clickPastTheEnd(year);
  QTest::keyClicks(year, "2010");
  EXPECT_EQ(year->text(), "2010");
  // A click on the text itself only moves the cursor there.
  QTest::mouseClick(year, Qt::LeftButton, {}, QPoint(3, year->rect().height() / 2));
  EXPECT_FALSE(year->hasSelectedText());
  EXPECT_EQ(year->cursorPosition(), 0);
}

TEST(PictureEdit, AfterARefusalOnlyTheRefusedFieldLooksSelected) {
  Form f;
  GetOptions refuse;
  refuse.check = [](const QString&) { return false; };
  PictureEdit* start = f.add(1, 2, "ZZ", "@!K", refuse);
  PictureEdit* end = f.add(2, 2, "12", "@!K");
  f.show();
  start->setFocus(Qt::TabFocusReason);
  QTest::keyClick(start, Qt::Key_Tab);
  ASSERT_TRUE(QTest::qWaitFor([&] { return start->hasFocus(); }, 2000));
  EXPECT_EQ(start->selectedText(), "ZZ");
  EXPECT_FALSE(end->hasSelectedText());
}

// Under a window manager the message of a refusal takes the activation, and the
// dialog may be given back later with its first field focused: the refused
// field takes the focus again then.
TEST(PictureEdit, ARefusedFieldTakesTheFocusBackWhenItsWindowIsActivatedAgain) {
  Form f;
  QWidget message;
  GetOptions refuse;
  refuse.check = [&](const QString&) {
    message.show();
    message.activateWindow();
    QApplication::setActiveWindow(&message);
    return false;
  };
  PictureEdit* first = f.add(1, 2, "7", "@!K");
  PictureEdit* refused = f.add(2, 2, "ZZ", "@!K", refuse);
  PictureEdit* last = f.add(3, 2, "12", "@!K");
  f.show();
  refused->setFocus(Qt::TabFocusReason);
  QTest::keyClick(refused, Qt::Key_Tab);
  ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &message; }, 2000));
  ASSERT_TRUE(QTest::qWaitFor([&] { return f.dialog.focusWidget() == refused; }, 2000));
  first->setFocus(Qt::OtherFocusReason);  // what a window manager's activation may leave
  message.hide();
  f.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return refused->hasFocus(); }, 2000));
  EXPECT_EQ(refused->selectedText(), "ZZ");
  EXPECT_FALSE(last->hasFocus());
}

TEST(PictureEdit, RulesPerPosition) {
  Form f;
  PictureEdit* digit = f.add(1, 2, "", "9");
  PictureEdit* signedNumber = f.add(2, 4, "", "####");
  PictureEdit* yesNo = f.add(3, 1, "", "Y");
  f.show();
  enter(digit, "x45");
  EXPECT_EQ(digit->text(), "45");  // a number is kept whole, for its check to take or refuse
  enter(signedNumber, "-1");
  EXPECT_EQ(signedNumber->text(), "-1");
  signedNumber->clear();
  enter(signedNumber, "2.5");
  EXPECT_EQ(signedNumber->text(), "2.5");  // the decimal point is not dropped
  enter(yesNo, "qn");
  EXPECT_EQ(yesNo->text(), "N");
}

TEST(PictureEdit, DateFieldInTheSystemOrder) {
  libs::setDateOrder(libs::DateOrder::kDayMonthYear);
  Form f;
  PictureEdit* e = f.add(1, 10, "09/03/2026", libs::datePicture().c_str());
  f.show();
  EXPECT_EQ(e->value(), "09/03/2026");
  enter(e, "0105202");
  EXPECT_EQ(e->value(), "01/05/202 ");
  QTest::keyClicks(e, "6");
  EXPECT_EQ(libs::dateFromText(e->value().toStdString()), data::Date::fromYmd(2026, 5, 1));
  e->clear();
  EXPECT_EQ(e->value(), "  /  /    ");
}

TEST(PictureEdit, RefusedEntryKeepsTheFocusWithoutCheckingTheOtherField) {
  Form f;
  int firstChecks = 0, secondChecks = 0;
  GetOptions first;
  first.check = [&](const QString& text) {
    ++firstChecks;
    return text.trimmed() == "OK";
  };
  first.help = "Enter OK";
  GetOptions second;
  second.check = [&](const QString&) {
    ++secondChecks;
    return false;
  };
  QLabel* help = lmdSay(&f.dialog, 5, 2, "", {});
  f.dialog.setHelpLine(help);
  PictureEdit* a = f.add(1, 2, "", "@!K", first);
  PictureEdit* b = f.add(2, 2, "", "@!K", second);
  f.show();
  a->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(help->text(), "Enter OK");
  QTest::keyClicks(a, "no");
  QTest::keyClick(a, Qt::Key_Tab);
  ASSERT_TRUE(QTest::qWaitFor([&] { return a->hasFocus(); }, 2000));
  EXPECT_EQ(firstChecks, 1);
  EXPECT_EQ(secondChecks, 0);  // the bounce back does not check the field it leaves
  QTest::keyClicks(a, "ok");
  QTest::keyClick(a, Qt::Key_Tab);
  EXPECT_TRUE(b->hasFocus());
  EXPECT_FALSE(b->checkNow());
}

TEST(PictureEdit, ValuesThatBreakThePictureAreShownAsFarAsTheyFit) {
  Form f;
  EXPECT_EQ(f.add(1, 3, "12x4", "999")->text(), "12");
  EXPECT_EQ(f.add(2, 2, "abc", "@!K")->text(), "AB");
}

}  // namespace
}  // namespace velmont::widgets
