#include "file.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "error.h"

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

std::string nonRegularKind(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::file_status st = fs::status(path, ec);
  switch (st.type()) {
    case fs::file_type::regular:
    case fs::file_type::not_found:
    case fs::file_type::none: return {};
    case fs::file_type::directory: return "a directory";
    case fs::file_type::fifo: return "a named pipe (FIFO)";
    case fs::file_type::character:
    case fs::file_type::block: return "a device";
    case fs::file_type::socket: return "a socket";
    default: return ec ? std::string() : "not a regular file";
  }
}

std::string readSideFile(const std::string& path, size_t limit) {
  if (const std::string kind = nonRegularKind(path); !kind.empty())
    throw DataError(path, "is " + kind + ", not a file: it is not read");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw DataError(path, "cannot be read");
  std::string bytes(limit, '\0');
  in.read(bytes.data(), std::streamsize(limit));
  bytes.resize(size_t(in.gcount()));
  return bytes;
}

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
