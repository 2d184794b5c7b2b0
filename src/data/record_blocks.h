#pragma once
// The records of a table read during a report run, kept in blocks of about
// 64 KB: a file on a network drive then crosses the network once per run, in a
// few large reads instead of one small read for each record visited.
#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

namespace velmont::data {

class RecordBlocks {
 public:
  struct Block {
    uint32_t first = 0;  // number of the block's first record
    uint32_t count = 0;  // records it holds (fewer at the end of the table)
    std::vector<char> bytes;
  };

  explicit RecordBlocks(int recordLength);
  uint32_t recordsPerBlock() const { return perBlock_; }
  // The first record of the block that `recno` belongs to.
  uint32_t blockStart(uint32_t recno) const { return (recno - 1) / perBlock_ * perBlock_ + 1; }
  // The kept block holding `recno`, or null when it has not been read (or was
  // read when the table ended before `recno`).
  const Block* find(uint32_t recno) const;
  // Keeps a block just read and returns it. Past the memory limit every block
  // kept so far is let go first, so a huge table costs re-reads, not memory.
  const Block& store(uint32_t first, std::vector<char> bytes);

 private:
  int recordLength_;
  uint32_t perBlock_;
  std::map<uint32_t, Block> blocks_;  // by first record
  size_t keptBytes_ = 0;
};

}  // namespace velmont::data
