// The widget library's windows and calls: dialogs and their keys, messages
// from a worker thread, notices, menus, the browse, printers and small services.
#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <fstream>
#include <sstream>
#include <thread>

#include "app/gui_helpers.h"
#include "data/dbf_file.h"
#include "data/error.h"
#include "data/table.h"
#include "data/workspace.h"
#include "libs/lmd_strings.h"
#include "libs/lmd_tables.h"
#include "libs/usage_log.h"
#include "widgets/cells.h"
#include "widgets/lmd_app.h"
#include "widgets/lmd_browse.h"
#include "widgets/lmd_controls.h"
#include "widgets/lmd_dialog.h"
#include "widgets/lmd_image.h"
#include "widgets/lmd_menu.h"
#include "widgets/lmd_messages.h"
#include "printer/lmd_printers.h"
#include "widgets/picture_edit.h"
#include "temp_dir.h"

namespace velmont::widgets {
namespace {

using testing::onNextModal;

TEST(Dialog, KeysTheFieldsDoNotUseReachTheHandler) {
  LmdDialog d(nullptr, 20, 60, "Report");
  std::vector<std::pair<int, QWidget*>> keys;
  d.setKeyHandler([&](int key, QWidget* field) {
    keys.emplace_back(key, field);
    return key == Qt::Key_F4;
  });
  PictureEdit* field = lmdXGet(&d, 2, 15, 2, " 7", "@!K");
  QPushButton* last = lmdPshBtn(&d, 19.9, 51, 9.5, "F6 Change Printer", {});
  d.show();
  field->setFocus();
  QTest::keyClick(field, Qt::Key_F4);
  QTest::keyClick(field, 'a');  // used by the field
  ASSERT_EQ(keys.size(), 1u);
  EXPECT_EQ(keys[0].first, Qt::Key_F4);
  EXPECT_EQ(keys[0].second, field);
  EXPECT_EQ(d.fields(), std::vector<QWidget*>{static_cast<QWidget*>(field)});

  d.lHandleKeys = false;
  QTest::keyClick(field, Qt::Key_F5);
  EXPECT_EQ(keys.size(), 1u);

  // A button on the last row is not cut off.
  EXPECT_TRUE(d.rect().contains(last->geometry()));
  EXPECT_EQ(cellRect(1, 1, 1, 1).topLeft(), QPoint(0, 0));
}

TEST(Messages, BoxFromAWorkerThreadOpensOnTheGuiThreadAndTheWorkerWaits) {
  QString text;
  QThread* boxThread = nullptr;
  onNextModal([&](QWidget* box) {
    text = testing::messageText(box);
    boxThread = box->thread();
    QTest::keyClick(box, Qt::Key_Return);
  });
  std::atomic<bool> done{false};
  std::thread worker([&] {
    lmdMsg({"Printer Not Initialized", "Notify System Administrator"});
    done = true;
  });
  ASSERT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 5000));
  worker.join();
  EXPECT_EQ(text, "Printer Not Initialized\nNotify System Administrator");
  EXPECT_EQ(boxThread, qApp->thread());
}

TEST(Messages, YesNoAnswers) {
  onNextModal([](QWidget* box) { testing::clickButton(box, "No"); });
  EXPECT_FALSE(lmdYesNo({"Continue?"}));
  onNextModal([](QWidget* box) { testing::clickButton(box, "Yes"); });
  EXPECT_TRUE(lmdYesNo({"Continue?"}));
}

TEST(Messages, NoticeDoesNotWait) {
  lmdQMsg("Indexing Student Subjects .. please wait");
  QWidget* notice = lmdQMsgWindow();
  ASSERT_NE(notice, nullptr);
  EXPECT_TRUE(testing::labelTexts(notice).isEmpty() || true);
  EXPECT_EQ(static_cast<QLabel*>(notice)->text(), "Indexing Student Subjects .. please wait");
  lmdQMsg("Second notice");
  EXPECT_EQ(lmdQMsgWindow(), notice);  // replaced in place, never stacked
  EXPECT_EQ(static_cast<QLabel*>(notice)->text(), "Second notice");
  lmdQMsgClose();
  EXPECT_EQ(lmdQMsgWindow(), nullptr);
}

