// The printer choice and settings dialog as the user meets it: what it shows
// from the school's tables, what confirming saves, and how Cancel, ESC and the
// keys leave or move.
#include <QApplication>
#include <QFile>
#include <QPrintDialog>
#include <QPrinter>
#include <filesystem>

#include "printer/find_win_prn.h"
#include "printer/print_settings.h"
#include "printer_dialog_fixture.h"

namespace velmont::testing {
namespace {

TEST_F(PrinterDialogTest, LogoHeightZeroIsShownAndSavedAsTwelveWithTheOtherSettings) {
  school.setControl(3, "PA_NXT_TRN", 0);
  school.setControl(3, "PA_OPN_BAL", 5);
  session.update([](school::SessionValues& v) { v.prAscii = "OLD"; v.hdAscii = "N"; });
  QString shownMargin, shownLogo, shownAscii;
  bool okHasFocus = false;
  const printer::PrtSettings answer = run([&](widgets::LmdDialog* d) {
    shownMargin = edit(d, 1)->text();
    shownLogo = edit(d, 3)->text();
    shownAscii = edit(d, 4)->value();
    auto* focused = qobject_cast<QPushButton*>(d->focusWidget());
    okHasFocus = focused && focused->text() == "OK";
    if (!okHasFocus && d->focusWidget()) ADD_FAILURE() << d->focusWidget()->metaObject()->className();
    click(d, "OK");
  });
  EXPECT_EQ(shownMargin, "5");
  EXPECT_EQ(shownLogo, "12");
  EXPECT_EQ(shownAscii, QString(30, ' '));  // the text file starts blank on every opening
  EXPECT_TRUE(okHasFocus);                  // focus 0: on "OK"
  EXPECT_EQ(control("PA_NXT_TRN"), 12);
  EXPECT_EQ(control("PA_OPN_BAL"), 5);
  EXPECT_EQ(answer[printer::kPrtDeviceName], "");
  EXPECT_EQ(session.get(&school::SessionValues::prAscii), "");
  EXPECT_EQ(session.get(&school::SessionValues::hdAscii), "Y");
}

TEST_F(PrinterDialogTest, EnterOnTheLastFieldSavesMinusOneTheWatermarkAndThePlainTextChoice) {
  QFile(QString::fromStdString(school.file("crest.bmp"))).open(QIODevice::WriteOnly);
  run([&](widgets::LmdDialog* d) {
    type(d, 1, "7");
    watermark(d)->setCurrentIndex(watermark(d)->findText("crest.bmp"));
    type(d, 3, "-1");
    type(d, 4, "term3");
    type(d, 5, "n");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  }, {.focus = 1});
  EXPECT_EQ(control("PA_NXT_TRN"), -1);
  EXPECT_EQ(control("PA_OPN_BAL"), 7);
  EXPECT_EQ(storedWatermark(), "crest.bmp");
  EXPECT_EQ(session.get(&school::SessionValues::prAscii), "term3");
  EXPECT_EQ(session.get(&school::SessionValues::hdAscii), "N");
}

TEST_F(PrinterDialogTest, ADecimalIsSavedWhereTheFieldKeepsOneAndRefusedWhereItKeepsWholeNumbers) {
  // The demo's PA_OPN_BAL keeps one decimal, PA_NXT_TRN whole millimetres.
  school.setControl(3, "PA_NXT_TRN", 20);
  QStringList told;
  QString margin, logo;
  bool logoFocused = false;
  run([&](widgets::LmdDialog* d) {
    for (const char* refused : {"2,5", "2.55"}) {
      // Enter moves on from the field: its check refuses and the focus comes back.
      type(d, 1, refused);
      onNextModal([&](QWidget* box) { told << messageText(box); QTest::keyClick(box, Qt::Key_Return); });
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
      EXPECT_TRUE(QTest::qWaitFor([&] { return edit(d, 1)->hasFocus(); }, 2000)) << refused;
    }
    type(d, 1, "2.5");
    type(d, 3, "2.5");
    margin = edit(d, 1)->text();
    logo = edit(d, 3)->text();
    onNextModal([&](QWidget* box) { told << messageText(box); QTest::keyClick(box, Qt::Key_Return); });
    click(d, "OK");  // refused: the logo height cannot be 2.5
    logoFocused = d->focusWidget() == edit(d, 3);  // the window takes the keys back once the box is gone
    type(d, 3, "25");
    click(d, "OK");
  });
  EXPECT_EQ(margin, "2.5");
  EXPECT_EQ(logo, "2.5");
  ASSERT_EQ(told.size(), 3);
  EXPECT_TRUE(told[0].contains("decimals are written with a point")) << told[0].toStdString();
  EXPECT_TRUE(told[1].contains("it keeps 1 decimal")) << told[1].toStdString();
  EXPECT_TRUE(told[2].startsWith("\"2.5\" cannot be kept as the Logo height (mm) (it keeps whole numbers only)."))
      << told[2].toStdString();
  EXPECT_TRUE(logoFocused);
  EXPECT_DOUBLE_EQ(control("PA_OPN_BAL"), 2.5);
  EXPECT_EQ(control("PA_NXT_TRN"), 25);
  QString shown;
  run([&](widgets::LmdDialog* d) {
    shown = edit(d, 1)->text();
    QTest::keyClick(d, Qt::Key_Escape);
  });
  EXPECT_EQ(shown, "2.5");  // shown as stored, not rounded
}

TEST_F(PrinterDialogTest, ALongTextFilePathIsKeptAsTyped) {
  const QString path = "/home/office/Documents/term4-cards/" + QString(20, 'x') + ".txt";  // 62 characters
  run([&](widgets::LmdDialog* d) {
    type(d, 4, path);
    click(d, "OK");
  }, {.focus = 1});
  EXPECT_EQ(session.get(&school::SessionValues::prAscii), path.toStdString());
}

TEST_F(PrinterDialogTest, AClickInTheBlankTextFileNameAndTypingEntersTheName) {
  run([&](widgets::LmdDialog* d) {
    auto* file = qobject_cast<widgets::PictureEdit*>(d->fields().at(3));
    ASSERT_TRUE(file);
    // Where a user clicks: anywhere in the empty-looking field, here near its right end.
    QTest::mouseClick(file, Qt::LeftButton, {}, QPoint(file->rect().width() - 10, file->rect().height() / 2));
    QTest::keyClicks(file, "marks.txt");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);  // to the Y field
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);  // confirms
  }, {.focus = 1});
  EXPECT_EQ(session.get(&school::SessionValues::prAscii), "marks.txt");
}

