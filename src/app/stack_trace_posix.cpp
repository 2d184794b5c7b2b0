// Call stacks on Linux and other systems with glibc's backtrace(); the stack
// of each throw is recorded by wrapping the C++ runtime's throw entry point.
#include <cxxabi.h>
#include <dlfcn.h>
#include <execinfo.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "stack_trace.h"

namespace velmont::app {
namespace {

constexpr int kMaxFrames = 64;

struct RawStack {
  void* frames[kMaxFrames];
  int count = 0;
};
thread_local RawStack tThrowStack;

std::string symbolize(void* const* frames, int count, int skip) {
  std::string out;
  char** symbols = backtrace_symbols(frames, count);
  if (!symbols) return out;
  for (int i = skip; i < count; ++i) {
    std::string line = symbols[i];
    // "binary(mangled+0x12) [0x...]": demangle the name inside the brackets.
    const size_t open = line.find('('), plus = line.find('+', open == std::string::npos ? 0 : open);
    if (open != std::string::npos && plus != std::string::npos && plus > open + 1) {
      const std::string mangled = line.substr(open + 1, plus - open - 1);
      int status = 0;
      char* name = abi::__cxa_demangle(mangled.c_str(), nullptr, nullptr, &status);
      if (status == 0 && name) line = line.substr(0, open + 1) + name + line.substr(plus);
      std::free(name);
    }
    out += "  " + line + "\n";
  }
  std::free(symbols);
  return out;
}

char gCrashLog[4096];

void onCrash(int sig) {
  const int fd = ::open(gCrashLog, O_WRONLY | O_CREAT | O_APPEND, 0644);
  if (fd >= 0) {
    const char* head = "\n*** The program ended on a fatal signal: ";
    (void)!::write(fd, head, std::strlen(head));
    const char* name = strsignal(sig);
    (void)!::write(fd, name, std::strlen(name));
    (void)!::write(fd, "\nCall stack:\n", 13);
    void* frames[kMaxFrames];
    const int n = backtrace(frames, kMaxFrames);
    backtrace_symbols_fd(frames, n, fd);
    ::close(fd);
  }
  signal(sig, SIG_DFL);
  raise(sig);
}

}  // namespace

std::string captureStack() {
  void* frames[kMaxFrames];
  const int n = backtrace(frames, kMaxFrames);
  return symbolize(frames, n, 1);
}

std::string lastThrowStack() { return symbolize(tThrowStack.frames, tThrowStack.count, 1); }

void installCrashLog(const std::string& logPath) {
  std::strncpy(gCrashLog, logPath.c_str(), sizeof gCrashLog - 1);
  // backtrace() loads its helper library on first use: do that now, not in a crash.
  void* warm[2];
  backtrace(warm, 2);
  for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) signal(sig, onCrash);
}

}  // namespace velmont::app

// Every throw passes here first: the thread's stack is kept for the error log,
// then the runtime's own entry point throws as usual.
extern "C" void __cxa_throw(void* exception, std::type_info* type, void (*destructor)(void*)) {
  using Throw = void (*)(void*, std::type_info*, void (*)(void*));
  static Throw real = reinterpret_cast<Throw>(dlsym(RTLD_NEXT, "__cxa_throw"));
  velmont::app::tThrowStack.count = backtrace(velmont::app::tThrowStack.frames, velmont::app::kMaxFrames);
  real(exception, type, destructor);
  __builtin_unreachable();
}