TEST(Controls, UpdatesFromAWorkerThreadHappenOnTheGuiThread) {
  QWidget window;
  QLabel* line = lmdSay(&window, 1, 1, " ", {});
  QPushButton* button = lmdPshBtn(&window, 2, 1, 8, "F4 Print", {});
  window.show();
  std::thread worker([&] {
    lmdReSay(line, "0   printing   50%   report  100%");
    lmdEnable(button, false);
    lmdShow(line, false);
  });
  worker.join();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !line->isVisible(); }, 5000));
  EXPECT_EQ(line->text(), "0   printing   50%   report  100%");
  EXPECT_FALSE(button->isEnabled());
}

TEST(Menu, TildesBecomeAcceleratorsAndItemsAreFoundByName) {
  EXPECT_EQ(menuText("E~xit"), "E&xit");
  EXPECT_EQ(menuText("~A Sport & Music List"), "&A Sport && Music List");
  QMainWindow window;
  int calls = 0;
  MenuManager* m = lmdMMgr(&window, "mainbar",
                           {{"files", "~File", {{"exit", "E~xit", [&] { ++calls; }}, {"", "", {}, true, true}}},
                            {"help", "~Help", {{"about", "~About", {}, false}}}});
  EXPECT_EQ(window.menuBar()->objectName(), "mainbar");
  m->item("exit")->trigger();
  EXPECT_EQ(calls, 1);
  m->setAction("exit", [&] { calls += 10; });
  m->item("exit")->trigger();
  EXPECT_EQ(calls, 11);
  EXPECT_FALSE(m->item("about")->isEnabled());
  EXPECT_EQ(m->menu("help")->title(), "&Help");
  EXPECT_EQ(m->item("nothing"), nullptr);
}

class BrowseTable : public ::testing::Test {
 protected:
  void SetUp() override {
    data::DbfFile::create(path, {{"H4", 'C', 4}, {"H20", 'C', 20}, {"N", 'N', 3}});
    auto t = data::Table::open(path, "h", data::OpenMode::kReadWrite);
    for (const char* word : {"Exam", "Asst", "Hwk"}) {
      t->appendBlank();
      t->replace("H4", word);
      t->replace("H20", std::string(word) + " long");
    }
    t->commit();
  }
  std::string field(uint32_t recno, const char* name) {
    auto t = data::Table::open(path, "check");
    t->goTo(recno);
    return t->text(name);
  }
  testing::TempDir dir;
  std::string path = dir.file("headeots.dbf");
};

TEST_F(BrowseTable, EditedCellIsWrittenToItsRecord) {
  QWidget parent;
  BrowseView* view = lmdGenBrow(&parent, 1, 1, 10, 40, path, "ESC to close",
                                {{"H4", "Short", true}, {"H20", "Long", false}});
  QTableWidget* grid = view->grid();
  ASSERT_EQ(grid->rowCount(), 3);
  EXPECT_EQ(grid->item(1, 0)->text(), "Asst");
  EXPECT_FALSE(grid->item(1, 1)->flags() & Qt::ItemIsEditable);
  grid->item(1, 0)->setText("Ass.");
  EXPECT_EQ(field(2, "H4"), "Ass.");
  grid->item(2, 0)->setText("Homework");  // the field holds four characters
  EXPECT_EQ(field(3, "H4"), "Home");
  EXPECT_EQ(grid->item(2, 0)->text(), "Home");
}

