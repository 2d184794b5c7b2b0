// The end-of-term options dialog as the office uses it, on a copy of the demo
// school: opened from its menu entry point, driven with keys, printing to the
// "PDF" device and previewing through the real preview windows.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <filesystem>
#include <fstream>

#include "school/home_classes.h"
#include "school/school_settings.h"
#include "school/session.h"
#include "data/table.h"
#include "data/text.h"
#include "data/workspace.h"
#include "libs/date_text.h"
#include "widgets/desktop_files.h"
#include "school/year_names.h"
#include "gui_helpers.h"
#include "widgets/lmd_browse.h"
#include "widgets/lmd_dialog.h"
#include "widgets/lmd_messages.h"
#include "widgets/picture_edit.h"
#include "reports/dialogs/run_gui.h"
#include "reports/dialogs/eot_dialog.h"
#include "school_fixture.h"
#include "temp_dir.h"
#include "host_tool.h"

namespace velmont::testing {
namespace {

using widgets::LmdDialog;
using widgets::PictureEdit;

constexpr int kWait = 30000;

class EotDialogTest : public ::testing::Test {
 protected:
  EotDialogTest() {
    // Dates as the office types them here; a program started by an earlier test in the
    // same process takes the system's order (month first under Wine's default locale).
    libs::setDateOrder(libs::DateOrder::kDayMonthYear);
    school::SessionValues v = school::freshSessionValues(school::SchoolFolder(school.dir()), data::Date::fromYmd(kDemoYear, 8, 3));
    v.term = 3;
    v.year = kDemoYear;
    v.regYear = kDemoYear;
    v.userId = "clerk";
    school::readSchoolWords(v);
    school::readSchoolName(v);
    school::readControlValues(v);
    session.update([&](school::SessionValues& s) { s = v; });
    std::filesystem::remove(school.file("headeots.dbf"));
    data::Workspace ws;
    school::yr_range(ws, school::SchoolFolder(school.dir()), firstLevel, lastLevel);
    reports::setPdfFileChooser([this](const QString& suggested) {
      ++saveQuestions;
      lastSuggested = suggested;
      return pdf;
    });
  }
  ~EotDialogTest() override { reports::setPdfFileChooser({}); }

  // Opens the dialog as the menu does; `act` gets it once it is shown and active
  // and is expected to close it.
  void open(const std::function<void(LmdDialog*)>& act) {
    onNextModal([act](QWidget* w) {
      w->activateWindow();
      EXPECT_TRUE(QTest::qWaitForWindowActive(w));
      auto* d = qobject_cast<LmdDialog*>(w);
      if (d) act(d);
      else ADD_FAILURE() << "no options dialog";
      // A test that stopped half-way must not leave the dialog waiting.
      if (w->isVisible()) {
        ADD_FAILURE() << "the dialog was left open";
        qobject_cast<QDialog*>(w)->reject();
      }
    });
    eot::TAIL_PR2(session, nullptr, "T_EOT_Rpt");
  }

