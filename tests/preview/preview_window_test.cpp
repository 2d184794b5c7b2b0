// The final window's controls as a user meets them: zoom and scrolling, pages, the
// go-to-page prompt, margin outline, reference markers, help, resizing and printing.
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QWheelEvent>

#include "preview/preview_help.h"
#include "preview_run.h"

namespace velmont::print::testing {
namespace {

// A run of `cards` pages showing only its final window, not maximized.
struct FinalWindow : PreviewRun {
  explicit FinalWindow(int cards, int orientation = kPortrait, int zoomLevel = 0)
      : PreviewRun(cards, {.maximize = false, .zoomLevel = zoomLevel}, orientation, false) {}
};

QPoint scrollPosition(const PreviewRun& run) {
  const QScrollArea* area = run.find<QScrollArea>("previewArea");
  return {area->horizontalScrollBar()->value(), area->verticalScrollBar()->value()};
}

// The pixel of the page image at a page point: 0.1 mm across, and down from the top of
// the printable area.
QColor pagePixel(const PreviewRun& run, double x, double fromTop) {
  double x1, y1, x2, y2;
  run.window()->calcVP(x1, y1, x2, y2);
  const QImage& image = run.window()->pageImage();
  const double px = x1 + x * (x2 - x1) / run.preview->aPageSize[0];
  const double py = image.height() - y2 + fromTop * (y2 - y1) / run.preview->aPageSize[1];
  return image.pixelColor(int(px), int(py));
}

const QColor kPink(255, 0, 255);

TEST(PreviewWindowZoom, KeysStepTheZoomWithThePortraitScrollSteps) {
  ZoomLevelGuard keep;
  FinalWindow run(2, kPortrait, 2);
  ASSERT_TRUE(run.waitForCall(1));
  EXPECT_EQ(run.find<QLabel>("levelSay")->text(), "2");
  EXPECT_EQ(run.find<QWidget>("pageArea")->size(), QSize(439, 621));

  const QPoint before = scrollPosition(run);
  run.pressText('+');
  EXPECT_EQ(run.window()->level(), 3);
  EXPECT_EQ(run.find<QLabel>("levelSay")->text(), "3");
  EXPECT_EQ(run.find<QWidget>("pageArea")->size(), QSize(526, 745));
  EXPECT_EQ(run.find<QWidget>("previewCanvas")->size(), run.window()->pageGeometry().canvas);
  EXPECT_EQ(scrollPosition(run), before + QPoint(30, 10));  // 1 down, 3 right
  EXPECT_EQ(preview::previewZoomLevel(), 3);
  EXPECT_EQ(run.window()->pageImage().size(), QSize(526, 745));  // drawn again at the new size

  run.pressText('-');
  EXPECT_EQ(run.window()->level(), 2);
  EXPECT_EQ(scrollPosition(run), before + QPoint(0, 10));  // 3 left

  for (int i = 0; i < 8; ++i) run.pressText('=');
  EXPECT_EQ(run.window()->level(), 8);
  EXPECT_EQ(run.find<QLabel>("levelSay")->text(), "8");
  EXPECT_EQ(preview::previewZoomLevel(), 8);
  QTest::mouseClick(run.find<QPushButton>("zoomOut"), Qt::LeftButton);
  EXPECT_TRUE(QTest::qWaitFor([&] { return run.window()->level() == 7; }));
  run.press(Qt::Key_Q);
  ASSERT_TRUE(run.finish());
}

TEST(PreviewWindowZoom, LandscapeScrollsByItsOwnSteps) {
  ZoomLevelGuard keep;
  FinalWindow run(1, kLandscape, 1);
  ASSERT_TRUE(run.waitForCall(1));
  EXPECT_EQ(run.find<QWidget>("pageArea")->size(), QSize(561, 397));
  run.find<QScrollArea>("previewArea")->horizontalScrollBar()->setValue(60);
  const QPoint before = scrollPosition(run);
  run.pressText('+');  // level 2: 1 down, 5 left
  EXPECT_EQ(run.find<QWidget>("pageArea")->size(), QSize(673, 476));
  EXPECT_EQ(scrollPosition(run), before + QPoint(-50, 10));
  run.press(Qt::Key_Escape);
  ASSERT_TRUE(run.finish());
}

TEST(PreviewWindowZoom, OpeningAtLevelZeroLeavesTheStoredLevel) {
  ZoomLevelGuard keep;
  preview::setPreviewZoomLevel(5);
  FinalWindow run(1, kPortrait, 0);
  ASSERT_TRUE(run.waitForCall(1));
  EXPECT_EQ(run.window()->level(), 0);
  EXPECT_EQ(run.find<QWidget>("pageArea")->size(), QSize(305, 432));
  EXPECT_EQ(preview::previewZoomLevel(), 5);
  run.pressText('-');  // at the bound: stored all the same
  EXPECT_EQ(preview::previewZoomLevel(), 0);
  run.press(Qt::Key_Q);
  ASSERT_TRUE(run.finish());
}

TEST(PreviewWindowZoom, ScrollKeysAndTheWheelMoveByTheirSteps) {
  ZoomLevelGuard keep;
  FinalWindow run(1, kPortrait, 8);
  ASSERT_TRUE(run.waitForCall(1));
  run.find<QScrollArea>("previewArea")->horizontalScrollBar()->setValue(300);
  run.find<QScrollArea>("previewArea")->verticalScrollBar()->setValue(500);
  auto movedBy = [&](auto action) {
    const QPoint before = scrollPosition(run);
    action();
    return scrollPosition(run) - before;
  };
  EXPECT_EQ(movedBy([&] { run.press(Qt::Key_Down); }), QPoint(0, 10));
  EXPECT_EQ(movedBy([&] { run.press(Qt::Key_Up); }), QPoint(0, -10));
  EXPECT_EQ(movedBy([&] { run.press(Qt::Key_Right); }), QPoint(10, 0));
  EXPECT_EQ(movedBy([&] { run.press(Qt::Key_Left, Qt::ControlModifier); }), QPoint(-100, 0));
  EXPECT_EQ(movedBy([&] { run.press(Qt::Key_Down, Qt::ControlModifier); }), QPoint(0, 100));
  const int steps = run.find<QScrollArea>("previewArea")->height() / 10;
  EXPECT_EQ(movedBy([&] { run.press(Qt::Key_PageDown); }), QPoint(0, (steps - 5) * 10));
  EXPECT_EQ(movedBy([&] { run.press(Qt::Key_PageUp); }), QPoint(0, -(steps + 5) * 10));
  EXPECT_EQ(movedBy([&] {
    QWheelEvent wheel(QPointF(1, 1), QPointF(1, 1), {}, QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(run.find<QScrollArea>("previewArea")->viewport(), &wheel);
  }), QPoint(0, 10));
  run.press(Qt::Key_Q);
  ASSERT_TRUE(run.finish());
}

TEST(PreviewWindowPages, NavigationStopsAtBothEnds) {
  FinalWindow run(3);
  ASSERT_TRUE(run.waitForCall(1));
  EXPECT_EQ(run.window()->currentPage(), 3);
  run.pressText('.');
  EXPECT_EQ(run.find<QLabel>("pageSay")->text(), "3/3");
  run.pressText(',');
  run.pressText('<');
  EXPECT_EQ(run.find<QLabel>("pageSay")->text(), "1/3");
  run.pressText(',');
  EXPECT_EQ(run.window()->currentPage(), 1);
  run.press(Qt::Key_Period, Qt::ControlModifier);
  EXPECT_EQ(run.window()->currentPage(), 3);
  run.press(Qt::Key_Comma, Qt::ControlModifier);
  EXPECT_EQ(run.window()->currentPage(), 1);
  QTest::mouseClick(run.find<QPushButton>("nextPage"), Qt::LeftButton);
  EXPECT_TRUE(QTest::qWaitFor([&] { return run.window()->currentPage() == 2; }));
  QTest::mouseClick(run.find<QPushButton>("lastPage"), Qt::LeftButton);
  EXPECT_TRUE(QTest::qWaitFor([&] { return run.window()->currentPage() == 3; }));
  run.window()->gotoPage(7);  // outside the pages: nothing changes
  EXPECT_EQ(run.window()->currentPage(), 3);
  run.press(Qt::Key_Q);
  ASSERT_TRUE(run.finish());
}

TEST(PreviewWindowPages, GoToPagePromptByKeyByPageDisplayAndByButton) {
  ScriptedDialogs dialogs;
  FinalWindow run(4);
  ASSERT_TRUE(run.waitForCall(1));
  dialogs.pageAnswer = "2";
  run.pressText('g');
  EXPECT_EQ(run.window()->currentPage(), 2);
  dialogs.pageAnswer = "9";  // more than the pages: refused, saying why
  QTest::mouseClick(run.find<QLabel>("pageSay"), Qt::LeftButton);
  EXPECT_EQ(run.window()->currentPage(), 2);
  EXPECT_EQ(dialogs.messages,
            QStringList{"The report has 4 pages: there is no page 9. / Please enter a page from 1 to 4."});
  dialogs.pageAnswer = "4";
  QTest::mouseClick(run.find<QPushButton>("pageNumber"), Qt::LeftButton);
  EXPECT_TRUE(QTest::qWaitFor([&] { return run.window()->currentPage() == 4; }));
  EXPECT_EQ(dialogs.prompts, (QStringList{"Go To Page:", "Go To Page:", "Go To Page:"}));
  EXPECT_TRUE(run.keys()->hasFocus());
  run.press(Qt::Key_Q);
  ASSERT_TRUE(run.finish());
}

TEST(PreviewWindowPages, OnePageOffersNoPromptAndSaysWhy) {
  ScriptedDialogs dialogs;
  FinalWindow run(1);
  ASSERT_TRUE(run.waitForCall(1));
  run.pressText('G');
  QTest::mouseClick(run.find<QPushButton>("pageNumber"), Qt::LeftButton);  // N#
  EXPECT_TRUE(QTest::qWaitFor([&] { return dialogs.messages.size() == 2; }));
  EXPECT_TRUE(dialogs.prompts.isEmpty());
  EXPECT_EQ(dialogs.messages, QStringList(2, "The report has only one page: there is no other page to go to."));
  run.press(Qt::Key_Q);
  ASSERT_TRUE(run.finish());
}

TEST(PreviewWindowMarks, MarginOutlineShowsAndHides) {
  FinalWindow run(1);
  ASSERT_TRUE(run.waitForCall(1));
  auto* button = run.find<QPushButton>("margin");
  EXPECT_EQ(button->text(), "Show &Margin");
  auto blueOnLeftEdge = [&] {
    int blue = 0;
    for (double y = 0; y < run.preview->aPageSize[1]; y += 10)
      if (pagePixel(run, 0, y).blue() > 200 && pagePixel(run, 0, y).red() < 128) ++blue;
    return blue;
  };
  EXPECT_EQ(blueOnLeftEdge(), 0);
  run.pressText('m');
  EXPECT_TRUE(run.window()->marginShown());
  EXPECT_EQ(button->text(), "Hide &Margin");
  EXPECT_GT(blueOnLeftEdge(), 20);
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !run.window()->marginShown(); }));
  EXPECT_EQ(button->text(), "Show &Margin");
  EXPECT_EQ(blueOnLeftEdge(), 0);
  run.press(Qt::Key_Q);
  ASSERT_TRUE(run.finish());
}

