#include "run_control.h"

#include <thread>

#include "qtcore/gui_thread.h"
#include "run_report.h"

namespace velmont::reports {

void RunControl::stop() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
}

void RunControl::pause() {
  std::lock_guard lock(mutex_);
  paused_ = true;
}

void RunControl::resume() {
  {
    std::lock_guard lock(mutex_);
    paused_ = false;
  }
  changed_.notify_all();
}

bool RunControl::stopAsked() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !paused_ || stop_; });
  return stop_ || (signalFlag_ && signalFlag_->load() != 0);
}

bool RunControl::stopping() const {
  std::lock_guard lock(mutex_);
  return stop_ || (signalFlag_ && signalFlag_->load() != 0);
}

namespace {

// What the run's thread and its handle share: the outcome and whether it is there.
struct RunState {
  std::mutex mutex;
  std::condition_variable changed;
  bool done = false;
  RunOutcome outcome;

  void finish(RunOutcome result) {
    {
      std::lock_guard lock(mutex);
      outcome = std::move(result);
      done = true;
    }
    changed.notify_all();
    qtcore::wakeGui();  // a GUI thread waiting for this run looks again
  }
  bool isDone() {
    std::lock_guard lock(mutex);
    return done;
  }
};

// The handle owns the run's thread and joins it before it goes away, so no run
// thread (nor Qt's clean-up of it) outlives the dialog or the application.
class ThreadRun : public RunHandle {
 public:
  ThreadRun(std::shared_ptr<RunControl> control, std::function<RunOutcome()> work)
      : state_(std::make_shared<RunState>()), control_(std::move(control)) {
    thread_ = std::thread([state = state_, work = std::move(work)]() mutable {
      RunOutcome outcome;
      try {
        outcome = work();
      } catch (...) {
        outcome.error = QStringLiteral("The report's run failed unexpectedly.");
      }
      // The captures (the request, the run UI with its pointers to the
      // dialog's widgets) go before anyone is told that the run is over.
      work = nullptr;
      state->finish(std::move(outcome));
    });
    runId_ = thread_.get_id();
  }
  ~ThreadRun() override {
    waitDone();
    joinThread();
  }

  bool done() const override { return state_->isDone(); }
  RunOutcome wait() override {
    waitDone();
    joinThread();
    std::lock_guard lock(state_->mutex);
    return state_->outcome;
  }
  RunControl& control() override { return *control_; }

 private:
  void waitDone() {
    if (onRunThread()) return;
    if (QCoreApplication::instance() && qtcore::onGuiThread()) {
      // The run may be waiting for an answer from this thread (a message, a
      // preview window): events keep flowing until the run wakes it at its end.
      qtcore::waitOnGui([this] { return state_->isDone(); });
      return;
    }
    std::unique_lock lock(state_->mutex);
    state_->changed.wait(lock, [this] { return state_->done; });
  }
  // Once only, from whichever caller comes first. The run's thread cannot join
  // itself: should its own run drop the handle, it ends right after.
  void joinThread() {
    std::lock_guard lock(joinMutex_);
    if (!thread_.joinable()) return;
    if (onRunThread())
      thread_.detach();
    else
      thread_.join();
  }
  bool onRunThread() const { return runId_ == std::this_thread::get_id(); }

  std::shared_ptr<RunState> state_;
  std::shared_ptr<RunControl> control_;
  std::mutex joinMutex_;
  std::thread thread_;
  std::thread::id runId_;
};

std::mutex registryMutex;
std::vector<std::weak_ptr<RunHandle>> registry;

}  // namespace

std::shared_ptr<RunHandle> startOnThread(std::shared_ptr<RunControl> control, std::function<RunOutcome()> work) {
  if (!control) control = std::make_shared<RunControl>();
  auto run = std::make_shared<ThreadRun>(std::move(control), std::move(work));
  std::lock_guard lock(registryMutex);
  std::erase_if(registry, [](const std::weak_ptr<RunHandle>& r) { return r.expired(); });
  registry.push_back(run);
  return run;
}

std::shared_ptr<RunHandle> startOnThread(std::function<RunOutcome()> work) {
  return startOnThread(nullptr, std::move(work));
}

std::vector<std::shared_ptr<RunHandle>> workingRuns() {
  std::vector<std::shared_ptr<RunHandle>> runs;
  std::lock_guard lock(registryMutex);
  for (const std::weak_ptr<RunHandle>& r : registry)
    if (std::shared_ptr<RunHandle> run = r.lock(); run && !run->done()) runs.push_back(std::move(run));
  return runs;
}

}  // namespace velmont::reports