  static PictureEdit* field(LmdDialog* d, size_t n) { return qobject_cast<PictureEdit*>(d->fields().at(n - 1)); }
  static QPushButton* button(LmdDialog* d, const QString& text) {
    for (QPushButton* b : d->findChildren<QPushButton*>())
      if (b->text().remove('&') == text) return b;
    ADD_FAILURE() << "no button " << text.toStdString();
    return nullptr;
  }
  // A key pressed by the user: it reaches the widget with the focus.
  static void press(int key) {
    QWidget* w = QApplication::focusWidget();
    ASSERT_NE(w, nullptr);
    QTest::keyClick(w, Qt::Key(key));
  }
  // Goes to a field with Down, as a user would, and types over its text.
  static void type(LmdDialog* d, size_t n, const QString& text) {
    for (int i = 0; i < 10 && QApplication::focusWidget() != field(d, n); ++i) press(Qt::Key_Down);
    ASSERT_EQ(QApplication::focusWidget(), field(d, n));
    field(d, n)->selectAll();
    QTest::keyClicks(field(d, n), text);
  }
  static bool runEnded(LmdDialog* d) {
    return QTest::qWaitFor([d] { return button(d, "F4 Print")->isEnabled(); }, kWait);
  }
  // The box with the last run's outcome, which stays until acknowledged; null when none is shown.
  static QDialog* outcomeBox(LmdDialog* d) {
    for (QDialog* box : d->findChildren<QDialog*>("runOutcome"))
      if (box->isVisible()) return box;
    return nullptr;
  }
  static QPushButton* findButton(QWidget* w, const QString& text) {
    for (QPushButton* b : w->findChildren<QPushButton*>())
      if (b->text().remove('&') == text) return b;
    return nullptr;
  }
  static QString outcomeText(LmdDialog* d) {
    QDialog* box = outcomeBox(d);
    return box ? box->findChild<QLabel*>("outcomeText")->text() : QString();
  }

  QString pdfText() const {
    const auto p = velmont::testing::runHostTool("pdftotext", {"-layout", pdf, "-"}, kWait);
    EXPECT_TRUE(p.ended);
    return QString::fromUtf8(p.out);
  }
  // The user's saved end-of-term options, "" when there is no record.
  std::string savedParams() const {
    auto t = data::Table::open(school.file("prntpref.dbf"), "pref");
    std::string found;
    int records = 0;
    for (t->goTop(); !t->eof(); t->skip())
      if (t->text("USERNAME") == "clerk" && t->text("RPT_CODE") == "T_EOT_Rpt") {
        found = t->text("RPT_PARAMS");
        ++records;
      }
    EXPECT_LE(records, 1);
    return found;
  }
  // The year code a level prints as.
  std::string code(int level) const {
    data::Workspace ws;
    return school::put_yrout(ws, school::SchoolFolder(school.dir()), level);
  }
  int level(const std::string& code) const {
    data::Workspace ws;
    int n = 0;
    school::ent_yrin(ws, school::SchoolFolder(school.dir()), code, n);
    return n;
  }

