#pragma once
// Stopping a run, and the threads runs work on.
//
// A RunControl is shared by a run and whoever may stop it: the options dialog
// (ESC during a printed run), the main window when the program is left, and
// velmont-batch's signal handler. The run looks at it between two cards or
// students, so a stop always ends the run after the current one.
//
// A run started on a thread of its own is owned by its RunHandle: the handle
// joins the thread, and the runs still working can be listed, stopped and
// waited for before the program ends.
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace velmont::reports {

struct RunOutcome;

class RunControl {
 public:
  RunControl() = default;
  // `signalFlag`, when given, is set (non-zero) by a signal handler to stop the
  // run; it must outlive the control. A handler may only set a lock-free atomic.
  explicit RunControl(const std::atomic<int>* signalFlag) : signalFlag_(signalFlag) {}
  RunControl(const RunControl&) = delete;
  RunControl& operator=(const RunControl&) = delete;

  // Ends the run after its current card or student.
  void stop();
  // Holds the run at its next card or student until resume() or stop(): the
  // user is being asked whether to stop, and the answer counts from the moment
  // the question was asked.
  void pause();
  void resume();

  // For the run, between cards or students: true when it must stop now. Waits
  // while the run is held.
  bool stopAsked();
  // True once a stop was asked (does not wait).
  bool stopping() const;

 private:
  const std::atomic<int>* signalFlag_ = nullptr;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool stop_ = false;
  bool paused_ = false;
};

// A run started on a thread of its own. The handle owns the thread: wait() and
// the handle's end both wait for the run and join its thread, so nothing of the
// run is left running once the last handle is gone.
class RunHandle {
 public:
  virtual ~RunHandle() = default;
  virtual bool done() const = 0;
  // Waits for the end of the run and of its thread; the GUI thread keeps
  // handling events meanwhile (the run's windows and questions are answered
  // there), without polling.
  virtual RunOutcome wait() = 0;
  // Stops, holds and releases the run (see RunControl).
  virtual RunControl& control() = 0;
};

// Runs `work` on a new thread and returns at once; `control` is the one the
// work's run looks at (the handle's control()).
std::shared_ptr<RunHandle> startOnThread(std::shared_ptr<RunControl> control, std::function<RunOutcome()> work);
std::shared_ptr<RunHandle> startOnThread(std::function<RunOutcome()> work);

// The runs started on threads of their own that have not ended yet, oldest first.
std::vector<std::shared_ptr<RunHandle>> workingRuns();

}  // namespace velmont::reports
