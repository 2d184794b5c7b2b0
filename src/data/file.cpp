#include "file.h"

#include <chrono>
#include <thread>

namespace velmont::data {
namespace {
thread_local Env* threadOverride = nullptr;
}

Env* Env::current() { return threadOverride ? threadOverride : posixOrWin(); }

void Env::setThreadOverride(Env* env) { threadOverride = env; }

bool lockWithRetry(File& f, uint64_t offset, uint64_t length, LockKind kind, int timeoutMs) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  auto pause = std::chrono::microseconds(200);
  for (;;) {
    if (f.tryLock(offset, length, kind)) return true;
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(pause);
    if (pause < std::chrono::milliseconds(20)) pause *= 2;
  }
}

}  // namespace velmont::data