  SchoolCopy school;
  TempDir out;
  school::Session session;
  std::string firstLevel, lastLevel;
  QString pdf = QString::fromStdString(out.file("cards.pdf"));
  int saveQuestions = 0;
  QString lastSuggested;  // the file the save question offered last
};

TEST_F(EotDialogTest, F4PrintsTheCardsToAPdfWhileTheButtonsAreHeldAndTheDialogStaysForTheNextRun) {
  open([&](LmdDialog* d) {
    EXPECT_EQ(d->windowTitle(), "End of Term Report");
    EXPECT_TRUE(labelTexts(d).contains("PDF"));  // the default printer of this machine
    EXPECT_EQ(QApplication::focusWidget(), field(d, 1));
    const std::string yearWord = session.get(&school::SessionValues::yearNames).word;
    EXPECT_TRUE(labelTexts(d).contains(QString::fromStdString("Enter starting " + yearWord)));  // the help line
    EXPECT_EQ(field(d, 1)->value().toStdString(), firstLevel);
    EXPECT_EQ(field(d, 2)->value().toStdString(), lastLevel);
    EXPECT_EQ(field(d, 3)->value().trimmed(), "");

    press(Qt::Key_F4);
    press(Qt::Key_F4);  // the key, unlike the button, still reaches the dialog: one run at a time
    EXPECT_EQ(saveQuestions, 1);
    // Offered under a name that tells the report, term, year and levels apart.
    const std::string word = data::trim(session.get(&school::SessionValues::yearNames).word);
    EXPECT_EQ(QFileInfo(lastSuggested).fileName().toStdString(),
              "End of Term Report - Term 3 " + std::to_string(kDemoYear) + " - " + word + " " + data::trim(firstLevel) +
                  " to " + data::trim(lastLevel) + ".pdf");
    EXPECT_FALSE(button(d, "F4 Print")->isEnabled());
    EXPECT_FALSE(button(d, "F5 Preview")->isEnabled());
    ASSERT_TRUE(runEnded(d));
    EXPECT_TRUE(button(d, "F5 Preview")->isEnabled());
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), field(d, 1));
    // The outcome stays until it is acknowledged: where the cards went, in full, and how many pages.
    const QStringList outcome = outcomeText(d).split('\n');
    ASSERT_GE(outcome.size(), 2) << outcomeText(d).toStdString();
    EXPECT_EQ(outcome[0], "Report has been sent to " + pdf);
    EXPECT_TRUE(outcome[1].contains(QRegularExpression("^[1-9][0-9]* pages in " + QRegularExpression::escape(pdf) + "\\.$")))
        << outcome[1].toStdString();
    // Without a desktop opener (no xdg-open here) the box says so instead of offering a
    // button that does nothing; Windows always has one.
    if (widgets::desktopOpens()) {
      EXPECT_NE(findButton(outcomeBox(d), "Open PDF"), nullptr);
    } else {
      EXPECT_TRUE(outcomeText(d).contains("offers no program to open files")) << outcomeText(d).toStdString();
      EXPECT_EQ(findButton(outcomeBox(d), "Open PDF"), nullptr);
    }
    findButton(outcomeBox(d), "OK")->click();
    EXPECT_EQ(outcomeBox(d), nullptr);

    const QString text = pdfText();
    EXPECT_GE(text.count("REPORT OF:"), 10);  // every student of the school, one card or more each
    EXPECT_TRUE(text.contains("Teacher's comments:"));

    // The cards' heading table exists now, so the headings button opens its editor.
    button(d, "Multi-Language Headings")->click();
    EXPECT_NE(d->findChild<widgets::BrowseView*>(), nullptr);
    press(Qt::Key_Escape);  // closes the editor only
    EXPECT_TRUE(d->isVisible());
    press(Qt::Key_Escape);
    EXPECT_FALSE(d->isVisible());
  });
}

