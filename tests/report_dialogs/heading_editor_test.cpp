// The card heading editor from the end-of-term dialog: refused before the
// headings table exists, and an edit that reaches the table.
#include <QApplication>
#include <QTableWidget>
#include <filesystem>

#include "libs/widgets/lmd_browse.h"
#include "libs/widgets/lmd_controls.h"
#include "printer_dialog_fixture.h"
#include "reports/eot/eot_headings.h"
#include "reports/eot/heading_editor.h"

namespace velmont::testing {
namespace {

class HeadingEditorTest : public ::testing::Test {
 protected:
  HeadingEditorTest() : dialog(nullptr, 20, 60, "End of Term Report") {
    field = widgets::lmdXGet(&dialog, 2, 15, 2, "07", "@!K");
    dialog.setKeyHandler([this](int key, QWidget*) {
      if (key != Qt::Key_Escape) return false;
      dialog.reject();
      return true;
    });
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    std::filesystem::remove(school.file("headeots.dbf"));
  }
  std::string longHeading(uint32_t recno) const {
    auto t = data::Table::open(school.file("headeots.dbf"), "h");
    t->goTo(recno);
    return t->text("H20");
  }

  SchoolCopy school;
  widgets::LmdDialog dialog;
  widgets::PictureEdit* field;
};

TEST_F(HeadingEditorTest, BeforeTheFirstRunTheUserIsToldToRunTheReport) {
  QString told;
  onNextModal([&](QWidget* box) {
    told = messageText(box);
    QTest::keyClick(box, Qt::Key_Return);
  });
  EXPECT_EQ(eot::editHeadings(&dialog, school.dir()), nullptr);
  EXPECT_EQ(told, "Please run Report first\nthen Change Headings");
  EXPECT_FALSE(std::filesystem::exists(school.file("headeots.dbf")));
}

TEST_F(HeadingEditorTest, AnEditTypedInTheBrowseReachesTheTableAndEscClosesOnlyTheEditor) {
  eot::MK_HDEOTS(school.dir(), " Year");
  widgets::BrowseView* view = eot::editHeadings(&dialog, school.dir());
  ASSERT_NE(view, nullptr);
  QTableWidget* grid = view->grid();
  ASSERT_EQ(grid->rowCount(), 6);
  EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), "4 Char Heading");
  EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), "20 Char Heading");
  EXPECT_EQ(grid->item(2, 1)->text(), "REPORT OF:");
  EXPECT_EQ(eot::editHeadings(&dialog, school.dir()), view);  // one editor per dialog

  grid->setCurrentCell(2, 1);
  QTest::keyClick(grid, Qt::Key_Return);  // Enter = Edit
  QWidget* editor = dialog.focusWidget();
  ASSERT_NE(editor, nullptr);
  ASSERT_NE(editor, grid);
  QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(editor, "BULLETIN DE:");
  QTest::keyClick(editor, Qt::Key_Return);
  QApplication::processEvents();  // the delegate commits from its queue
  EXPECT_EQ(longHeading(3), "BULLETIN DE:");
  EXPECT_EQ(eot::loadHeadingWords(school.dir(), " Year").rptof_hd, "BULLETIN DE:");

  QTest::keyClick(grid, Qt::Key_Escape);
  QApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.findChild<widgets::BrowseView*>(), nullptr);
  EXPECT_TRUE(field->hasFocus());
}

}  // namespace
}  // namespace velmont::testing
