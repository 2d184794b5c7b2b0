#include "record_blocks.h"

#include <algorithm>

namespace velmont::data {
namespace {

constexpr size_t kBlockBytes = 64 * 1024;
constexpr size_t kMaxKeptBytes = 96u * 1024 * 1024;

}  // namespace

RecordBlocks::RecordBlocks(int recordLength)
    : recordLength_(recordLength), perBlock_(std::max<uint32_t>(1, uint32_t(kBlockBytes / size_t(recordLength)))) {}

const RecordBlocks::Block* RecordBlocks::find(uint32_t recno) const {
  auto it = blocks_.find(blockStart(recno));
  if (it == blocks_.end() || recno >= it->second.first + it->second.count) return nullptr;
  return &it->second;
}

const RecordBlocks::Block& RecordBlocks::store(uint32_t first, std::vector<char> bytes) {
  auto old = blocks_.find(first);
  if (old != blocks_.end()) {
    keptBytes_ -= old->second.bytes.size();
    blocks_.erase(old);
  }
  if (keptBytes_ + bytes.size() > kMaxKeptBytes) {
    blocks_.clear();
    keptBytes_ = 0;
  }
  keptBytes_ += bytes.size();
  Block& b = blocks_[first];
  b.first = first;
  b.count = uint32_t(bytes.size() / size_t(recordLength_));
  b.bytes = std::move(bytes);
  return b;
}

}  // namespace velmont::data
