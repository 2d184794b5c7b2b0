// A report run started on its own thread: waiting for it, or dropping its
// handle, leaves nothing of the run behind (its captures released, its thread
// ended), so no run outlives the dialog or the application that started it.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>

#include "reports/common/run_report.h"

namespace velmont::reports {
namespace {

std::atomic<bool> threadEnded{false};

// Lives in the run's thread; its end is the thread's end.
struct ThreadEndProbe {
  ~ThreadEndProbe() { threadEnded = true; }
};
thread_local ThreadEndProbe threadProbe;

// A capture of the run, like the run UI holding the dialog's widgets.
struct CaptureProbe {
  std::atomic<bool>* released;
  explicit CaptureProbe(std::atomic<bool>* r) : released(r) {}
  ~CaptureProbe() { *released = true; }
};

std::function<RunOutcome()> probedWork(std::atomic<bool>& released) {
  auto capture = std::make_shared<CaptureProbe>(&released);
  return [capture] {
    (void)&threadProbe;  // the thread's own object is made on first use
    RunOutcome o;
    o.ran = true;
    o.pages = 3;
    return o;
  };
}

TEST(RunThreadTest, WaitingOrDroppingTheHandleEndsTheThreadAndReleasesTheCaptures) {
  {
    std::atomic<bool> released{false};
    threadEnded = false;
    const std::shared_ptr<RunHandle> run = startOnThread(probedWork(released));
    const RunOutcome outcome = run->wait();
    EXPECT_TRUE(run->done());
    EXPECT_TRUE(outcome.ran);
    EXPECT_EQ(outcome.pages, 3);
    EXPECT_TRUE(released) << "the run's captures are gone when wait returns";
    EXPECT_TRUE(threadEnded) << "the run's thread has ended when wait returns";
    EXPECT_EQ(run->wait().pages, 3) << "a second wait answers the same";
  }
  {
    std::atomic<bool> released{false};
    threadEnded = false;
    startOnThread(probedWork(released)).reset();
    EXPECT_TRUE(released) << "dropping the handle waits for the run";
    EXPECT_TRUE(threadEnded);
  }
}

}  // namespace
}  // namespace velmont::reports
