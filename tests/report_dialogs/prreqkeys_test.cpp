// The report dialogs' shared keys on a dialog built like the report options
// dialogs: entry fields, a drop-down field, the printer line and a status text.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "widgets/lmd_controls.h"
#include "printer_dialog_fixture.h"
#include "reports/dialogs/prreqkeys.h"

namespace velmont::testing {
namespace {

class ReportKeysTest : public PrinterDialogTest {
 protected:
  ReportKeysTest() : dialog(nullptr, 20, 60, "End of Term Report") {
    first = widgets::lmdXGet(&dialog, 2, 15, 2, "07", "@!K");
    second = widgets::lmdXGet(&dialog, 3.5, 15, 2, "12", "@!K");
    list = new QComboBox(&dialog);
    list->addItems({"a", "b", "c"});
    dialog.addField(list);
    last = widgets::lmdXGet(&dialog, 5, 15, 1, " ", "!");
    after = widgets::lmdPshBtn(&dialog, 8, 2, 8, "F4 Print", {});
    printerLine = widgets::lmdSay(&dialog, 18.5, 7, "", {});
    status = widgets::lmdSay(&dialog, 19, 2, "", {});
    keys.dialog = &dialog;
    keys.session = &session;
    keys.printerDisplay = printerLine;
    keys.messageDisplay = status;
    keys.printerName = &printerName;
    keys.print = [this] { runs.push_back(keys.lPreview ? "preview" : "print"); };
    keys.preview = [this] { runs.push_back(keys.lPreview ? "preview" : "print"); };
    dialog.setKeyHandler([this](int key, QWidget* field) { return reports::PRREQKEYS(key, field, keys); });
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    first->setFocus();
  }

  // F6 with the printer dialog answered by `act`.
  void changePrinter(std::function<void(widgets::LmdDialog*)> act) {
    onNextModal([act](QWidget* w) { act(qobject_cast<widgets::LmdDialog*>(w)); });
    QTest::keyClick(dialog.focusWidget(), Qt::Key_F6);
  }

