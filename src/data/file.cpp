#include "file.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace velmont::data {
namespace {
thread_local Env* threadOverride = nullptr;
std::atomic<uint64_t> readCalls{0};
std::atomic<uint64_t> readBytes{0};
std::atomic<ReadObserver> readObserver{nullptr};
thread_local int keepReadsDepth = 0;
}  // namespace

KeepReadsScope::KeepReadsScope() { ++keepReadsDepth; }
KeepReadsScope::~KeepReadsScope() { --keepReadsDepth; }
bool keepReadsOnThisThread() { return keepReadsDepth > 0; }

ReadCounts readCounts() {
  return {readCalls.load(std::memory_order_relaxed), readBytes.load(std::memory_order_relaxed)};
}

void setReadObserver(ReadObserver observer) { readObserver.store(observer); }

void countRead(const File& file, size_t bytes) {
  readCalls.fetch_add(1, std::memory_order_relaxed);
  readBytes.fetch_add(bytes, std::memory_order_relaxed);
  if (ReadObserver observer = readObserver.load(std::memory_order_relaxed)) observer(file.path(), bytes);
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
