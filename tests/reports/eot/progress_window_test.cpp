// The main window's progress bar through a real run of the cards, every value
// it takes in order: it only grows, card by card, and ends full.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <functional>
#include <set>

#include "app/main_window.h"
#include "app/startup.h"
#include "data/workspace.h"
#include "gui_helpers.h"
#include "widgets/lmd_dialog.h"
#include "widgets/lmd_menu.h"
#include "reports/dialogs/eot_dialog.h"
#include "reports/dialogs/run_gui.h"
#include "school_fixture.h"
#include "temp_dir.h"

namespace velmont::testing {
namespace {

class Watcher : public QObject {
 public:
  explicit Watcher(std::function<void(QObject*, QEvent*)> f) : f_(std::move(f)) {}
  bool eventFilter(QObject* o, QEvent* e) override {
    f_(o, e);
    return false;
  }

 private:
  std::function<void(QObject*, QEvent*)> f_;
};

TEST(ProgressInTheWindow, TheBarOnlyGrowsThroughARunAndEndsFull) {
  eot::registerEotDialog();
  SchoolCopy school;
  TempDir out;
  const QString pdf = QString::fromStdString(out.file("cards.pdf"));
  reports::setPdfFileChooser([pdf](const QString&) { return pdf; });
  app::CommandLine line;
  line.dataDir = school.dir();
  line.singleInstance = false;
  auto program = std::make_unique<app::Program>(line);
  ASSERT_TRUE(program->start());
  QWidget* window = program->window()->window();
  auto* bar = window->findChild<QLabel*>("oProgMain2");
  ASSERT_NE(bar, nullptr);
  // Every value the bar takes, in order, as the window shows it.
  std::vector<double> shares;
  Watcher watcher([&](QObject* o, QEvent* e) {
    if (o == bar && e->type() == QEvent::DynamicPropertyChange) shares.push_back(bar->property("share").toDouble());
  });
  bar->installEventFilter(&watcher);
  onNextModal([&](QWidget* w) {
    auto* dialog = qobject_cast<widgets::LmdDialog*>(w);
    ASSERT_NE(dialog, nullptr);
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    QPushButton* print = nullptr;
    for (QPushButton* b : dialog->findChildren<QPushButton*>())
      if (b->text() == "F4 Print") print = b;
    ASSERT_NE(print, nullptr);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4);
    EXPECT_TRUE(QTest::qWaitFor([&] { return print->isEnabled(); }, 30000));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  });
  program->window()->menu()->item(app::kItemEndOfTerm)->trigger();
  ASSERT_GE(shares.size(), 10u);
  EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end())) << "the bar went back during the run";
  EXPECT_DOUBLE_EQ(shares.back(), 1.0);
  EXPECT_GE(std::set<double>(shares.begin(), shares.end()).size(), 10u) << "the bar grew card by card";
  reports::setPdfFileChooser({});
  program.reset();
  data::Workspace::forThisThread().closeAll();
}

}  // namespace
}  // namespace velmont::testing
