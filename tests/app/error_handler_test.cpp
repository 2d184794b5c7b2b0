// Unexpected failures: the error box, its choices, the log, and failures on a
// run's thread that must not take the program down.
#include <gtest/gtest.h>

#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "app/error_handler.h"
#include "data/error.h"
#include "data/file.h"
#include "gui_helpers.h"
#include "temp_dir.h"

namespace velmont::app {
namespace {

using testing::onNextModal;

[[gnu::noinline]] void failReadingTheStudents() { throw data::DataError("ststuden.dbf", "record 12 cannot be read"); }

QStringList buttonTexts(QWidget* box) {
  QStringList texts;
  for (QPushButton* b : box->findChildren<QPushButton*>()) texts << b->text();
  texts.sort();
  return texts;
}

TEST(ErrorHandler, RetryRunsTheWorkAgain) {
  int runs = 0;
  QString text, details;
  onNextModal([&](QWidget* box) {
    text = testing::messageText(box);
    details = static_cast<QMessageBox*>(box)->informativeText();
    testing::clickButton(box, "Retry");
  });
  EXPECT_TRUE(runGuarded("printing cards", [&] {
    if (++runs == 1) failReadingTheStudents();
  }));
  EXPECT_EQ(runs, 2);
  EXPECT_EQ(text, "record 12 cannot be read");
  EXPECT_TRUE(details.contains("printing cards"));
  EXPECT_TRUE(details.contains("ststuden.dbf"));
}

TEST(ErrorHandler, CancelGivesUpAndIgnoreIsOfferedOnlyWhereAllowed) {
  QStringList without, with;
  onNextModal([&](QWidget* box) {
    without = buttonTexts(box);
    testing::clickButton(box, "Cancel");
  });
  EXPECT_FALSE(runGuarded("x", [] { throw std::runtime_error("boom"); }));
  onNextModal([&](QWidget* box) {
    with = buttonTexts(box);
    testing::clickButton(box, "Ignore");
  });
  EXPECT_FALSE(runGuarded("x", [] { throw std::runtime_error("boom"); }, true));
  EXPECT_EQ(without, (QStringList{"Cancel", "Exit", "Retry"}));
  EXPECT_EQ(with, (QStringList{"Cancel", "Exit", "Ignore", "Retry"}));
}

TEST(ErrorHandler, FailureOnARunsThreadIsShownAndTheProgramGoesOn) {
  std::atomic<int> result{-1};
  QThread* boxThread = nullptr;
  onNextModal([&](QWidget* box) {
    boxThread = box->thread();
    testing::clickButton(box, "Cancel");
  });
  std::thread run([&] { result = runGuarded("report run", [] { failReadingTheStudents(); }) ? 1 : 0; });
  ASSERT_TRUE(QTest::qWaitFor([&] { return result.load() != -1; }, 5000));
  run.join();
  EXPECT_EQ(result.load(), 0);
  EXPECT_EQ(boxThread, qApp->thread());
}

// An event handler that fails once.
class Failing : public QObject {
 public:
  int calls = 0;
  bool event(QEvent* e) override {
    if (e->type() != QEvent::User) return QObject::event(e);
    if (++calls == 1) throw std::runtime_error("handler failed");
    return true;
  }
};

TEST(ErrorHandler, FailureInAnEventHandlerReachesTheBox) {
  Failing target;
  target.setObjectName("target");
  QString text;
  onNextModal([&](QWidget* box) {
    text = testing::messageText(box);
    testing::clickButton(box, "Retry");
  });
  QEvent event(QEvent::User);
  EXPECT_TRUE(QApplication::sendEvent(&target, &event));
  EXPECT_EQ(text, "handler failed");
  EXPECT_EQ(target.calls, 2);
}

TEST(ErrorHandler, LogListsTheAttributesAndTheStack) {
  ErrorInfo info;
  try {
    failReadingTheStudents();
  } catch (...) {
    info = describeException(std::current_exception(), "printing cards", "T_EOT_Rpt");
  }
  EXPECT_EQ(info.subsystem, "tables");
  EXPECT_EQ(info.file, "ststuden.dbf");
  EXPECT_EQ(info.thread, "GUI thread");
  EXPECT_GE(std::count(info.stack.begin(), info.stack.end(), '\n'), 3) << info.stack;

  // Beside the school, in a folder named with a national letter as a school's often is.
  testing::TempDir dir;
  const std::string school = dir.file("\xC3\x89" "cole");
  std::filesystem::create_directory(data::fsPath(school));
  installErrorHandler(school);
  const std::string path = writeErrorLog(info);
  EXPECT_EQ(data::fsPath(path), data::fsPath(school) / "velmont-error.log") << path;
  std::ifstream in(data::fsPath(path), std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  const std::string log = s.str();
  for (const char* part : {"Description: record 12 cannot be read\r\n", "Operation:   printing cards\r\n",
                           "Subsystem:   tables\r\n", "File:        ststuden.dbf\r\n", "Arguments:   T_EOT_Rpt\r\n",
                           "Thread:      GUI thread\r\n", "Codes:       1 (program), 0 (system)\r\n", "Call stack:\r\n"})
    EXPECT_NE(log.find(part), std::string::npos) << part;
  installErrorHandler(".");
}

}  // namespace
}  // namespace velmont::app
