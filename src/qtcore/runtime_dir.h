#pragma once
// The per-user folder that Qt keeps its run-time files in. A session started
// without one named (a service, su, a cron job) gets a private folder of its own
// before Qt starts, rather than a warning on every start.

namespace velmont::qtcore {

// Call before the Qt application object is made.
void prepareRuntimeDirectory();

}  // namespace velmont::qtcore