TEST_F(EotDialogTest, AYearWithoutSubjectRecordsIsToldBeforeAnythingIsAskedOrPrinted) {
  session.set(&school::SessionValues::year, 2031);
  QString told;
  open([&](LmdDialog* d) {
    onNextModal([&](QWidget* box) {
      told = messageText(box);
      QTest::keyClick(box, Qt::Key_Return);
    });
    press(Qt::Key_F4);
    EXPECT_TRUE(button(d, "F4 Print")->isEnabled()) << "no run started";
    d->activateWindow();  // the message had the keys
    ASSERT_TRUE(QTest::qWaitForWindowActive(d));
    press(Qt::Key_Escape);
  });
  EXPECT_EQ(told, "The year 2031 has no subject records (STSUB31.dbf is missing): its cards would have no subjects, "
                  "marks or comments, so none were printed.");
  EXPECT_EQ(saveQuestions, 0);
  EXPECT_FALSE(std::filesystem::exists(school.file("STSUB31.dbf")));
  EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(EotDialogTest, TheSaveQuestionOffersAnArchivalPdfAndOneFilePerFamily) {
  const QString folder = QString::fromStdString(out.file("families"));
  std::vector<bool> offered;
  QStringList suggested;
  std::vector<reports::PdfSaveAnswer> answers = {
      {pdf, {true, false, {}}}, {folder, {false, true, {}}}, {folder, {false, true, {}}}};
  reports::setPdfSaveChooser([&](const QString& file, bool familyOffered) -> std::optional<reports::PdfSaveAnswer> {
    offered.push_back(familyOffered);
    suggested << QFileInfo(file).path();
    const reports::PdfSaveAnswer a = answers.front();
    answers.erase(answers.begin());
    return a;
  });
  QString warned;
  open([&](LmdDialog* d) {
    press(Qt::Key_F4);
    ASSERT_TRUE(runEnded(d));
    press(Qt::Key_F4);
    ASSERT_TRUE(runEnded(d));
    // Into the same folder again: it holds the families' files now, so the user is asked first.
    onNextModal([&](QWidget* box) {
      warned = messageText(box);
      clickButton(box, "No");
    });
    press(Qt::Key_F4);
    EXPECT_TRUE(button(d, "F4 Print")->isEnabled()) << "No starts nothing";
    d->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(d));
    press(Qt::Key_Escape);
  });
  EXPECT_EQ(offered, (std::vector<bool>{true, true, true}));
  // The question after the families' run starts beside their folder, not inside it.
  const QString outDir = QDir::fromNativeSeparators(QString::fromStdString(out.path().string()));
  EXPECT_EQ(suggested, (QStringList{suggested[0], outDir, outDir}));
  EXPECT_TRUE(warned.startsWith(folder + " is not empty: it holds ")) << warned.toStdString();
  EXPECT_TRUE(warned.contains("are replaced or removed, other files are left alone")) << warned.toStdString();
  const auto meta = velmont::testing::runHostTool("pdfinfo", {"-meta", pdf}, kWait);
  ASSERT_TRUE(meta.ended);
  EXPECT_TRUE(QString::fromUtf8(meta.out).contains("pdfaid:part=\"1\""));
  QFile index(folder + "/cards.csv");
  ASSERT_TRUE(index.open(QIODevice::ReadOnly));
  const QList<QByteArray> rows = index.readAll().trimmed().split('\n');
  ASSERT_GE(rows.size(), 3);
  int pdfs = 0;
  for (const auto& e : std::filesystem::directory_iterator(folder.toStdString())) pdfs += e.path().extension() == ".pdf";
  EXPECT_EQ(pdfs, rows.size() - 1);
}

// The save question itself: ticking "One file per family" turns it into a
// folder chooser that also takes the name of a folder not made yet.
TEST_F(EotDialogTest, OneFilePerFamilyChoosesAFolderAndANewOneMayBeTyped) {
  reports::setPdfSaveChooser({});
  const QString folder = QString::fromStdString(out.file("new families"));
  QString title;
  open([&](LmdDialog* d) {
    onNextModal([&](QWidget* w) {
      auto* dialog = qobject_cast<QFileDialog*>(w);
      ASSERT_NE(dialog, nullptr);
      dialog->findChild<QCheckBox*>("oneFilePerFamily")->setChecked(true);
      title = dialog->windowTitle();
      EXPECT_EQ(dialog->fileMode(), QFileDialog::Directory);
      auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
      ASSERT_NE(name, nullptr);
      name->setText(folder);
      QTest::keyClick(name, Qt::Key_Return);
    });
    press(Qt::Key_F4);
    ASSERT_TRUE(runEnded(d));
    press(Qt::Key_Escape);
  });
  EXPECT_EQ(title, "Choose or name the folder for the families' files");
  EXPECT_TRUE(QFile::exists(folder + "/cards.csv"));
}

TEST_F(EotDialogTest, AGradeFileWordShowsWholeInTheLevelLabelsAndHelp) {
  {
    std::ofstream grade(school.file("grade.$vl"), std::ios::binary);
    grade << "Form\r\n7,Form 7\r\n";
  }
  session.update([](school::SessionValues& s) { school::readSchoolWords(s); });
  ASSERT_EQ(session.get(&school::SessionValues::yearNames).word.size(), 79u) << "the word as read, padded";
  open([&](LmdDialog* d) {
    for (const QString& text : {QStringLiteral("Starting Form "), QStringLiteral("Ending Form ")}) {
      QLabel* label = nullptr;
      for (QLabel* l : d->findChildren<QLabel*>())
        if (l->text() == text) label = l;
      ASSERT_NE(label, nullptr) << text.toStdString();
      // Right-aligned, the words must lie inside the label, not pushed out by blanks.
      EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(text.trimmed()), label->contentsRect().width());
    }
    EXPECT_TRUE(labelTexts(d).contains("Enter starting Form"));  // the help line of the first field
    press(Qt::Key_Escape);
  });
}