TEST_F(PrinterDialogTest, CancelAfterSelectPrinterAnswersABlankAndEscTheChosenPrinterSavingNothing) {
  school.setControl(3, "PA_NXT_TRN", 20);
  printer::setSystemPrintDialog(answeringPrinter("Office Laser"));
  QString shown;
  const auto cancelled = run([&](widgets::LmdDialog* d) {
    click(d, "Select Printer");
    shown = d->findChild<QLabel*>("printerName")->text();
    type(d, 3, "30");
    click(d, "Cancel");
  });
  EXPECT_EQ(shown, "Office Laser");
  EXPECT_EQ(cancelled[printer::kPrtDeviceName], " ");
  const auto escaped = run([&](widgets::LmdDialog* d) {
    click(d, "Select Printer");
    type(d, 3, "40");
    type(d, 4, "FILE");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  });
  EXPECT_EQ(escaped[printer::kPrtDeviceName], "Office Laser");
  EXPECT_EQ(escaped[0], "1");
  EXPECT_EQ(control("PA_NXT_TRN"), 20);
  EXPECT_EQ(session.get(&school::SessionValues::prAscii), "");
}

TEST_F(PrinterDialogTest, ACancelledSystemDialogKeepsTheChoiceMadeBefore) {
  QStringList shown;
  const auto answer = run([&](widgets::LmdDialog* d) {
    printer::setSystemPrintDialog(answeringPrinter("First"));
    click(d, "Select Printer");
    printer::setSystemPrintDialog(answeringPrinter(""));
    click(d, "Select Printer");
    shown << d->findChild<QLabel*>("printerName")->text();
    QTest::keyClick(d, Qt::Key_Escape);
  }, {.currentPrinter = "Before"});
  EXPECT_EQ(shown, QStringList{"First"});
  EXPECT_EQ(answer[printer::kPrtDeviceName], "First");
}

