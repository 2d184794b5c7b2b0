#pragma once
// Scoped holds of a table's locks: taken when made and given back when the scope
// ends, also when a write inside it throws, so that no path keeps another
// program waiting on a lock this one has finished with.
#include "table.h"

namespace velmont::data {

template <bool (Table::*Take)(int), void (Table::*Give)(), int kWaitMs>
class ScopedTableLock {
 public:
  explicit ScopedTableLock(Table& table, int timeoutMs = kWaitMs) : table_(table), held_((table.*Take)(timeoutMs)) {}
  ~ScopedTableLock() {
    // A pending record that fails to be written on the way out leaves the lock
    // to the table's close; the error that ended the scope is the one reported.
    try {
      release();
    } catch (...) {
    }
  }
  ScopedTableLock(const ScopedTableLock&) = delete;
  ScopedTableLock& operator=(const ScopedTableLock&) = delete;

  // False when another holder kept the lock past the wait; then nothing is held.
  bool held() const { return held_; }
  // Gives the lock back now, so that a failed write of a pending record reaches
  // the caller.
  void release() {
    if (!held_) return;
    held_ = false;
    (table_.*Give)();
  }

 private:
  Table& table_;
  bool held_;
};

// The current record's lock, for replacing its fields.
using RecordLock = ScopedTableLock<&Table::lockRecord, &Table::unlockRecord, 3000>;
// The table's append lock, held across a search and the append it decides on.
using AppendLock = ScopedTableLock<&Table::lockAppend, &Table::unlockAppend, 5000>;

}  // namespace velmont::data
