#pragma once
// What a process sets up before Qt starts, for this system. On Linux: the per-user
// folder Qt keeps its run-time files in; a session started without one named (a
// service, su, a cron job) gets a private folder of its own rather than a warning on
// every start. On Windows: Qt's regular expressions without their just-in-time
// compiler, whose per-thread stack is a C++ thread_local; the mingw runtime frees a
// thread's thread_local storage before it runs their destructors, so every report
// thread that had matched a pattern would corrupt the heap as it ended.

namespace velmont::qtcore {

// Call first in main, before any Qt object is made.
void prepareQtProcess();

}  // namespace velmont::qtcore