TEST_F(PrinterDialogTest, KeysMoveBetweenTheFiveFieldsAndWrapAround) {
  std::vector<int> visited;
  auto where = [](widgets::LmdDialog* d) {
    const auto& f = d->fields();
    for (size_t i = 0; i < f.size(); ++i)
      if (f[i]->hasFocus()) return int(i) + 1;
    return 0;
  };
  int watermarkIndex = -1, watermarkAfter = -2;
  run([&](widgets::LmdDialog* d) {
    visited.push_back(where(d));                  // focus 1: the first field
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    visited.push_back(where(d));                  // Up on field 1: field 5
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    visited.push_back(where(d));                  // Down on field 5: field 1
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    visited.push_back(where(d));                  // Enter: field 2, the watermark list
    watermarkIndex = watermark(d)->currentIndex();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    watermarkAfter = watermark(d)->currentIndex();
    visited.push_back(where(d));                  // Down leaves the list, its choice unchanged
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
    visited.push_back(where(d));
    QTest::keyClick(d, Qt::Key_Escape);
  }, {.focus = 1});
  EXPECT_EQ(visited, (std::vector<int>{1, 5, 1, 2, 3, 4}));
  EXPECT_EQ(watermarkAfter, watermarkIndex);
}

TEST_F(PrinterDialogTest, ARecordInUseIsToldAndTheDialogStaysOpenUntilTheSaveSucceeds) {
  auto other = data::Table::open(school.file("sccontro.dbf"), "other", data::OpenMode::kReadWrite);
  other->goTo(3);
  ASSERT_TRUE(other->lockRecord());
  QString told;
  bool stillOpen = false;
  run([&](widgets::LmdDialog* d) {
    type(d, 3, "25");
    onNextModal([&](QWidget* box) {
      told = messageText(box);
      QTest::keyClick(box, Qt::Key_Return);
    });
    click(d, "OK");  // the message box runs inside this click
    stillOpen = d->isVisible();
    other->unlockRecord();
    click(d, "OK");
  });
  EXPECT_TRUE(told.startsWith("The print settings were not saved.")) << told.toStdString();
  EXPECT_TRUE(told.contains("sccontro.dbf")) << told.toStdString();
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(control("PA_NXT_TRN"), 25);
}

TEST_F(PrinterDialogTest, AWatermarkNamedWithNationalLettersIsStoredInTheCodePageOrRefusedByName) {
  // The demo school keeps its text in 850: é is 0x82 there, Ł has no place.
  QFile(QString::fromUtf8((school.dir() + "/écusson.bmp").c_str())).open(QIODevice::WriteOnly);
  QFile(QString::fromUtf8((school.dir() + "/Łódź.bmp").c_str())).open(QIODevice::WriteOnly);
  run([&](widgets::LmdDialog* d) {
    watermark(d)->setCurrentIndex(watermark(d)->findText(QString::fromUtf8("écusson.bmp")));
    click(d, "OK");
  });
  EXPECT_EQ(storedWatermark(), "\x82" "cusson.bmp");

  QString shown, told;
  school.setControl(3, "PA_NXT_TRN", 30);
  run([&](widgets::LmdDialog* d) {
    shown = watermark(d)->currentText();
    watermark(d)->setCurrentIndex(watermark(d)->findText(QString::fromUtf8("Łódź.bmp")));
    type(d, 3, "40");
    onNextModal([&](QWidget* box) {
      told = messageText(box);
      QTest::keyClick(box, Qt::Key_Return);
    });
    click(d, "OK");  // refused: the dialog stays
    click(d, "Cancel");
  });
  EXPECT_EQ(shown, QString::fromUtf8("écusson.bmp")) << "the stored name is shown decoded";
  EXPECT_TRUE(told.contains(QString::fromUtf8("\"Ł\" (U+0141)"))) << told.toStdString();
  EXPECT_EQ(storedWatermark(), "\x82" "cusson.bmp");
  EXPECT_EQ(control("PA_NXT_TRN"), 30) << "nothing is written when the name is refused";
}

TEST_F(PrinterDialogTest, WithoutTheTablesTheDefaultsAreShownAndNothingIsWritten) {
  std::filesystem::remove(school.file("sccontro.dbf"));
  std::filesystem::remove(school.file("rvhplogo.dbf"));
  QFile(QString::fromStdString(school.file("rv_mark.gif"))).open(QIODevice::WriteOnly);
  QString margin, logo, mark;
  run([&](widgets::LmdDialog* d) {
    margin = edit(d, 1)->text();
    logo = edit(d, 3)->text();
    mark = watermark(d)->currentText();
    click(d, "OK");
  });
  EXPECT_EQ(margin, "0");
  EXPECT_EQ(logo, "12");
  EXPECT_EQ(mark, "rv_mark.gif");
  EXPECT_FALSE(std::filesystem::exists(school.file("sccontro.dbf")));
  EXPECT_FALSE(std::filesystem::exists(school.file("rvhplogo.dbf")));
}