TEST(PreviewWindowMarks, RowMarkerMovesFromRowFiveToSix) {
  FinalWindow run(1, kPortrait, 2);
  ASSERT_TRUE(run.waitForCall(1));
  const double x = 1700;  // right of the card's boxes: blank paper
  // Pink within a pixel of the row's line (the line is drawn on whole pixels).
  auto rowPixel = [&](int row) {
    const double y = run.preview->nTopMar + row * 43, pixel = run.preview->aPageSize[1] / run.find<QWidget>("pageArea")->height();
    for (double at : {y - pixel, y, y + pixel})
      if (pagePixel(run, x, at) == kPink) return kPink;
    return pagePixel(run, x, y);
  };
  run.press(Qt::Key_Up, Qt::ShiftModifier);  // already at row 0
  EXPECT_EQ(run.window()->refRow(), 0);
  for (int i = 0; i < 5; ++i) run.press(Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(run.window()->refRow(), 5);
  EXPECT_EQ(run.find<QSpinBox>("refRow")->value(), 5);
  EXPECT_EQ(rowPixel(5), kPink);
  run.press(Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(rowPixel(6), kPink);
  EXPECT_EQ(rowPixel(5), QColor(Qt::white));
  // A repaint (another page, or zoom) draws the marker again, once.
  run.pressText('+');
  EXPECT_EQ(rowPixel(6), kPink);
  EXPECT_EQ(rowPixel(5), QColor(Qt::white));

  for (int i = 0; i < 3; ++i) run.press(Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(run.window()->refColumn(), 3);
  const double column3 = 2 * run.window()->columnPitch() + run.preview->nLeftMar;
  const double pixel = run.preview->aPageSize[0] / run.find<QWidget>("pageArea")->width();
  EXPECT_TRUE(pagePixel(run, column3, 2500) == kPink ||
              pagePixel(run, column3 + pixel, 2500) == kPink ||
              pagePixel(run, column3 - pixel, 2500) == kPink);
  run.press(Qt::Key_Q);
  ASSERT_TRUE(run.finish());
}

TEST(PreviewWindowMarks, SpinButtonKeysMoveTheMarkerAndHandBackTheFocus) {
  FinalWindow run(1);
  ASSERT_TRUE(run.waitForCall(1));
  run.find<QSpinBox>("refRow")->setFocus();
  QTest::keyClick(run.find<QSpinBox>("refRow"), Qt::Key_Up);
  EXPECT_TRUE(QTest::qWaitFor([&] { return run.window()->refRow() == 1; }));
  EXPECT_TRUE(run.find<QSpinBox>("refRow")->hasFocus());
  QTest::keyClick(run.find<QSpinBox>("refRow"), Qt::Key_Escape);
  EXPECT_TRUE(run.keys()->hasFocus());
  EXPECT_EQ(run.find<QSpinBox>("refRow")->maximum(), int(std::lround(run.preview->aPageSize[1] / 43)));
  run.press(Qt::Key_Q);
  ASSERT_TRUE(run.finish());
}

TEST(PreviewWindowHelp, HelpTextHas35LinesOf52Characters) {
  const QStringList lines = preview::previewHelpText().split('\n');
  ASSERT_EQ(lines.size(), 35);
  for (const QString& line : lines) EXPECT_EQ(line.size(), 52) << line.toStdString();
  EXPECT_TRUE(lines[0].startsWith("Up/Down Arrow      Scroll up/down 10 pixels"));
  EXPECT_EQ(lines[12].indexOf("press Enter"), 19);
  EXPECT_EQ(lines[18].indexOf("TAB or SHIFT-TAB"), 21);
  EXPECT_EQ(lines[25].trimmed(), "Minimize, Restore, Close window");
  EXPECT_TRUE(lines[34].startsWith("H                  Help window"));
  EXPECT_EQ(lines[5], QString(52, ' '));
}

TEST(PreviewWindowHelp, HelpKeyOpensTheModalHelpAndEscapeClosesIt) {
  FinalWindow run(1);
  ASSERT_TRUE(run.waitForCall(1));
  run.pressText('h');
  auto* help = run.window()->findChild<QDialog*>("previewHelp");
  ASSERT_TRUE(help);
  EXPECT_EQ(help->windowTitle(), "    Print Preview Help");
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(help->windowModality(), Qt::ApplicationModal);
  EXPECT_EQ(help->findChild<QWidget*>("helpText")->property("text").toString(), preview::previewHelpText());
  QTest::keyClick(help, Qt::Key_Escape);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !run.window()->findChild<QDialog*>("previewHelp"); }));
  EXPECT_TRUE(run.keys()->hasFocus());
  run.press(Qt::Key_Q);
  ASSERT_TRUE(run.finish());
}

