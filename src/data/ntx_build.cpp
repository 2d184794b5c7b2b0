// Writing a complete index from unsorted (key, record) pairs in one pass.
#include <algorithm>
#include <cstring>
#include <random>

#include "error.h"
#include "ntx.h"

namespace velmont::data {

using ntx::kPageSize;

namespace {

// Sorting moves 16-byte entries that carry the first distinguishing key bytes,
// so most comparisons never touch the key buffer.
struct SortEntry {
  uint64_t prefix;
  uint32_t recno;
  uint32_t index;
};

class KeySorter {
 public:
  KeySorter(const char* keys, int keySize, size_t count) : keys_(keys), keySize_(keySize) {
    // Bytes shared by every key decide nothing; the prefix starts after them.
    size_t common = count > 0 ? keySize : 0;
    for (size_t i = 1; i < count && common > 0; ++i) {
      const char* a = keys;
      const char* b = keys + i * keySize;
      size_t j = 0;
      while (j < common && a[j] == b[j]) ++j;
      common = j;
    }
    prefixAt_ = common;
    tailAt_ = std::min<size_t>(common + 8, keySize);
    tailLength_ = keySize - tailAt_;
  }

  uint64_t prefix(size_t index) const {
    const auto* k = reinterpret_cast<const unsigned char*>(keys_ + index * keySize_);
    uint64_t v = 0;
    for (size_t j = prefixAt_; j < prefixAt_ + 8; ++j) v = (v << 8) | (j < tailAt_ ? k[j] : 0);
    return v;
  }

  bool operator()(const SortEntry& a, const SortEntry& b) const {
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    if (tailLength_ > 0) {
      const int c = std::memcmp(keys_ + a.index * keySize_ + tailAt_,
                                keys_ + b.index * keySize_ + tailAt_, tailLength_);
      if (c != 0) return c < 0;
    }
    if (a.recno != b.recno) return a.recno < b.recno;
    return a.index < b.index;
  }

 private:
  const char* keys_;
  size_t keySize_;
  size_t prefixAt_ = 0;
  size_t tailAt_ = 0;
  size_t tailLength_ = 0;
};

// Writes the tree bottom-up by even splits: children before parents, pages at
// consecutive offsets from the first page after the header, the root last.
class TreeWriter {
 public:
  TreeWriter(File& out, const char* keys, const std::vector<SortEntry>& entries, int keySize,
             int maxKeys)
      : out_(out), keys_(keys), entries_(entries), keySize_(keySize), maxKeys_(maxKeys),
        page_(keySize, maxKeys) {}

  uint32_t writeAll() {
    const size_t n = entries_.size();
    uint32_t root;
    if (n == 0) {
      page_.clear();
      root = emit();
    } else {
      int height = 1;
      while (capacity(height) < n) ++height;
      root = build(0, n, height);
    }
    flush();
    return root;
  }

 private:
  // Keys a subtree of this height holds when full: (M + 1)^height - 1, saturating.
  uint64_t capacity(int height) const { return subtreeSpan(height) - 1; }
  uint64_t subtreeSpan(int height) const {
    uint64_t span = 1;
    for (int h = 0; h < height && span <= entries_.size(); ++h) span *= maxKeys_ + 1;
    return span;
  }

  const char* key(size_t i) const { return keys_ + entries_[i].index * size_t(keySize_); }

  uint32_t build(size_t begin, size_t count, int height) {
    if (height == 1) {
      page_.clear();
      for (size_t i = begin; i < begin + count; ++i) page_.add(0, entries_[i].recno, key(i));
      return emit();
    }
    const uint64_t span = subtreeSpan(height - 1);
    const size_t children = static_cast<size_t>((count + 1 + span - 1) / span);
    const size_t inRuns = count - (children - 1);
    const size_t base = inRuns / children, longer = inRuns % children;
    std::vector<uint32_t> kids(children);
    std::vector<size_t> separators(children - 1);
    size_t at = begin;
    for (size_t j = 0; j < children; ++j) {
      const size_t run = base + (j < longer ? 1 : 0);
      kids[j] = build(at, run, height - 1);
      at += run;
      if (j + 1 < children) separators[j] = at++;
    }
    page_.clear();
    for (size_t j = 0; j + 1 < children; ++j)
      page_.add(kids[j], entries_[separators[j]].recno, key(separators[j]));
    page_.setLastChild(kids.back());
    return emit();
  }

  uint32_t emit() {
    if (next_ + kPageSize > ntx::kLockOffset)
      throw DataError(out_.path(), "index file would grow into the lock region");
    buffer_.insert(buffer_.end(), page_.bytes(), page_.bytes() + kPageSize);
    const auto at = static_cast<uint32_t>(next_);
    next_ += kPageSize;
    if (buffer_.size() >= (1u << 20)) flush();
    return at;
  }

  void flush() {
    if (buffer_.empty()) return;
    out_.writeAt(bufferAt_, buffer_.data(), buffer_.size());
    bufferAt_ += buffer_.size();
    buffer_.clear();
  }

