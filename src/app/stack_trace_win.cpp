// Call stacks on Windows: return addresses of the calling thread's frames.
#include <windows.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "data/file.h"
#include "stack_trace.h"

namespace velmont::app {
namespace {

// Wide, as the file system names it: the path may hold national letters.
wchar_t gCrashLog[4096];

std::string frames(int skip) {
  void* stack[64];
  const USHORT n = CaptureStackBackTrace(DWORD(skip), 64, stack, nullptr);
  std::string out;
  char line[64];
  for (USHORT i = 0; i < n; ++i) {
    std::snprintf(line, sizeof line, "  %p\n", stack[i]);
    out += line;
  }
  return out;
}

void onCrash(int sig) {
  if (FILE* f = _wfopen(gCrashLog, L"a")) {
    std::fprintf(f, "\n*** The program ended on a fatal signal %d\nCall stack:\n%s", sig, frames(1).c_str());
    std::fclose(f);
  }
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}

}  // namespace

std::string captureStack() { return frames(1); }
std::string lastThrowStack() { return ""; }

void installCrashLog(const std::string& logPath) {
  wcsncpy_s(gCrashLog, std::size(gCrashLog), data::fsPath(logPath).c_str(), _TRUNCATE);
  for (int sig : {SIGSEGV, SIGFPE, SIGILL, SIGABRT}) std::signal(sig, onCrash);
}

}  // namespace velmont::app