TEST(PreviewWindowLayout, ResizingWidensTheAreaAndMovesThePanel) {
  FinalWindow run(1);
  ASSERT_TRUE(run.waitForCall(1));
  const QRect area = run.find<QScrollArea>("previewArea")->geometry(), panel = run.find<QWidget>("previewPanel")->geometry();
  EXPECT_EQ(panel.topLeft(), QPoint(522, 0));
  run.window()->resize(run.window()->size() + QSize(100, 0));
  EXPECT_EQ(run.find<QScrollArea>("previewArea")->width(), area.width() + 100);
  EXPECT_EQ(run.find<QWidget>("previewPanel")->pos(), panel.topLeft() + QPoint(100, 0));
  run.window()->resize(run.window()->size() + QSize(0, 50));
  EXPECT_EQ(run.find<QScrollArea>("previewArea")->height(), area.height() + 50);
  EXPECT_EQ(run.find<QWidget>("previewPanel")->pos(), panel.topLeft() + QPoint(100, 0));  // stays at the top
  run.press(Qt::Key_Q);
  ASSERT_TRUE(run.finish());
}

TEST(PreviewWindowPrint, PrintKeyPrintsTheChosenPagesAndRangeMessagesGuardTheRange) {
  ScriptedDialogs dialogs;
  FinalWindow run(5);
  ASSERT_TRUE(run.waitForCall(1));
  EXPECT_EQ(run.window()->printWhat(), "all");
  run.pressText('p');
  EXPECT_EQ(pdfPages(run.dir.filePath("out.pdf")), 5);

  run.pressText('u');
  EXPECT_EQ(run.window()->printWhat(), "curr");
  run.pressText(',');
  run.pressText('P');
  EXPECT_EQ(pdfPages(run.dir.filePath("out-2.pdf")), 1);
  EXPECT_TRUE(pdfPageTexts(run.dir.filePath("out-2.pdf")).value(0).contains("Student 4"));

  run.pressText('e');
  EXPECT_EQ(run.window()->printWhat(), "range");
  EXPECT_TRUE(run.find<QLineEdit>("firstPageField")->isEnabled());
  EXPECT_TRUE(run.find<QLineEdit>("firstPageField")->hasFocus());
  auto printRange = [&](const QString& first, const QString& last) {
    run.find<QLineEdit>("firstPageField")->setText(first);
    run.find<QLineEdit>("lastPageField")->setText(last);
    run.pressText('p');
  };
  printRange("", "3");
  printRange("2", "9");
  printRange("3", "2");
  EXPECT_EQ(dialogs.messages, (QStringList{"Report has been sent to " + run.dir.filePath("out.pdf"),
                                           "Report has been sent to " + run.dir.filePath("out-2.pdf"),
                                           "One or more Range values is empty",
                                           "A page # is out of Range",
                                           "First page # must be / less than second page #"}));
  printRange("2", "3");
  const QStringList pages = pdfPageTexts(run.dir.filePath("out-3.pdf"));
  ASSERT_EQ(pages.size(), 2);
  EXPECT_TRUE(pages[0].contains("Student 2"));
  EXPECT_TRUE(pages[1].contains("Student 3"));
  EXPECT_EQ(dialogs.questions, (QStringList{"Print All Pages?", "Print Current Page?",
                                            "Print page 2 through page 3?"}));
  run.pressText('a');
  EXPECT_FALSE(run.find<QLineEdit>("firstPageField")->isEnabled());
  EXPECT_TRUE(run.keys()->hasFocus());
  run.press(Qt::Key_Q);
  ASSERT_TRUE(run.finish());
}

