#pragma once
// The on-disk layout of an NTX index: a 1024-byte header page followed by 1024-byte
// tree pages that refer to each other by byte offset. All integers are little-endian.
#include <cstdint>
#include <string>

namespace velmont::data::ntx {

constexpr uint32_t kPageSize = 1024;
// Byte of the .ntx locked (shared to read, exclusive to write) around every operation.
constexpr uint64_t kLockOffset = 1000000000;
constexpr int kMaxKeySize = 256;
constexpr int kMaxExpressionLength = 255;
// The largest M + 1 any valid header can ask for: 2 + (M + 1) * (1 + 10) <= 1024.
constexpr int kMaxSlots = (kPageSize - 2) / 11;
// Bytes 0..23 of the header hold everything that changes or shapes the pages.
constexpr size_t kHeaderPrefix = 24;
// The last bytes of the header page, which other engines leave zero, hold what an
// index built here knew of its table (see Header::tableStamp).
constexpr size_t kStampAt = 1008;
constexpr size_t kStampSize = 16;

constexpr uint16_t kSignature = 0x0006;
constexpr uint16_t kForConditionBit = 0x0001;
constexpr uint16_t kExtendedLockingBit = 0x0010;

inline uint16_t get16(const char* p) {
  const auto* u = reinterpret_cast<const unsigned char*>(p);
  return static_cast<uint16_t>(u[0] | (u[1] << 8));
}
inline uint32_t get32(const char* p) {
  const auto* u = reinterpret_cast<const unsigned char*>(p);
  return u[0] | (u[1] << 8) | (u[2] << 16) | (static_cast<uint32_t>(u[3]) << 24);
}
inline void put16(char* p, uint16_t v) {
  p[0] = static_cast<char>(v & 0xFF);
  p[1] = static_cast<char>(v >> 8);
}
inline void put32(char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

struct Header {
  uint16_t signature = kSignature;
  uint16_t version = 1;
  uint32_t root = 0;
  uint32_t freePage = 0;
  int keySize = 0;
  int decimals = 0;
  int maxKeys = 0;
  std::string keyExpression;
  std::string forCondition;
  bool unique = false;
  bool descending = false;
  // The table as the index was built over it (DbfFile::stamp()); empty when the
  // bytes are zero, as in files other engines wrote.
  std::string tableStamp;

  int itemSize() const { return keySize + 8; }
  int firstSlot() const { return 2 * (maxKeys + 2); }
};

// Decodes and checks a header page (kPageSize bytes) of a file of `fileSize` bytes;
// throws DataError naming `path` when the header is not a usable NTX header.
Header parseHeader(const std::string& path, const char* page, uint64_t fileSize);

// Writes a complete header page; bytes not described by `h` are zero.
void encodeHeader(const Header& h, char* page);

// The keys per page that engines choose for a new index with this key size.
int maxKeysFor(int keySize);

// One tree page, copied from the file and checked so that every accessor is safe
// for 0 <= i <= count(): offsets name distinct slots, children lie inside the file.
class Page {
 public:
  // Throws DataError naming `path` when the bytes are not a valid page for `h`.
  void load(const std::string& path, uint32_t offset, const char* raw, const Header& h,
            uint64_t fileSize);

  uint32_t offset() const { return offset_; }
  int count() const { return count_; }
  bool isLeaf() const { return leaf_; }
  uint32_t child(int i) const { return get32(item(i)); }
  uint32_t recno(int i) const { return get32(item(i) + 4); }
  const char* key(int i) const { return item(i) + 8; }
  // The first 8 key bytes as a big-endian number (zero-padded for shorter keys),
  // so that searches mostly compare integers.
  uint64_t prefix(int i) const { return prefix_[i]; }

 private:
  const char* item(int i) const { return data_ + slot_[i]; }

  uint32_t offset_ = 0;
  int count_ = 0;
  bool leaf_ = true;
  uint16_t slot_[kMaxSlots];
  uint64_t prefix_[kMaxSlots];
  char data_[kPageSize];
};

// The first min(length, 8) bytes of a key or search value as a big-endian number.
inline uint64_t keyPrefix(const char* key, size_t length) {
  const auto* u = reinterpret_cast<const unsigned char*>(key);
  uint64_t v = 0;
  for (size_t j = 0; j < 8; ++j) v = (v << 8) | (j < length ? u[j] : 0);
  return v;
}

// Lays out a page as a fresh build does: offset table in physical slot order,
// item i in slot i, all M + 1 table entries filled.
class PageBuilder {
 public:
  PageBuilder(int keySize, int maxKeys);
  void clear();
  int count() const { return count_; }
  // Appends a key with the child page before it (0 in leaves).
  void add(uint32_t child, uint32_t recno, const char* key);
  // Sets the child after the last key (0 in leaves).
  void setLastChild(uint32_t child);
  const char* bytes() const { return page_; }

 private:
  char* slot(int i) { return page_ + firstSlot_ + i * itemSize_; }

  int keySize_;
  int maxKeys_;
  int itemSize_;
  int firstSlot_;
  int count_ = 0;
  char page_[kPageSize];
};

}  // namespace velmont::data::ntx
