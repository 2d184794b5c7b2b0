#include "file.h"

#include <atomic>
#include <chrono>
#include <filesystem>
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

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = char(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = char(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

std::string pathIn(const std::string& dir, const std::string& name) {
  return dir.empty() ? name : pathText(fsPath(dir) / fsPath(name));
}

std::string directoryOf(const std::string& path) { return pathText(fsPath(path).parent_path()); }

std::string fileNameOf(const std::string& path) { return pathText(fsPath(path).filename()); }

std::string findFile(const std::string& path) { return Env::current()->find(directoryOf(path), fileNameOf(path)); }

std::string nonRegularKind(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::file_status st = fs::status(fsPath(path), ec);
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
  const std::unique_ptr<File> file = Env::current()->open(path, OpenMode::kRead);
  std::string bytes(limit, '\0');
  size_t got = 0;
  while (got < limit) {
    const size_t n = file->readAt(got, bytes.data() + got, limit - got);
    if (n == 0) break;
    got += n;
  }
  bytes.resize(got);
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