TEST(PreviewWindowPrint, AListOfPagesInTheFirstFieldPrintsThosePagesAndNamesTheMissing) {
  ScriptedDialogs dialogs;
  FinalWindow run(5);
  ASSERT_TRUE(run.waitForCall(1));
  run.pressText('e');
  ASSERT_TRUE(run.find<QLineEdit>("firstPageField")->hasFocus());
  QLineEdit* first = run.find<QLineEdit>("firstPageField");
  QTest::keyClicks(first, "4,1-2x,7-");  // a letter cannot be typed
  EXPECT_EQ(first->text(), "4,1-2,7-");
  // The list shows whole: the field takes the room of the last page, which a list leaves empty.
  EXPECT_FALSE(run.find<QLineEdit>("lastPageField")->isVisible());
  EXPECT_LE(first->fontMetrics().horizontalAdvance("1-3,5,57-") + 6, first->width());
  run.pressText('p');
  QStringList pages = pdfPageTexts(run.dir.filePath("out.pdf"));
  ASSERT_EQ(pages.size(), 3);
  for (int i : {0, 1, 2}) EXPECT_TRUE(pages[i].contains(QString("Student %1").arg(QList<int>{1, 2, 4}[i])));
  EXPECT_EQ(dialogs.questions, QStringList{"Print pages 1-2, 4?"});

  auto printList = [&](const QString& list) {
    run.find<QLineEdit>("firstPageField")->setText(list);
    run.pressText('p');
  };
  printList("3-");  // an open range
  pages = pdfPageTexts(run.dir.filePath("out-2.pdf"));
  ASSERT_EQ(pages.size(), 3);
  EXPECT_TRUE(pages[0].contains("Student 3"));
  printList("5");  // one page alone
  EXPECT_EQ(pdfPages(run.dir.filePath("out-3.pdf")), 1);
  printList("9-12");
  printList("5-3");
  EXPECT_FALSE(QFile::exists(run.dir.filePath("out-4.pdf")));
  EXPECT_EQ(dialogs.messages,
            (QStringList{"Report has been sent to " + run.dir.filePath("out.pdf"),
                         "The report has 5 pages; / pages 7 onwards were not printed.",
                         "Report has been sent to " + run.dir.filePath("out-2.pdf"),
                         "Report has been sent to " + run.dir.filePath("out-3.pdf"),
                         "The report has 5 pages; / pages 9-12 do not exist. Nothing was printed.",
                         "The list of pages is not right: / \"5-3\": the first page comes after the last"}));
  run.press(Qt::Key_Q);
  ASSERT_TRUE(run.finish());
}