TEST_F(EotDialogTest, ATextFileIsWrittenAsThePrinterDisplayNamesIt) {
  namespace fs = std::filesystem;
  // A name without a dot or folder, as typed in the printer dialog (F6) that
  // the printer display then shows as out.PRN: out.PRN in the school's data directory.
  open([&](LmdDialog* d) {
    session.set(&school::SessionValues::prAscii, std::string("out"));
    press(Qt::Key_F4);
    ASSERT_TRUE(runEnded(d));
    EXPECT_TRUE(outcomeText(d).startsWith(QString::fromStdString("Report has been sent to " + school.file("out.PRN"))))
        << outcomeText(d).toStdString();
    press(Qt::Key_Escape);
  });
  EXPECT_GT(fs::file_size(school.file("out.PRN")), 0u);
  // A second run to the same text file asks first, as a PDF's question does; No prints nothing.
  fs::resize_file(school.file("out.PRN"), 5);
  QString asked;
  open([&](LmdDialog* d) {
    session.set(&school::SessionValues::prAscii, std::string("out"));
    onNextModal([&](QWidget* box) {
      asked = messageText(box);
      clickButton(box, "No");
    });
    press(Qt::Key_F4);
    EXPECT_TRUE(button(d, "F4 Print")->isEnabled()) << "no run started";
    d->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(d));
    press(Qt::Key_Escape);
  });
  EXPECT_EQ(asked, QString::fromStdString(school.file("out.PRN")) + " already exists.\nDo you want to replace it?");
  EXPECT_EQ(fs::file_size(school.file("out.PRN")), 5u);
  EXPECT_FALSE(fs::exists(school.file("out")));
  EXPECT_FALSE(fs::exists("out")) << "nothing in the folder the program was started from";
  EXPECT_EQ(saveQuestions, 0) << "a text file is not a PDF: no save question";

  // A name with a folder and a dot is written as it stands.
  open([&](LmdDialog* d) {
    session.set(&school::SessionValues::prAscii, out.file("cards.txt"));
    press(Qt::Key_F4);
    ASSERT_TRUE(runEnded(d));
    press(Qt::Key_Escape);
  });
  EXPECT_GT(fs::file_size(out.file("cards.txt")), 0u);
}

TEST_F(EotDialogTest, TheOptionsOfARunAreSavedForTheUserAndComeBackWhenTheDialogIsOpenedAgain) {
  const int hclLen = session.get(&school::SessionValues::hclLen);
  ASSERT_GE(hclLen, 2);
  const std::string cls =
      data::trim(school::homeClassesInUse(school::SchoolFolder(school.dir())).front().substr(0, size_t(hclLen)));
  open([&](LmdDialog* d) {
    EXPECT_EQ(savedParams(), "");
    type(d, 1, QString::fromStdString(lastLevel));
    type(d, 2, QString::fromStdString(lastLevel));
    type(d, 3, QString::fromStdString(cls));
    type(d, 5, "ZZZZ");  // no such student: the run prints nothing, quickly, and says so
    press(Qt::Key_F4);
    ASSERT_TRUE(runEnded(d));
    EXPECT_FALSE(QFile::exists(pdf)) << "nothing was written";
    press(Qt::Key_Escape);
  });
  // Levels as their codes, the class padded to 4, then "2 ", the two option digits.
  EXPECT_EQ(savedParams(), code(level(lastLevel)) + code(level(lastLevel)) + data::padTo(cls, 4) + "2 11");
  open([&](LmdDialog* d) {
    EXPECT_EQ(field(d, 1)->value().toStdString(), lastLevel);
    EXPECT_EQ(field(d, 2)->value().toStdString(), lastLevel);
    EXPECT_EQ(field(d, 3)->value(), QString::fromStdString(data::padTo(cls, size_t(hclLen))));
    press(Qt::Key_Escape);
  });
}

