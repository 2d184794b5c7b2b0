#pragma once
// Shared pieces of the index tests: a scratch directory, key lists and walks.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "data/ntx.h"

namespace velmont::data::testing {

// A fresh directory under the system's temporary directory, removed at the end.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

using Entry = std::pair<std::string, uint32_t>;

// `value` as a zero-padded decimal of exactly `width` characters.
std::string paddedNumber(long value, int width);

// Builds an index over the given entries (keys all of `keySize` bytes).
void buildIndex(const std::string& path, const std::vector<Entry>& entries, int keySize,
                bool unique = false, const std::string& expression = "NAME");

// Every entry from first() to the end, through next().
std::vector<Entry> walkForward(NtxIndex& index);
// Every entry from last() to the start, through prev(), returned in key order.
std::vector<Entry> walkBackward(NtxIndex& index);

// The entries sorted as an index orders them: key bytes, then record number.
std::vector<Entry> sortedEntries(std::vector<Entry> entries);

// Reads or writes a whole file as bytes.
std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);

}  // namespace velmont::data::testing
