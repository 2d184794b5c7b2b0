#pragma once
// The answer of one call of the preview window, handed from the GUI thread to the
// caller waiting for it: 0 stop or finished, 1 go on and ask again before the next
// page, 2 run on to the end.
#include <condition_variable>
#include <functional>
#include <mutex>

namespace velmont::preview {

class PreviewAnswer {
 public:
  void set(int value) {
    std::function<void()> done;
    {
      std::lock_guard lock(mutex_);
      value_ = value;
      done_ = true;
      done = onDone;
    }
    ready_.notify_all();
    if (done) done();
  }
  // Waits for the answer and returns it.
  int wait() {
    std::unique_lock lock(mutex_);
    ready_.wait(lock, [this] { return done_; });
    return value_;
  }
  bool done() {
    std::lock_guard lock(mutex_);
    return done_;
  }
  int value() {
    std::lock_guard lock(mutex_);
    return value_;
  }
  std::function<void()> onDone;  // a caller on the GUI thread quits its loop here

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  bool done_ = false;
  int value_ = 0;
};

}  // namespace velmont::preview
