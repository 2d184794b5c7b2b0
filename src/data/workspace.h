#pragma once
// The work areas of one thread: numbered slots that each hold an open table
// under an alias, one of them current. Each thread has its own; nothing is
// shared between threads.
#include <memory>
#include <string>
#include <vector>

#include "table.h"

namespace velmont::data {

class Workspace {
 public:
  // The calling thread's work areas.
  static Workspace& forThisThread();

  Workspace() = default;
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;
  ~Workspace() { closeAll(); }

  // Opens a table shared in the lowest free area under `alias` and selects it;
  // when the alias is already open, selects that area and leaves it unchanged.
  Table& open(const std::string& path, const std::string& alias, OpenMode mode = OpenMode::kRead);
  bool isOpen(const std::string& alias) const { return areaOf(alias) != 0; }
  // Selects an area by alias or number; false (selection unchanged) when none.
  bool select(const std::string& alias);
  bool select(int area);
  int currentArea() const { return current_; }
  // The current area's table, or null when that area is empty.
  Table* current() const;
  // The table open under `alias`, or null.
  Table* find(const std::string& alias) const;
  // Number of the area holding `alias`, 0 when it is not open.
  int areaOf(const std::string& alias) const;
  void closeCurrent();
  void close(const std::string& alias);
  void closeAll();
  // Writes pending records of every open table and flushes them.
  void commitAll();

 private:
  std::vector<std::unique_ptr<Table>> areas_;  // area n is areas_[n - 1]
  int current_ = 1;
};

}  // namespace velmont::data
