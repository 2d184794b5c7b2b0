// The year-level entry check as a dialog's field uses it: the fees message.
#include <gtest/gtest.h>

#include "school/session.h"
#include "app/year_entry.h"
#include "data/workspace.h"
#include "gui_helpers.h"
#include "school_fixture.h"

namespace velmont::app {
namespace {

using testing::onNextModal;

TEST(YearEntry, LevelWithoutFeesIsRefusedWithTheFeesMessage) {
  testing::SchoolCopy school;
  school::Session session(freshSessionValues(school::SchoolFolder(school.dir()), data::Date::fromYmd(2026, 3, 9)));
  session.update([](school::SessionValues& v) { v.yearNames.word = " Year"; });
  QString shown;
  onNextModal([&](QWidget* box) {
    shown = testing::messageText(box);
    QTest::keyClick(box, Qt::Key_Return);
  });
  int level = 0;
  EXPECT_FALSE(chk_yrin(session, " 5", &level));
  EXPECT_EQ(level, 5);
  EXPECT_EQ(shown,
            "To use this School  Year, please ensure that a SCHOOL FEES AMOUNT\n"
            "has been allocated in the Miscellaneous Menu - Control Information - School FEES Menu.");
  EXPECT_TRUE(chk_yrin(session, "AE", &level));
  EXPECT_EQ(level, 14);
  data::Workspace::forThisThread().closeAll();
}

TEST(YearEntry, UnknownCodeAndBlankEntryAreRefusedWithAReason) {
  testing::SchoolCopy school;
  school::Session session(freshSessionValues(school::SchoolFolder(school.dir()), data::Date::fromYmd(2026, 3, 9)));
  session.update([](school::SessionValues& v) { v.yearNames.word = " Year"; });
  QStringList shown;
  auto answer = [&] {
    onNextModal([&](QWidget* box) {
      shown << testing::messageText(box);
      QTest::keyClick(box, Qt::Key_Return);
    });
  };
  answer();
  int level = -1;
  EXPECT_FALSE(chk_yrin(session, "ZZ", &level));
  EXPECT_EQ(level, 0);
  answer();
  EXPECT_FALSE(chk_yrin(session, "  "));
  // The codes the school uses are named, lowest first, levels above 12 by their codes.
  EXPECT_EQ(shown, (QStringList{"No School Year has the code \"ZZ\".\nPlease enter a Year that this school uses: 7, 8, 9, 10, 11, 12, FS, AE.",
                                "Please enter a School Year."}));
  data::Workspace::forThisThread().closeAll();
}

TEST(YearEntry, UnreadableControlTableIsNamedAndTheEntryRefused) {
  testing::SchoolCopy school;
  std::filesystem::remove(school.file("sccontro.dbf"));
  school::Session session(freshSessionValues(school::SchoolFolder(school.dir()), data::Date::fromYmd(2026, 3, 9)));
  QString shown;
  onNextModal([&](QWidget* box) {
    shown = testing::messageText(box);
    QTest::keyClick(box, Qt::Key_Return);
  });
  EXPECT_FALSE(chk_yrin(session, "7"));
  EXPECT_TRUE(shown.contains("sccontro.dbf")) << shown.toStdString();
}

}  // namespace
}  // namespace velmont::app
