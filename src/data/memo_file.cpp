#include "memo_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "error.h"

namespace velmont::data {
namespace {

constexpr uint64_t kBlockSize = 512;
// The longest memo a report reads. A teacher's note on a card runs to a few
// thousand characters at most; a megabyte would fill some two hundred pages of
// the comment box, so anything longer is a fault, not a note.
constexpr size_t kMaxMemoBytes = 1024 * 1024;
constexpr int kMemoLockTimeoutMs = 5000;
constexpr uint64_t kChunkBytes = 64 * 1024;
constexpr size_t kMaxKeptBytes = 32u * 1024 * 1024;

}  // namespace

std::unique_ptr<MemoFile> MemoFile::open(const std::string& path, OpenMode mode) {
  auto file = Env::current()->open(path, mode);
  if (file->size() < 4) throw DataError(path, "the memo file is too short for its header");
  std::unique_ptr<MemoFile> memo(new MemoFile(std::move(file)));
  memo->keepReads_ = mode == OpenMode::kRead && keepReadsOnThisThread();
  return memo;
}

std::string MemoFile::read(uint32_t block) {
  if (block == 0) return {};
  const uint64_t size = file_->size();
  uint64_t at = kBlockSize * block;
  if (at >= size)
    throw DataError(path(), "memo block " + std::to_string(block) + " lies past the end of the file");
  std::string text;
  char buf[4096];
  while (at < size) {
    const size_t got = keepReads_ ? readKept(at, buf, sizeof buf, size) : file_->readAt(at, buf, sizeof buf);
    if (got == 0) break;
    for (size_t i = 0; i < got; ++i)
      if (buf[i] == 0x1A) return text.append(buf, i);
    text.append(buf, got);
    at += got;
    if (text.size() > kMaxMemoBytes) tooLarge(block, at, size);
  }
  // Every writer ends a memo with 0x1A: text running into the end of the file
  // means the file was cut short.
  throw DataError(path(), "memo at block " + std::to_string(block) + " is cut short (no end mark)");
}

size_t MemoFile::readKept(uint64_t at, char* buf, size_t n, uint64_t size) {
  const uint64_t number = at / kChunkBytes, start = number * kChunkBytes;
  auto it = kept_.find(number);
  if (it == kept_.end() || (it->second.size() < kChunkBytes && start + it->second.size() < size)) {
    if (it != kept_.end()) {
      keptBytes_ -= it->second.size();
      kept_.erase(it);
    }
    if (keptBytes_ > kMaxKeptBytes) {
      kept_.clear();
      keptBytes_ = 0;
    }
    std::string chunk(kChunkBytes, '\0');
    chunk.resize(file_->readAt(start, chunk.data(), chunk.size()));
    keptBytes_ += chunk.size();
    it = kept_.emplace(number, std::move(chunk)).first;
  }
  const std::string& chunk = it->second;
  const size_t from = size_t(at - start);
  if (from >= chunk.size()) return 0;
  const size_t got = std::min(n, chunk.size() - from);
  std::memcpy(buf, chunk.data() + from, got);
  return got;
}

void MemoFile::tooLarge(uint32_t block, uint64_t at, uint64_t size) {
  // Look on for the end mark, keeping nothing, to tell a long memo from one that
  // runs into the end of the file.
  char buf[4096];
  while (at < size) {
    const size_t got = file_->readAt(at, buf, sizeof buf);
    if (got == 0) break;
    const char* mark = static_cast<const char*>(std::memchr(buf, 0x1A, got));
    if (mark) {
      const uint64_t length = at + uint64_t(mark - buf) - kBlockSize * block;
      throw DataError(path(), "memo at block " + std::to_string(block) + " is " + std::to_string(length) +
                                  " bytes long, more than the " + std::to_string(kMaxMemoBytes / 1024 / 1024) +
                                  " MB a report reads");
    }
    at += got;
  }
  throw DataError(path(), "memo at block " + std::to_string(block) + " is cut short (no end mark)");
}

uint32_t MemoFile::append(std::string_view text) {
  if (text.empty()) return 0;
  if (!lockWithRetry(*file_, 0, 1, LockKind::kExclusive, kMemoLockTimeoutMs))
    throw DataError(path(), "another program holds the memo file's lock");
  struct Unlock {
    File& f;
    ~Unlock() { f.unlock(0, 1); }
  } unlockOnExit{*file_};

  unsigned char h[4];
  if (file_->readAt(0, h, 4) != 4) throw DataError(path(), "the memo header could not be read");
  uint32_t next = h[0] | h[1] << 8 | h[2] << 16 | uint32_t(h[3]) << 24;
  if (next == 0) next = 1;
  const uint64_t size = file_->size();
  // A next-free pointer behind the data would overwrite memos in use: append after them.
  const uint32_t end = uint32_t((size + kBlockSize - 1) / kBlockSize);
  if (next < end) next = std::max(next, end);

  std::vector<char> data(text.begin(), text.end());
  for (char& c : data)
    if (c == 0x1A) c = ' ';  // 0x1A would end the text early
  data.push_back(0x1A);
  data.push_back(0x1A);
  file_->writeAt(kBlockSize * next, data.data(), data.size());
  const uint32_t after = next + uint32_t((data.size() + kBlockSize - 1) / kBlockSize);
  const unsigned char nh[4] = {(unsigned char)after, (unsigned char)(after >> 8), (unsigned char)(after >> 16),
                               (unsigned char)(after >> 24)};
  file_->writeAt(0, nh, 4);
  return next;
}

uint32_t parseMemoPointer(std::string_view bytes, const std::string& tablePath) {
  uint64_t v = 0;
  bool digits = false;
  for (char c : bytes) {
    if (c == ' ' || c == '\0') {
      if (digits) break;
      continue;
    }
    if (c < '0' || c > '9') throw DataError(tablePath, "a memo field holds \"" + std::string(bytes) + "\", not a block number");
    v = v * 10 + uint64_t(c - '0');
    digits = true;
    if (v > 0xFFFFFFFFull) throw DataError(tablePath, "a memo field's block number is too large");
  }
  return uint32_t(v);
}

}  // namespace velmont::data