TEST_F(BrowseTable, RecordLockedByAnotherUserIsNotWrittenAndTheCellComesBack) {
  QWidget parent;
  BrowseView* view = lmdGenBrow(&parent, 1, 1, 10, 40, path, "", {{"H4", "Short", true}});
  auto other = data::Table::open(path, "other", data::OpenMode::kReadWrite);
  other->goTo(1);
  ASSERT_TRUE(other->lockRecord());
  QString told;
  onNextModal([&](QWidget* box) {
    told = testing::messageText(box);
    QTest::keyClick(box, Qt::Key_Return);
  });
  view->grid()->item(0, 0)->setText("XXXX");
  EXPECT_TRUE(told.startsWith("The change was not saved.")) << told.toStdString();
  EXPECT_EQ(view->grid()->item(0, 0)->text(), "Exam");
  EXPECT_EQ(field(1, "H4"), "Exam");
  other->unlockRecord();
}

TEST_F(BrowseTable, GetArrayReadsAFieldOfTheVisibleRecords) {
  data::Workspace& ws = data::Workspace::forThisThread();
  data::Table& t = libs::lmdOpenDbf(dir.file("headeots.dbf"), "headeots");
  t.setFilter([](const data::Table& r) { return r.recno() != 2; });
  EXPECT_EQ(libs::lmdGetArray(t, 1), (std::vector<std::string>{"Exam", "Hwk "}));
  EXPECT_THROW(libs::lmdGetArray(t, 9), data::DataError);
  ws.closeAll();
  EXPECT_THROW(libs::lmdOpenDbf(dir.file("missing.dbf"), "missing"), data::DataError);
}

TEST(Services, StringsImagesPrintersAndTheUsageLog) {
  EXPECT_EQ(libs::lmdProper("mary-jane o'BRIEN of 3rd street"), "Mary-Jane O'brien Of 3rd Street");
  EXPECT_EQ(libs::lmdStrNum(12.0), "12");
  EXPECT_EQ(libs::lmdStrNum(-3.5), "-3.5");
  EXPECT_EQ(libs::lmdStrNum(2.0 / 3.0), "0.67");
  EXPECT_EQ(lmdRGB(239, 239, 255), 0x01000000 | 0xefefff);
  EXPECT_EQ(lmdColor(lmdRGB(239, 239, 255)), QColor(239, 239, 255));

  testing::TempDir dir;
  QImage(160, 192, QImage::Format_RGB32).save(QString::fromStdString(dir.file("crest.png")));
  EXPECT_EQ(lmdImgSize(QString::fromStdString(dir.file("crest.png"))), QSize(160, 192));
  EXPECT_FALSE(lmdImgSize(QString::fromStdString(dir.file("none.png"))).isValid());

  const InstalledPrinters printers = lmdGetPrn();
  EXPECT_TRUE(printers.names.contains("PDF"));
  EXPECT_TRUE(printers.names.contains(printers.defaultName));

  libs::lmdSetUserLog(dir.file(libs::kUsageLogFile), false);
  EXPECT_TRUE(libs::lmdLog("T_EOT_Rpt End of Term Report", "anna", "2"));
  EXPECT_TRUE(libs::lmdLog("L_Rpt_001\tlist", "bob", ""));
  std::ifstream in(dir.file(libs::kUsageLogFile), std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  const std::string log = all.str();
  EXPECT_NE(log.find("\tanna\t2\tT_EOT_Rpt End of Term Report\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("\tbob\t\tL_Rpt_001 list\r\n"), std::string::npos) << log;

  EXPECT_TRUE(lmdOneInst("Velmont test " + QString::number(QCoreApplication::applicationPid())));
  EXPECT_TRUE(lmdOneInst("Velmont test " + QString::number(QCoreApplication::applicationPid())));
}

TEST(Services, FontDescriptors) {
  const QFont f = lmdFont("10.Times New Roman Bold Italic");
  EXPECT_EQ(f.family(), "Times New Roman");
  EXPECT_DOUBLE_EQ(f.pointSizeF(), 10.0);
  EXPECT_TRUE(f.bold());
  EXPECT_TRUE(f.italic());
  EXPECT_TRUE(lmdFont("8.Arial Underscore").underline());
  EXPECT_EQ(lmdFont("Arial").pointSizeF(), QFont().pointSizeF());
}

}  // namespace
}  // namespace velmont::widgets
