#pragma once
// A report run on its own thread drawing card pages into a preview, asking the stepping
// window before every card after the first while the answer is 1, and opening the final
// window at the end, as the report runs do. The test drives the window on the GUI thread.
#include <QApplication>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <atomic>
#include <mutex>
#include <thread>

#include "preview_fixture.h"
#include "preview/preview_window.h"

namespace velmont::print::testing {

class PreviewRun {
 public:
  // `options` are those of every call; stepping is set for the stepping calls.
  // Without `step` the run draws every card and opens only the final window.
  PreviewRun(int cards, PwinOptions options = {}, int orientation = kPortrait, bool step = true)
      : options_(options), step_(step) {
    preview = preview::lmNewPreview(kPdfDeviceName);
    preview->setOutputFile(dir.filePath("out.pdf"));
    preview->setOrientation(orientation);
    if (!options_.maximize) options_.maximize = false;
    preview->create();
    worker_ = std::thread([this, cards] { run(cards); });
  }
  ~PreviewRun() {
    // A test that failed half-way leaves the run waiting: answer every window with 0.
    const bool ended = QTest::qWaitFor([&] {
      if (window() && window()->waiting()) window()->close();
      return done_.load();
    }, 10000);
    EXPECT_TRUE(ended);
    if (worker_.joinable()) done_ ? worker_.join() : worker_.detach();
    if (done_)
      preview->destroy();
    else
      preview.release();  // still used by the abandoned run
  }

  // Waits until call `n` (from 1) shows the window and waits for the user.
  bool waitForCall(int n) {
    return QTest::qWaitFor([&] {
      return returned_.load() == n - 1 && window() && window()->waiting();
    }, 10000);
  }
  // Waits for the run to end (the final window answered); true when it has.
  bool finish() {
    const bool ended = QTest::qWaitFor([&] { return done_.load(); }, 10000);
    if (worker_.joinable() && ended) worker_.join();
    return ended;
  }
  // Sends a key to the window's key receiver.
  void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(keys(), Qt::Key(key), modifiers);
  }
  void pressText(char letter) {
    QTest::keyClick(keys(), letter);
  }
  template <typename T>
  T* find(const char* name) const {
    return window() ? window()->findChild<T*>(name) : nullptr;
  }
  preview::PreviewWindow* window() const { return preview->window(); }
  // The window's hidden key receiver, where every key goes.
  QWidget* keys() const { return find<QWidget>("keyReceiver"); }

  std::vector<int> answers() {
    std::lock_guard lock(mutex_);
    return answers_;
  }
  int finalAnswer = -1;
  std::vector<int> pagesAtCall;  // pages recorded when each call opened
  QTemporaryDir dir;
  std::unique_ptr<preview::lmcPrv3> preview;

 private:
  void run(int cards) {
    preview::lmcPrv3& printer = *preview;
    int choice = 1;
    printer.startDoc();
    for (int card = 1; card <= cards; ++card) {
      if (card > 1) {
        if (step_ && choice == 1) {
          PwinOptions stepping = options_;
          stepping.stepping = true;
          pagesAtCall.push_back(printer.pageCount());
          choice = printer.openPwin(stepping);
          {
            std::lock_guard lock(mutex_);
            answers_.push_back(choice);
          }
          ++returned_;
          if (choice == 0) break;
        }
        printer.newPage();
      }
      drawCard(printer, card);
    }
    printer.endDoc();
    pagesAtCall.push_back(printer.pageCount());
    finalAnswer = printer.openPwin(options_);
    ++returned_;
    printer.destroyPwin();
    done_ = true;
  }

  PwinOptions options_;
  bool step_ = true;
  std::thread worker_;
  std::mutex mutex_;
  std::vector<int> answers_;
  std::atomic<int> returned_{0};
  std::atomic<bool> done_{false};
};

}  // namespace velmont::print::testing