TEST(PreviewWindowPrint, BuiltInBoxesAskOnTheGuiThread) {
  FinalWindow run(2);
  ASSERT_TRUE(run.waitForCall(1));
  QStringList seen;
  // Answers the next modal box with `button` once it is up.
  auto answer = [&](QMessageBox::StandardButton button) {
    QTimer::singleShot(0, [&seen, button] {
      if (!QTest::qWaitFor([] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); }))
        return;
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      seen << box->text();
      QTest::mouseClick(box->button(button), Qt::LeftButton);
    });
  };
  answer(QMessageBox::No);
  run.pressText('p');
  EXPECT_FALSE(QFile::exists(run.dir.filePath("out.pdf")));
  run.pressText('e');
  answer(QMessageBox::Ok);
  run.pressText('p');
  EXPECT_EQ(seen, (QStringList{"Print All Pages?", "One or more Range values is empty"}));

  // The go-to-page prompt keeps a page beyond the last one from closing it, and says why.
  bool refused = false;
  QTimer::singleShot(0, [&refused, &answer] {
    if (!QTest::qWaitFor([] { return QApplication::activeModalWidget(); })) return;
    QWidget* prompt = QApplication::activeModalWidget();
    auto* field = prompt->findChild<QLineEdit*>("promptField");
    auto* ok = prompt->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    field->setText("3");
    answer(QMessageBox::Ok);
    QTest::mouseClick(ok, Qt::LeftButton);
    refused = prompt->isVisible();
    field->setText("1");
    QTest::mouseClick(ok, Qt::LeftButton);
  });
  run.pressText('g');
  EXPECT_TRUE(refused);
  EXPECT_EQ(seen.last(), "The report has 2 pages: there is no page 3.\nPlease enter a page from 1 to 2.");
  EXPECT_EQ(run.window()->currentPage(), 1);
  run.press(Qt::Key_Q);
  ASSERT_TRUE(run.finish());
}

TEST(PreviewWindowLayout, StayOnTopFlipsWithTheKeyAndTheCheckBox) {
  FinalWindow run(1);
  ASSERT_TRUE(run.waitForCall(1));
  auto* box = run.find<QCheckBox>("stayOnTop");
  EXPECT_FALSE(box->isChecked());
  run.pressText('s');
  EXPECT_TRUE(box->isChecked());
  EXPECT_TRUE(run.window()->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(run.window()->isVisible());
  run.press(Qt::Key_S, Qt::AltModifier);
  EXPECT_FALSE(run.window()->windowFlags() & Qt::WindowStaysOnTopHint);
  run.press(Qt::Key_Q);
  ASSERT_TRUE(run.finish());
}

}  // namespace
}  // namespace velmont::print::testing