// ESC while the cards print asks first, and the run waits for the answer: No
// lets it print every card; Yes stops it, with nothing written and the earlier
// file kept. The run cannot end between the key and the question.
TEST_F(EotDialogTest, EscDuringAPrintedRunAsksAndOnlyYesStopsItWithNothingWritten) {
  open([&](LmdDialog* d) {
    QStringList asked;
    auto answer = [&](const QString& button) {
      onNextModal([&asked, button](QWidget* box) {
        asked << messageText(box);
        clickButton(box, button);
      });
    };
    answer("No");
    press(Qt::Key_F4);
    press(Qt::Key_Escape);
    ASSERT_TRUE(runEnded(d));
    EXPECT_TRUE(d->isVisible());
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked[0].startsWith("Stop the report?")) << asked[0].toStdString();
    const QString printed = pdfText();
    EXPECT_GE(printed.count("REPORT OF:"), 10) << "every card";

    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray earlier = file.readAll();
    file.close();
    d->activateWindow();  // the question had the focus
    ASSERT_TRUE(QTest::qWaitForWindowActive(d));
    answer("Yes");
    press(Qt::Key_F4);
    press(Qt::Key_Escape);
    ASSERT_TRUE(runEnded(d));
    EXPECT_TRUE(d->isVisible()) << "the dialog stays for the next run";
    ASSERT_EQ(asked.size(), 2);
    EXPECT_TRUE(outcomeText(d).contains(QRegularExpression(
        "^The report was stopped (after card [1-9][0-9]* of [0-9]+ \\(.*\\)|before its first card): nothing was "
        "sent to " + QRegularExpression::escape(pdf) + "\\.$")))
        << outcomeText(d).toStdString();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), earlier) << "the earlier cards are kept";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out.path()), {}), 1) << "no temporary file";
    d->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(d));
    press(Qt::Key_Escape);  // no run: the dialog closes
    EXPECT_FALSE(d->isVisible());
  });
}

