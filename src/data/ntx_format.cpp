#include "ntx_format.h"

#include <algorithm>
#include <bitset>
#include <cstring>
#include <stdexcept>

#include "error.h"

namespace velmont::data::ntx {

namespace {

constexpr uint16_t kOldSignature = 0x0003;
constexpr uint16_t kKnownBits = 0x87FF;
constexpr uint16_t kCompoundBit = 0x8000;
constexpr uint16_t kPageNumbersBit = 0x0200;

constexpr int kExpressionAt = 22;
constexpr int kUniqueAt = 278;
constexpr int kDescendingAt = 280;
constexpr int kForAt = 282;
constexpr int kTextField = 256;

// The NUL-terminated text of a fixed 256-byte header field.
std::string textField(const char* p) {
  const void* end = std::memchr(p, 0, kTextField);
  return std::string(p, end ? static_cast<const char*>(end) - p : kTextField);
}

std::string hex(unsigned v) {
  static const char digits[] = "0123456789ABCDEF";
  std::string s = "0x0000";
  for (int i = 0; i < 4; ++i) s[5 - i] = digits[(v >> (4 * i)) & 0xF];
  return s;
}

bool validPageOffset(uint64_t offset, uint64_t fileSize) {
  return offset != 0 && offset % kPageSize == 0 && offset + kPageSize <= fileSize;
}

}  // namespace

Header parseHeader(const std::string& path, const char* page, uint64_t fileSize) {
  auto fail = [&](const std::string& reason) { throw DataError(path, reason); };
  if (fileSize < kPageSize) fail("index file is truncated (shorter than its header page)");

  Header h;
  h.signature = get16(page);
  const bool modern = (h.signature & kSignature) == kSignature &&
                      (h.signature & ~kKnownBits) == 0 && (h.signature & kCompoundBit) == 0;
  if (h.signature != kOldSignature && !modern)
    fail("not an NTX index (signature " + hex(h.signature) + ")");
  if (h.signature & kPageNumbersBit)
    fail("index uses page-number pointers, which are not supported");

  h.version = get16(page + 2);
  h.root = get32(page + 4);
  h.freePage = get32(page + 8);
  const int itemSize = get16(page + 12);
  h.keySize = get16(page + 14);
  h.decimals = get16(page + 16);
  h.maxKeys = get16(page + 18);

  if (h.keySize < 1 || h.keySize > kMaxKeySize)
    fail("key size " + std::to_string(h.keySize) + " is outside 1..256");
  if (itemSize != h.keySize + 8)
    fail("item size " + std::to_string(itemSize) + " does not match key size " +
         std::to_string(h.keySize));
  if (h.maxKeys < 2 || 2 + (h.maxKeys + 1) * (h.keySize + 10) > static_cast<int>(kPageSize))
    fail("key size " + std::to_string(h.keySize) + " with " + std::to_string(h.maxKeys) +
         " keys per page does not fit a page");

  if (static_cast<unsigned char>(page[kExpressionAt]) < 0x20)
    fail("index has no key expression");
  h.keyExpression = textField(page + kExpressionAt);
  if ((h.signature & kForConditionBit) && h.signature != kOldSignature &&
      static_cast<unsigned char>(page[kForAt]) >= 0x20)
    h.forCondition = textField(page + kForAt);
  h.unique = page[kUniqueAt] != 0;
  h.descending = page[kDescendingAt] != 0;
  if (std::any_of(page + kStampAt, page + kStampAt + kStampSize, [](char c) { return c != 0; }))
    h.tableStamp.assign(page + kStampAt, kStampSize);

  if (!validPageOffset(h.root, fileSize))
    fail("root page offset " + std::to_string(h.root) + " is not a page inside the file");
  return h;
}

void encodeHeader(const Header& h, char* page) {
  std::memset(page, 0, kPageSize);
  put16(page, h.signature);
  put16(page + 2, h.version);
  put32(page + 4, h.root);
  put32(page + 8, h.freePage);
  put16(page + 12, static_cast<uint16_t>(h.itemSize()));
  put16(page + 14, static_cast<uint16_t>(h.keySize));
  put16(page + 16, static_cast<uint16_t>(h.decimals));
  put16(page + 18, static_cast<uint16_t>(h.maxKeys));
  put16(page + 20, static_cast<uint16_t>(h.maxKeys / 2));
  std::memcpy(page + kExpressionAt, h.keyExpression.data(),
              std::min<size_t>(h.keyExpression.size(), kMaxExpressionLength));
  page[kUniqueAt] = h.unique ? 1 : 0;
  page[kDescendingAt] = h.descending ? 1 : 0;
  std::memcpy(page + kForAt, h.forCondition.data(),
              std::min<size_t>(h.forCondition.size(), kMaxExpressionLength));
  std::memcpy(page + kStampAt, h.tableStamp.data(), std::min(h.tableStamp.size(), kStampSize));
}

int maxKeysFor(int keySize) {
  int m = static_cast<int>(kPageSize - 2) / (keySize + 10) - 1;
  if (m % 2 == 1 && m > 2) --m;
  return m;
}

void Page::load(const std::string& path, uint32_t offset, const char* raw, const Header& h,
                uint64_t fileSize) {
  auto fail = [&](const std::string& reason) {
    throw DataError(path, "index page at offset " + std::to_string(offset) + ": " + reason);
  };
  const int count = get16(raw);
  if (count > h.maxKeys)
    fail("holds " + std::to_string(count) + " keys, more than the maximum " +
         std::to_string(h.maxKeys));

  // Entries 0..count are read; the ones after are only used by writers that insert
  // in place, and this engine's writers lay pages out afresh.
  std::bitset<kMaxSlots> used;
  const int first = h.firstSlot(), size = h.itemSize();
  for (int i = 0; i <= count; ++i) {
    const int at = get16(raw + 2 + 2 * i);
    const int slot = (at - first) / size;
    if (at < first || (at - first) % size != 0 || slot > h.maxKeys)
      fail("item " + std::to_string(i) + " has an invalid slot offset " + std::to_string(at));
    if (used[slot]) fail("two items share slot offset " + std::to_string(at));
    used[slot] = true;
    slot_[i] = static_cast<uint16_t>(at);
  }
  std::memcpy(data_, raw, kPageSize);
  offset_ = offset;
  count_ = count;
  leaf_ = child(0) == 0;
  for (int i = 0; i < count; ++i) prefix_[i] = keyPrefix(key(i), h.keySize);
  for (int i = 0; i <= count; ++i) {
    const uint32_t c = child(i);
    if ((c == 0) != leaf_) fail("mixes leaf and branch items");
    if (c != 0 && !validPageOffset(c, fileSize))
      fail("child page offset " + std::to_string(c) + " is not a page inside the file");
  }
}

PageBuilder::PageBuilder(int keySize, int maxKeys)
    : keySize_(keySize),
      maxKeys_(maxKeys),
      itemSize_(keySize + 8),
      firstSlot_(2 * (maxKeys + 2)) {
  clear();
}

void PageBuilder::clear() {
  std::memset(page_, 0, kPageSize);
  for (int j = 0; j <= maxKeys_; ++j)
    put16(page_ + 2 + 2 * j, static_cast<uint16_t>(firstSlot_ + j * itemSize_));
  count_ = 0;
}

void PageBuilder::add(uint32_t child, uint32_t recno, const char* key) {
  if (count_ >= maxKeys_) throw std::logic_error("NTX page builder: page is full");
  char* item = slot(count_);
  put32(item, child);
  put32(item + 4, recno);
  std::memcpy(item + 8, key, keySize_);
  ++count_;
  put16(page_, static_cast<uint16_t>(count_));
}

void PageBuilder::setLastChild(uint32_t child) { put32(slot(count_), child); }

}  // namespace velmont::data::ntx
