#pragma once
// Call stacks for the error log.
#include <string>

namespace velmont::app {

// The calling thread's stack now, one frame a line.
std::string captureStack();
// The stack where the calling thread last threw an exception, or "" when the
// platform does not record it.
std::string lastThrowStack();
// Makes fatal signals (a crash) write `logPath` with the stack before the
// program ends.
void installCrashLog(const std::string& logPath);

}  // namespace velmont::app
