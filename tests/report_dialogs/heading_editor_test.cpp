// The card heading editor from the end-of-term dialog: refused before the
// headings table exists, and an edit that reaches the table.
#include <QApplication>
#include <QLineEdit>
#include <QTableWidget>
#include <filesystem>

#include "widgets/lmd_browse.h"
#include "widgets/lmd_controls.h"
#include "printer_dialog_fixture.h"
#include "reports/eot/eot_headings.h"
#include "reports/dialogs/heading_editor.h"

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
  EXPECT_EQ(eot::editHeadings(&dialog, school::SchoolFolder(school.dir())), nullptr);
  EXPECT_EQ(told, "Please run Report first\nthen Change Headings");
  EXPECT_FALSE(std::filesystem::exists(school.file("headeots.dbf")));
}

TEST_F(HeadingEditorTest, AnEditTypedInTheBrowseReachesTheTableAndEscClosesOnlyTheEditor) {
  eot::MK_HDEOTS(school::SchoolFolder(school.dir()), " Year");
  widgets::BrowseView* view = eot::editHeadings(&dialog, school::SchoolFolder(school.dir()));
  ASSERT_NE(view, nullptr);
  QTableWidget* grid = view->grid();
  ASSERT_EQ(grid->rowCount(), 6);
  EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), "4 Char Heading");
  EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), "20 Char Heading");
  EXPECT_EQ(grid->item(2, 1)->text(), "REPORT OF:");
  EXPECT_EQ(eot::editHeadings(&dialog, school::SchoolFolder(school.dir())), view);  // one editor per dialog

  grid->setCurrentCell(2, 1);
  QTest::keyClick(grid, Qt::Key_Return);  // Enter = Edit
  QWidget* editor = dialog.focusWidget();
  ASSERT_NE(editor, nullptr);
  ASSERT_NE(editor, grid);
  // The change shows as a framed field, the cursor after the heading, in a row that holds it whole.
  QApplication::processEvents();
  auto* line = qobject_cast<QLineEdit*>(editor);
  ASSERT_NE(line, nullptr);
  EXPECT_TRUE(line->hasFrame());
  EXPECT_FALSE(line->hasSelectedText());
  EXPECT_EQ(line->cursorPosition(), line->text().size());
  EXPECT_GE(grid->rowHeight(2), line->sizeHint().height());
  EXPECT_GE(line->height(), line->sizeHint().height());
  QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(editor, "BULLETIN DE:");
  QTest::keyClick(editor, Qt::Key_Return);
  QApplication::processEvents();  // the delegate commits from its queue
  EXPECT_EQ(longHeading(3), "BULLETIN DE:");
  EXPECT_EQ(eot::loadHeadingWords(school::SchoolFolder(school.dir()), " Year").rptof_hd, "BULLETIN DE:");

  QTest::keyClick(grid, Qt::Key_Escape);
  QApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.findChild<widgets::BrowseView*>(), nullptr);
  EXPECT_TRUE(field->hasFocus());
}

// A school whose text is in 1252 (its flag file says so).
class HeadingEditor1252Test : public HeadingEditorTest {
 protected:
  HeadingEditor1252Test() { school1252_ = std::make_unique<SchoolCopy>(std::set<std::string>{}, 1252); }
  std::string dir() const { return school1252_->dir(); }
  std::string rawLongHeading(uint32_t recno) const {
    auto t = data::Table::open(school1252_->file("headeots.dbf"), "h");
    t->goTo(recno);
    return t->text("H20");
  }
  // Types `text` over the long heading of `row` and commits it.
  void typeInto(QTableWidget* grid, int row, const QString& text) {
    grid->setCurrentCell(row, 1);
    QTest::keyClick(grid, Qt::Key_Return);
    QWidget* editor = dialog.focusWidget();
    ASSERT_NE(editor, grid);
    // Letters beyond ASCII come from the keyboard layout or an input method;
    // the editor receives them as its text.
    auto* line = qobject_cast<QLineEdit*>(editor);
    ASSERT_NE(line, nullptr);
    line->setText(text);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
  }
  std::unique_ptr<SchoolCopy> school1252_;
};

TEST_F(HeadingEditor1252Test, NationalLettersAreStoredInTheCodePageAndAnUnknownCharacterIsRefused) {
  eot::MK_HDEOTS(school::SchoolFolder(dir()), " Year");
  widgets::BrowseView* view = eot::editHeadings(&dialog, school::SchoolFolder(dir()));
  ASSERT_NE(view, nullptr);
  typeInto(view->grid(), 2, QString::fromUtf8("ÉLÈVE:"));
  EXPECT_EQ(rawLongHeading(3), "\xC9L\xC8VE:");
  EXPECT_EQ(view->grid()->item(2, 1)->text(), QString::fromUtf8("ÉLÈVE:"));
  EXPECT_EQ(eot::loadHeadingWords(school::SchoolFolder(dir()), " Year").rptof_hd, "\xC9L\xC8VE:");

  // Ł has no place in 1252: the user is told which character, and nothing changes.
  QString told;
  onNextModal([&](QWidget* box) {
    told = messageText(box);
    QTest::keyClick(box, Qt::Key_Return);
  });
  typeInto(view->grid(), 2, QString::fromUtf8("ŁUCJA:"));
  EXPECT_TRUE(told.contains(QString::fromUtf8("\"Ł\" (U+0141)"))) << told.toStdString();
  EXPECT_TRUE(told.contains("1252")) << told.toStdString();
  EXPECT_EQ(rawLongHeading(3), "\xC9L\xC8VE:") << "nothing is stored as \"?\"";
  EXPECT_EQ(view->grid()->item(2, 1)->text(), QString::fromUtf8("ÉLÈVE:"));
}

}  // namespace
}  // namespace velmont::testing