TEST_F(EotDialogTest, F5PreviewsStoppedAtTheFirstCardWindowThenTheFinalWindowGivesTheButtonsBack) {
  auto previewWindow = [](const QString& answerButton) -> QWidget* {
    QWidget* found = nullptr;
    (void)QTest::qWaitFor([&] {
      for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* next = w->findChild<QPushButton*>("nextOrQuit");
        if (w->objectName() == "previewWindow" && w->isVisible() && next && next->text() == answerButton &&
            QApplication::activeModalWidget() == w)
          found = w;
      }
      return found != nullptr;
    }, kWait);
    return found;
  };
  auto answer = [](QWidget* window, Qt::Key key) {
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window->findChild<QWidget*>("keyReceiver"), key);
  };
  // Without the year's subject index the run builds it first, with a passing notice.
  for (const char* index : {"STSUB26.ntx", "stsub26.ntx"}) std::filesystem::remove(school.file(index));
  open([&](LmdDialog* d) {
    press(Qt::Key_F5);
    EXPECT_EQ(saveQuestions, 0);  // a preview is not saved to a file
    EXPECT_FALSE(button(d, "F4 Print")->isEnabled());
    QWidget* stepping = previewWindow("&Next Page");
    ASSERT_NE(stepping, nullptr);
    EXPECT_TRUE(std::filesystem::exists(school.file("STSUB26.ntx")) || std::filesystem::exists(school.file("stsub26.ntx")));
    EXPECT_EQ(widgets::lmdQMsgWindow(), nullptr) << "the indexing notice stays over the preview";
    button(d, "ESC=Quit")->click();  // the run still needs its dialog
    EXPECT_TRUE(d->isVisible());
    answer(stepping, Qt::Key_Q);  // stop before the second card
    QWidget* final = previewWindow("&Quit");
    ASSERT_NE(final, nullptr);
    EXPECT_FALSE(button(d, "F5 Preview")->isEnabled());
    answer(final, Qt::Key_Q);
    ASSERT_TRUE(runEnded(d));
    EXPECT_TRUE(button(d, "F5 Preview")->isEnabled());
    ASSERT_TRUE(d->isVisible());
    d->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(d));
    press(Qt::Key_Escape);
    EXPECT_FALSE(d->isVisible());
  });
  EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(EotDialogTest, ThePriorYearCheckBoxIsOnlyOfferedForAPriorYearAndTickingItPrintsTheLevelOneLower) {
  auto printedLevels = [&](LmdDialog* d) {
    press(Qt::Key_F4);
    EXPECT_TRUE(runEnded(d));
    QStringList levels;
    const QString yearWord = QString::fromStdString(data::trim(session.get(&school::SessionValues::yearNames).word)).toUpper();
    const QRegularExpression line("REPORT OF:.*" + yearWord + R"(\s*:?\s*(\S+)\s+TERM)");
    for (auto it = line.globalMatch(pdfText()); it.hasNext();) levels << it.next().captured(1);
    levels.removeDuplicates();
    return levels;
  };
  open([&](LmdDialog* d) {
    auto* box = d->findChild<QCheckBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->isEnabled());  // this year's reports
    press(Qt::Key_Escape);
  });

  session.set(&school::SessionValues::regYear, kDemoYear + 1);  // the processing date is in the next year
  const int printed = level(lastLevel);
  ASSERT_GT(printed, 1);
  open([&](LmdDialog* d) {
    auto* box = d->findChild<QCheckBox*>();
    ASSERT_TRUE(box->isEnabled());
    EXPECT_TRUE(d->findChild<QGroupBox*>()->isEnabled());
    EXPECT_FALSE(box->isChecked());
    type(d, 1, QString::fromStdString(lastLevel));
    type(d, 2, QString::fromStdString(lastLevel));
    box->setFocus(Qt::TabFocusReason);
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_TRUE(box->isChecked());
    QTest::keyClick(box, Qt::Key_Return);  // Enter moves on
    EXPECT_NE(QApplication::focusWidget(), box);
    EXPECT_TRUE(d->isVisible());
    const QStringList reduced = printedLevels(d);
    ASSERT_FALSE(reduced.isEmpty());
    EXPECT_EQ(reduced, QStringList{QString::fromStdString(data::trim(code(printed - 1)))});

    box->setFocus(Qt::TabFocusReason);
    QTest::keyClick(box, Qt::Key_Space);  // unticked again: the real levels
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(printedLevels(d), QStringList{QString::fromStdString(data::trim(code(printed)))});
    press(Qt::Key_Escape);
  });
}

