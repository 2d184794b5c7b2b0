// The About box: what it shows and the keys that close it.
#include <gtest/gtest.h>

#include <QPushButton>

#include "app/gui_helpers.h"
#include "commands/about_box.h"
#include "commands/maker.h"
#include "widgets/lmd_dialog.h"

namespace velmont::commands {
namespace {

using testing::onNextModal;

// Opens the box, lets `act` work on it, and tells whether ABOUTBOX returned.
bool aboutWith(const std::function<void(QWidget*)>& act) {
  QWidget main;
  main.show();
  onNextModal(act);
  return ABOUTBOX("1.1a", &main);
}

TEST(AboutBox, ShowsNameVersionAndContact) {
  QStringList texts;
  QString title;
  EXPECT_TRUE(aboutWith([&](QWidget* box) {
    texts = testing::labelTexts(box);
    title = box->windowTitle();
    box->findChild<QPushButton*>("ok")->click();
  }));
  EXPECT_EQ(title, "About Velmont Program");
  EXPECT_TRUE(texts.contains("Velmont Reports program"));
  EXPECT_TRUE(texts.contains("Ravelin"));
  EXPECT_TRUE(texts.contains("School Administration System"));
  EXPECT_TRUE(texts.contains("Version 1.1a"));
  const QString contact = texts.filter(kMakerInfoEmail).value(0);
  EXPECT_EQ(contact.split('\n').size(), 6);
  EXPECT_TRUE(contact.contains(kMakerName));
}

TEST(AboutBox, EnterAndEscClose) {
  for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
    EXPECT_TRUE(aboutWith([key](QWidget* box) { QTest::keyClick(box->focusWidget(), key); }));
  }
}

TEST(AboutBox, OtherKeysDoNothing) {
  bool stillOpen = false;
  EXPECT_TRUE(aboutWith([&](QWidget* box) {
    QTest::keyClick(box->focusWidget(), Qt::Key_X);
    QTest::keyClick(box->focusWidget(), Qt::Key_F4);
    QTest::keyClick(box->focusWidget(), Qt::Key_Down);
    stillOpen = box->isVisible();
    QTest::keyClick(box->focusWidget(), Qt::Key_Escape);
  }));
  EXPECT_TRUE(stillOpen);
}

TEST(AboutBox, EverythingFitsInTheBox) {
  EXPECT_TRUE(aboutWith([](QWidget* box) {
    for (QWidget* child : box->findChildren<QWidget*>())
      EXPECT_TRUE(box->rect().contains(child->geometry())) << child->metaObject()->className();
    QTest::keyClick(box->focusWidget(), Qt::Key_Escape);
  }));
}

}  // namespace
}  // namespace velmont::commands