TEST_F(PrinterDialogTest, ADamagedLetterheadTableIsToldByNameAndNotOverwritten) {
  std::filesystem::resize_file(school.file("rvhplogo.dbf"), 20);
  QString told;
  onNextModal([&](QWidget* box) {
    told = messageText(box);
    QTest::keyClick(box, Qt::Key_Return);
    // The dialog itself comes next.
    onNextModal([&](QWidget* w) {
      auto* d = qobject_cast<widgets::LmdDialog*>(w);
      type(d, 3, "9");
      click(d, "OK");
    });
  });
  printer::RVPrnDlg(session);
  EXPECT_TRUE(told.contains("rvhplogo.dbf")) << told.toStdString();
  EXPECT_EQ(std::filesystem::file_size(school.file("rvhplogo.dbf")), 20u);
  EXPECT_EQ(control("PA_NXT_TRN"), 9);  // the control table is still saved
}

TEST(WatermarkChoices, NoneThenBitmapsGifsAndJpegsWithoutTheProgramsOwnPictures) {
  TempDir dir;
  for (const char* name : {"b.bmp", "A.BMP", "TABS.gif", "tabs.gif", "KIDS1.gif", "STMENU.gif", "logo.gif",
                           "SURFACE2.jpg", "photo.jpg", "notes.txt"})
    QFile(QString::fromStdString(dir.file(name))).open(QIODevice::WriteOnly);
  // Where file names ignore case (Windows) tabs.gif is the program's own TABS.gif.
  const bool caseBlind = QFile::exists(QString::fromStdString(dir.file("B.BMP")));
  std::vector<std::string> expected{"none", "A.BMP", "b.bmp", "logo.gif", "tabs.gif", "photo.jpg"};
  if (caseBlind) std::erase(expected, "tabs.gif");
  EXPECT_EQ(printer::watermarkChoices(dir.path().string()), expected);
}

TEST(SystemPrintDialog, TheRealDialogOpensAsAChoiceWithoutPagesOrAFileOutputAndCancels) {
  bool shown = false, pageChoices = true;
  QStringList buttons;
  bool fileOutput = true;
  onNextModal([&](QWidget* w) {
    auto* dialog = qobject_cast<QPrintDialog*>(w);
    shown = dialog != nullptr;
    // Pages are chosen in the preview; a range here would print every page.
    if (dialog)
      pageChoices = dialog->testOption(QAbstractPrintDialog::PrintPageRange) ||
                    dialog->testOption(QAbstractPrintDialog::PrintCurrentPage);
    for (QPushButton* b : w->findChildren<QPushButton*>())
      if (b->isVisible()) buttons << b->text().remove('&');
    fileOutput = false;
    for (QComboBox* c : w->findChildren<QComboBox*>())
      for (int i = 0; i < c->count(); ++i) fileOutput = fileOutput || c->itemText(i).contains("File", Qt::CaseInsensitive);
    static_cast<QDialog*>(w)->reject();
  });
  printer::PrtSettings settings;
  settings[printer::kPrtDeviceName] = "Kept";
  EXPECT_TRUE(printer::FIND_WIN_PRN(settings, nullptr));
  EXPECT_TRUE(shown);
  EXPECT_FALSE(pageChoices);
  EXPECT_TRUE(buttons.contains("Select")) << buttons.join(',').toStdString();
  EXPECT_FALSE(buttons.contains("Print")) << buttons.join(',').toStdString();
  EXPECT_FALSE(fileOutput) << "the dialog's own output file would be ignored";
  EXPECT_EQ(settings[printer::kPrtDeviceName], "Kept");
}

TEST(SystemPrintDialog, PaperIsAnsweredByItsStandardKeyWhateverThePrinterCallsItOrByItsSize) {
  struct Case {
    QPageSize paper;
    QString setting;
  };
  const Case cases[] = {
      {QPageSize(QSizeF(612, 792), QPageSize::Point, "US Letter"), "Letter"},
      {QPageSize(QSizeF(612, 1008), QPageSize::Point, "US Legal"), "Legal"},
      {QPageSize(QPageSize::A4), "A4"},
      {QPageSize(QSizeF(100, 150), QPageSize::Millimeter, "Card"), "100.0x150.0mm"},
  };
  for (const Case& k : cases) {
    QPrinter p;
    p.setPageSize(k.paper);
    EXPECT_EQ(printer::settingsOf(p)[8], k.setting) << k.paper.name().toStdString();
  }
}

}  // namespace
}  // namespace velmont::testing