  File& out_;
  const char* keys_;
  const std::vector<SortEntry>& entries_;
  int keySize_;
  int maxKeys_;
  ntx::PageBuilder page_;
  std::vector<char> buffer_;
  uint64_t bufferAt_ = kPageSize;
  uint64_t next_ = kPageSize;
};

void checkDefinition(const std::string& path, const NtxDefinition& d) {
  auto fail = [&](const std::string& reason) { throw DataError(path, reason); };
  if (d.keySize < 1 || d.keySize > ntx::kMaxKeySize)
    fail("key size " + std::to_string(d.keySize) + " is outside 1..256");
  if (d.keyDecimals < 0 || d.keyDecimals >= d.keySize)
    fail("key decimals " + std::to_string(d.keyDecimals) + " do not fit the key size");
  if (d.keyExpression.empty() || static_cast<unsigned char>(d.keyExpression[0]) < 0x20)
    fail("index has no key expression");
  if (d.keyExpression.size() > ntx::kMaxExpressionLength)
    fail("key expression is longer than 255 characters");
  if (d.forCondition.size() > ntx::kMaxExpressionLength)
    fail("FOR condition is longer than 255 characters");
  if (!d.forCondition.empty() && static_cast<unsigned char>(d.forCondition[0]) < 0x20)
    fail("FOR condition starts with a control character");
}

std::string temporaryName(const std::string& path) {
  static const char digits[] = "0123456789abcdef";
  std::random_device random;
  for (int attempt = 0; attempt < 16; ++attempt) {
    uint32_t r = random();
    std::string name = path + ".";
    for (int i = 0; i < 8; ++i, r >>= 4) name += digits[r & 0xF];
    name += ".tmp";
    if (!Env::current()->exists(name)) return name;
  }
  throw DataError(path, "cannot find a free temporary name beside the index");
}

// Upper-cases the expression's names; text between quotes or brackets is data.
std::string upperCaseOutsideStrings(std::string text) {
  char closing = 0;
  for (char& c : text) {
    if (closing) {
      if (c == closing) closing = 0;
    } else if (c == '"' || c == '\'') {
      closing = c;
    } else if (c == '[') {
      closing = ']';
    } else if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 'a' + 'A');
    }
  }
  return text;
}

void discard(const std::string& temporary, std::unique_ptr<File> file) {
  file.reset();
  try {
    if (Env::current()->exists(temporary)) Env::current()->remove(temporary);
  } catch (...) {
    // The original error matters more than a leftover temporary file.
  }
}

}  // namespace

void NtxIndex::build(const std::string& path, const NtxDefinition& definition,
                     const char* keys, const uint32_t* recnos, size_t count) {
  checkDefinition(path, definition);
  const int keySize = definition.keySize;
  for (size_t i = 0; i < count; ++i)
    if (recnos[i] == 0) throw DataError(path, "record number 0 cannot be indexed");

  KeySorter sorter(keys, keySize, count);
  std::vector<SortEntry> entries(count);
  for (size_t i = 0; i < count; ++i)
    entries[i] = {sorter.prefix(i), recnos[i], static_cast<uint32_t>(i)};
  std::sort(entries.begin(), entries.end(), sorter);
  if (definition.unique) {
    auto sameKey = [&](const SortEntry& a, const SortEntry& b) {
      return a.prefix == b.prefix &&
             std::memcmp(keys + a.index * size_t(keySize), keys + b.index * size_t(keySize),
                         keySize) == 0;
    };
    entries.erase(std::unique(entries.begin(), entries.end(), sameKey), entries.end());
  }

  ntx::Header header;
  header.signature = definition.forCondition.empty()
                         ? ntx::kSignature
                         : ntx::kSignature | ntx::kForConditionBit;
  header.keySize = keySize;
  header.decimals = definition.keyDecimals;
  header.maxKeys = ntx::maxKeysFor(keySize);
  header.keyExpression = upperCaseOutsideStrings(definition.keyExpression);
  header.forCondition = definition.forCondition;
  header.unique = definition.unique;
  header.tableStamp = definition.tableStamp.substr(0, ntx::kStampSize);

  Env* env = Env::current();
  const std::string temporary = temporaryName(path);
  std::unique_ptr<File> out;
  try {
    out = env->create(temporary);
    header.root = TreeWriter(*out, keys, entries, keySize, header.maxKeys).writeAll();
    char page[kPageSize];
    ntx::encodeHeader(header, page);
    out->writeAt(0, page, kPageSize);
    out->sync();
    out.reset();
    if (NtxIndex(temporary).verify() != entries.size())
      throw DataError(path, "new index failed its check: entry count differs");
    env->rename(temporary, path);
  } catch (const DataError& e) {
    discard(temporary, std::move(out));
    throw DataError(path, e.reason());  // the index asked for, not the temporary file
  } catch (...) {
    discard(temporary, std::move(out));
    throw;
  }
}

}  // namespace velmont::data