TEST_F(EotDialogTest, AnUnknownLevelABadDateOrAHeadingsTableNotYetMadeStartsNothing) {
  open([&](LmdDialog* d) {
    QString told;
    auto answer = [&] {
      onNextModal([&](QWidget* box) {
        told = messageText(box);
        QTest::keyClick(box, Qt::Key_Return);
      });
    };
    type(d, 2, "Q9");
    answer();
    press(Qt::Key_F4);  // F4 without leaving the field: the level is still checked
    EXPECT_EQ(told, "No School Year has the code \"Q9\".\nPlease enter a Year that this school uses: 7, 8, 9, 10, 11, "
                    "12, FS, AE.");
    ASSERT_TRUE(QTest::qWaitForWindowActive(d));  // back from the message
    EXPECT_EQ(saveQuestions, 0);
    EXPECT_TRUE(button(d, "F4 Print")->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), field(d, 2));
    type(d, 2, QString::fromStdString(lastLevel));
    // A class no student is in is refused as the field is left, naming the classes
    // there are; the focus goes back to it, and the next field is not checked.
    type(d, 3, "Z9");
    answer();
    press(Qt::Key_Down);
    ASSERT_TRUE(QTest::qWaitForWindowActive(d));
    QTest::qWait(0);
    const std::vector<std::string> classes = school::homeClassesInUse(school::SchoolFolder(school.dir()));
    const QString homeCl = QString::fromStdString(session.get(&school::SessionValues::homeCl));
    EXPECT_TRUE(told.startsWith("No student is in the " + homeCl + " \"Z9\".\nPlease enter a " + homeCl +
                                " that this school uses (" + QString::fromStdString(classes.front()) + ", "))
        << told.toStdString();
    EXPECT_TRUE(told.endsWith(QString::fromStdString(classes.back()) + "), or leave the field blank."))
        << told.toStdString();
    EXPECT_EQ(QApplication::focusWidget(), field(d, 3));
    type(d, 3, " ");
    type(d, 4, "31022026");  // no such day
    answer();
    press(Qt::Key_F5);
    EXPECT_EQ(told, "\"31/02/2026\" is not a date.\nPlease enter a date that exists, as DD/MM/YYYY, or clear the field.");
    ASSERT_TRUE(QTest::qWaitForWindowActive(d));
    EXPECT_TRUE(button(d, "F5 Preview")->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), field(d, 4));

    onNextModal([&](QWidget* box) {
      told = messageText(box);
      QTest::keyClick(box, Qt::Key_Return);
    });
    button(d, "Multi-Language Headings")->click();
    EXPECT_EQ(told, "Please run Report first\nthen Change Headings");
    EXPECT_EQ(d->findChild<widgets::BrowseView*>(), nullptr);

    button(d, "ESC=Quit")->click();
    EXPECT_FALSE(d->isVisible());
  });
  EXPECT_EQ(savedParams(), "");
  EXPECT_FALSE(QFile::exists(pdf));
  EXPECT_FALSE(std::filesystem::exists(school.file("headeots.dbf")));
}

TEST_F(EotDialogTest, ANameTypedWithAnAccentFindsTheStudentAndALetterTheCodePageLacksIsRefused) {
  // Letters beyond ASCII come from the keyboard layout or an input method: the
  // field receives them as text, through its picture (capitals).
  auto enter = [](LmdDialog* d, size_t n, const char* utf8) {
    for (int i = 0; i < 10 && QApplication::focusWidget() != field(d, n); ++i) press(Qt::Key_Down);
    field(d, n)->selectAll();
    field(d, n)->insert(QString::fromUtf8(utf8));
  };
  open([&](LmdDialog* d) {
    enter(d, 5, "müller");
    EXPECT_EQ(field(d, 5)->value().trimmed(), QString::fromUtf8("MÜLLER"));
    press(Qt::Key_F4);
    ASSERT_TRUE(runEnded(d));
    const QString text = pdfText();
    EXPECT_TRUE(text.contains(QString::fromUtf8("Müller-Upton"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QString::fromUtf8("Zoë"))) << "only the student the name part finds";

    QString told;
    onNextModal([&](QWidget* box) {
      told = messageText(box);
      QTest::keyClick(box, Qt::Key_Return);
    });
    enter(d, 5, "łucja");
    press(Qt::Key_F4);
    EXPECT_EQ(told, QString::fromUtf8("The character \"Ł\" (U+0141) cannot be stored in the school's code page 850."));
    EXPECT_EQ(saveQuestions, 1) << "no second run started";
    EXPECT_TRUE(button(d, "F4 Print")->isEnabled());
    button(d, "ESC=Quit")->click();
    EXPECT_FALSE(d->isVisible());
  });
}

}  // namespace
}  // namespace velmont::testing