  widgets::LmdDialog dialog;
  widgets::PictureEdit *first, *second, *last;
  QComboBox* list;
  QPushButton* after;
  QLabel *printerLine, *status;
  QString printerName = "Old Printer";
  std::vector<std::string> runs;
  reports::ReportKeys keys;
};

TEST_F(ReportKeysTest, F4PrintsAndF5PreviewsWithTheDialogStillOpen) {
  QTest::keyClick(first, Qt::Key_F5);
  QTest::keyClick(second, Qt::Key_F4);
  EXPECT_EQ(runs, (std::vector<std::string>{"preview", "print"}));
  EXPECT_FALSE(keys.lPreview);
  EXPECT_TRUE(dialog.isVisible());
}

TEST_F(ReportKeysTest, F6ShowsThePlainTextFileWithPrnAddedOnlyWhenItHasNoDot) {
  printer::setSystemPrintDialog(answeringPrinter("PDF"));
  QString during;
  changePrinter([&](widgets::LmdDialog* d) {
    during = status->text();
    click(d, "Select Printer");
    type(d, 4, "TERM3");
    click(d, "OK");
  });
  EXPECT_EQ(during, "Loading...");
  EXPECT_EQ(status->text(), " ");
  EXPECT_EQ(printerName, "PDF");
  EXPECT_EQ(printerLine->text(), "TERM3.PRN");
  changePrinter([&](widgets::LmdDialog* d) {
    click(d, "Select Printer");
    type(d, 4, "cards.txt");
    click(d, "OK");
  });
  EXPECT_EQ(printerLine->text(), "cards.txt");
  changePrinter([&](widgets::LmdDialog* d) {
    click(d, "Select Printer");
    click(d, "OK");
  });
  EXPECT_EQ(printerLine->text(), "PDF");
}

TEST_F(ReportKeysTest, F6HandsTheChosenPrintersJobSettingsToTheRunAndCancelKeepsThem) {
  std::vector<QString> settings;
  keys.printerSettings = &settings;
  printer::setSystemPrintDialog([](QWidget*) -> std::optional<printer::PrtSettings> {
    printer::PrtSettings s;
    s[0] = "3";   // copies
    s[6] = "2";   // long-edge duplex
    s[8] = "A5";  // form size
    s[printer::kPrtDeviceName] = "Office Laser";
    return s;
  });
  changePrinter([&](widgets::LmdDialog* d) {
    click(d, "Select Printer");
    click(d, "OK");
  });
  ASSERT_EQ(settings.size(), 10u);
  EXPECT_EQ(settings[0], "3");
  EXPECT_EQ(settings[6], "2");
  EXPECT_EQ(settings[8], "A5");
  changePrinter([&](widgets::LmdDialog* d) { click(d, "Cancel"); });
  EXPECT_EQ(printerName, "Office Laser");
  EXPECT_EQ(settings[0], "3");
}

TEST_F(ReportKeysTest, CancelInThePrinterDialogKeepsTheReportsPrinter) {
  printer::setSystemPrintDialog(answeringPrinter("Chosen Then Cancelled"));
  printerLine->setText("Old Printer");
  changePrinter([&](widgets::LmdDialog* d) {
    click(d, "Select Printer");
    click(d, "Cancel");
  });
  EXPECT_EQ(printerName, "Old Printer");
  EXPECT_EQ(printerLine->text(), "Old Printer");
}

TEST_F(ReportKeysTest, ConfirmingOnlyAPlainTextFileShowsItAndClearingItShowsThePrinterAgain) {
  changePrinter([&](widgets::LmdDialog* d) {
    type(d, 4, "LIST");
    click(d, "OK");
  });
  EXPECT_EQ(printerName, "Old Printer");
  EXPECT_EQ(printerLine->text(), "LIST.PRN");
  changePrinter([&](widgets::LmdDialog* d) { click(d, "OK"); });
  EXPECT_EQ(printerLine->text(), "Old Printer");
}

TEST_F(ReportKeysTest, EscWithADropDownOpenDoesNotCloseTheDialog) {
  bool closedCalled = false;
  keys.closed = [&] { closedCalled = true; };
  list->setFocus();
  list->showPopup();
  ASSERT_TRUE(list->view()->isVisible());
  EXPECT_TRUE(reports::PRREQKEYS(Qt::Key_Escape, list, keys));  // as the "ESC=Quit" button calls it
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_FALSE(closedCalled);
  list->hidePopup();
  QTest::keyClick(list, Qt::Key_Escape);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_TRUE(closedCalled);
}

TEST_F(ReportKeysTest, EscWaitsWhileTheReportSaysARunIsWorking) {
  bool working = true;
  keys.mayClose = [&] { return !working; };
  QTest::keyClick(first, Qt::Key_Escape);
  EXPECT_TRUE(dialog.isVisible());
  working = false;
  QTest::keyClick(first, Qt::Key_Escape);
  EXPECT_FALSE(dialog.isVisible());
}

TEST_F(ReportKeysTest, EnterAndArrowsMoveThroughTheFieldsThatAcceptTheFocus) {
  second->setEnabled(false);
  QTest::keyClick(first, Qt::Key_Return);
  EXPECT_TRUE(list->hasFocus());  // the disabled field is passed over
  QTest::keyClick(list, Qt::Key_Enter);
  EXPECT_TRUE(last->hasFocus());
  QTest::keyClick(last, Qt::Key_Down);
  EXPECT_TRUE(first->hasFocus());  // after the last, the first
  QTest::keyClick(first, Qt::Key_Up);
  EXPECT_TRUE(last->hasFocus());   // before the first, the last
  QTest::keyClick(last, Qt::Key_Return);
  QApplication::processEvents();   // the posted Tab
  EXPECT_TRUE(after->hasFocus());
}

// The plain text file the printer display names: a bare name goes in the school's
// folder, whatever letters that folder's name has; a name with a folder stands.
TEST(ReportTextFile, ABareNameGoesInTheSchoolsFolderAndANameWithAFolderStands) {
#ifdef _WIN32
  const std::string school = "C:\\\xC3\x89" "cole", sep = "\\", elsewhere = "D:\\R\xC3\xA9sultats\\cards.txt";
#else
  const std::string school = "/srv/\xC3\x89" "cole", sep = "/", elsewhere = "/srv/R\xC3\xA9sultats/cards.txt";
#endif
  const struct {
    std::string prAscii, dataDir, file;
  } rows[] = {{"TERM3", school, school + sep + "TERM3.PRN"},
              {"Carnets \xC3\xA9t\xC3\xA9.txt", school, school + sep + "Carnets \xC3\xA9t\xC3\xA9.txt"},
              {elsewhere, school, elsewhere},
              {"TERM3", "", "TERM3.PRN"},
              {"", school, ""}};
  for (const auto& row : rows) EXPECT_EQ(reports::textFilePath(row.prAscii, row.dataDir), row.file) << row.prAscii;
}

}  // namespace
}  // namespace velmont::testing
