#include "ntx.h"

#include <algorithm>
#include <cstring>

#include "error.h"

namespace velmont::data {

using ntx::kPageSize;
using ntx::Page;

namespace {

// No sound tree is this deep; a deeper descent means pages refer back to each other.
constexpr size_t kMaxDepth = 64;
// Beyond this many cached pages (about 20 MB) the cache starts afresh.
constexpr size_t kMaxCachedPages = 16384;
// A run reads an index up to this size whole, in reads of this size.
constexpr uint64_t kMaxSnapshotBytes = 64u * 1024 * 1024;
constexpr size_t kSnapshotReadBytes = 64 * 1024;

}  // namespace

NtxIndex::NtxIndex(const std::string& path, OpenMode mode)
    : file_(Env::current()->open(path, mode)), mode_(mode),
      keepReads_(mode == OpenMode::kRead && keepReadsOnThisThread()) {
  lock(LockKind::kShared);
  unlock();
}

NtxIndex::~NtxIndex() = default;

void NtxIndex::lock(LockKind kind) {
  if (batchDepth_ > 0) {
    if (kind == LockKind::kExclusive)
      throw DataError(path(), "cannot write to the index inside a read batch");
    if (cachedPages_ > kMaxCachedPages) dropCache();
    return;
  }
  // A run's snapshot is never read from the file again: nothing to lock.
  if (!snapshot_.empty()) {
    if (cachedPages_ > kMaxCachedPages) dropCache();
    return;
  }
  if (!lockWithRetry(*file_, ntx::kLockOffset, 1, kind, lockTimeoutMs_))
    throw DataError(path(), "index is locked");
  fileLocked_ = true;
  try {
    if (cachedPages_ > kMaxCachedPages) dropCache();
    refreshHeader();
  } catch (...) {
    unlock();
    throw;
  }
}

void NtxIndex::unlock() {
  if (batchDepth_ > 0 || !fileLocked_) return;
  fileLocked_ = false;
  try {
    file_->unlock(ntx::kLockOffset, 1);
  } catch (...) {
    // Closing the file releases the lock in any case.
  }
}

NtxIndex::ReadBatch::ReadBatch(NtxIndex& index) : index_(index) {
  index_.lock(LockKind::kShared);
  ++index_.batchDepth_;
}

NtxIndex::ReadBatch::~ReadBatch() {
  if (--index_.batchDepth_ == 0) index_.unlock();
}

bool NtxIndex::takeSnapshot() {
  const uint64_t size = file_->size();
  if (size < kPageSize || size > kMaxSnapshotBytes) return false;  // read page by page instead
  std::vector<char> bytes(static_cast<size_t>(size));
  for (uint64_t at = 0; at < size; at += kSnapshotReadBytes) {
    const size_t n = size_t(std::min<uint64_t>(kSnapshotReadBytes, size - at));
    if (file_->readAt(at, bytes.data() + at, n) != n)
      throw DataError(path(), "index file is cut short while it is read");
  }
  ntx::Header header = ntx::parseHeader(path(), bytes.data(), size);
  dropCache();
  header_ = std::move(header);
  fileSize_ = size;
  std::memcpy(headerPrefix_, bytes.data(), sizeof headerPrefix_);
  haveHeader_ = true;
  snapshot_ = std::move(bytes);
  return true;
}

void NtxIndex::refreshHeader() {
  if (keepReads_ && snapshot_.empty() && takeSnapshot()) return;
  char prefix[ntx::kHeaderPrefix];
  if (file_->readAt(0, prefix, sizeof prefix) != sizeof prefix)
    throw DataError(path(), "index file is truncated (shorter than its header page)");
  if (haveHeader_ && std::memcmp(prefix, headerPrefix_, sizeof prefix) == 0) return;

  char raw[kPageSize];
  if (file_->readAt(0, raw, kPageSize) != kPageSize)
    throw DataError(path(), "index file is truncated (shorter than its header page)");
  const uint64_t size = file_->size();
  ntx::Header header = ntx::parseHeader(path(), raw, size);
  dropCache();
  header_ = std::move(header);
  fileSize_ = size;
  std::memcpy(headerPrefix_, raw, sizeof headerPrefix_);
  if (haveHeader_) positionStale_ = true;
  haveHeader_ = true;
}

void NtxIndex::dropCache() {
  dropPages();
  referrer_.clear();
}

void NtxIndex::dropPages() {
  cache_.clear();
  cachedPages_ = 0;
}

const Page& NtxIndex::page(uint32_t offset) {
  const size_t slot = offset / kPageSize;
  if (slot < cache_.size() && cache_[slot]) return *cache_[slot];
  char raw[kPageSize];
  const char* bytes = raw;
  if (!snapshot_.empty()) {
    if (uint64_t(offset) + kPageSize > snapshot_.size())
      throw DataError(path(), "index page at offset " + std::to_string(offset) + " is truncated");
    bytes = snapshot_.data() + offset;
  } else if (file_->readAt(offset, raw, kPageSize) != kPageSize) {
    throw DataError(path(), "index page at offset " + std::to_string(offset) + " is truncated");
  }
  auto loaded = std::make_unique<Page>();
  loaded->load(path(), offset, bytes, header_, fileSize_);
  if (slot >= cache_.size()) cache_.resize(std::max(slot + 1, fileSize_ / kPageSize));
  cache_[slot] = std::move(loaded);
  ++cachedPages_;
  return *cache_[slot];
}

std::string_view NtxIndex::currentKey() const {
  if (where_ != Where::kEntry) return {};
  return posKey_;
}

int NtxIndex::compare(const char* key, const char* search, size_t length) const {
  const int c = std::memcmp(key, search, length);
  return header_.descending ? -c : c;
}

int NtxIndex::lowerBound(const Page& p, std::string_view search) const {
  // Compare the first 8 bytes as integers and only the rest with memcmp.
  const size_t head = std::min<size_t>(search.size(), 8);
  const uint64_t mask = head == 0 ? 0 : ~uint64_t(0) << (8 * (8 - head));
  const uint64_t want = ntx::keyPrefix(search.data(), head);
  auto before = [&](int i) {
    const uint64_t have = p.prefix(i) & mask;
    int c = have == want ? 0 : have < want ? -1 : 1;
    if (c == 0 && search.size() > 8)
      c = std::memcmp(p.key(i) + 8, search.data() + 8, search.size() - 8);
    return header_.descending ? c > 0 : c < 0;
  };
  int lo = 0, hi = p.count();
  while (lo < hi) {
    const int mid = (lo + hi) / 2;
    if (before(mid))
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

int NtxIndex::upperBound(const Page& p, std::string_view key) const {
  int lo = 0, hi = p.count();
  while (lo < hi) {
    const int mid = (lo + hi) / 2;
    if (compare(p.key(mid), key.data(), key.size()) <= 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

// Refuses a descent that revisits a page on the way down (a cycle) or reaches a
// page through a different parent item than before: shared subtrees would make
// a walk repeat entries, in the worst case more often than anyone could wait for.
void NtxIndex::checkDescent(const std::vector<Frame>& trail, uint32_t offset) {
  if (trail.size() >= kMaxDepth) throw DataError(path(), "index page cycle");
  for (const Frame& f : trail)
    if (f.page == offset) throw DataError(path(), "index page cycle");
  if (trail.empty()) return;
  const uint64_t from = uint64_t(trail.back().page) * 128 + uint64_t(trail.back().index) + 1;
  const size_t slot = offset / kPageSize;
  if (slot >= referrer_.size()) referrer_.resize(std::max(slot + 1, fileSize_ / kPageSize));
  if (referrer_[slot] == 0)
    referrer_[slot] = from;
  else if (referrer_[slot] != from)
    throw DataError(path(), "index page at offset " + std::to_string(offset) +
                                " is shared by two parent pages");
}

void NtxIndex::pushFrame(uint32_t offset, int index) {
  checkDescent(path_, offset);
  path_.push_back({offset, index});
}

void NtxIndex::descendLeft(uint32_t offset) {
  for (;;) {
    pushFrame(offset, 0);
    const Page& p = page(offset);
    if (p.isLeaf()) return;
    offset = p.child(0);
  }
}

void NtxIndex::descendRight(uint32_t offset) {
  for (;;) {
    pushFrame(offset, 0);
    const Page& p = page(offset);
    path_.back().index = p.isLeaf() ? p.count() - 1 : p.count();
    if (p.isLeaf()) return;
    offset = p.child(p.count());
  }
}

// Makes the top frame name an entry, climbing out of exhausted pages; a frame
// below the top resumes at the entry after the child it descended into.
void NtxIndex::settleForward() {
  while (!path_.empty() && path_.back().index >= page(path_.back().page).count())
    path_.pop_back();
}

void NtxIndex::settleBackward() {
  while (!path_.empty() && path_.back().index < 0) {
    path_.pop_back();
    if (!path_.empty()) --path_.back().index;
  }
}

void NtxIndex::advance() {
  const Page& p = page(path_.back().page);
  const int next = ++path_.back().index;
  if (!p.isLeaf()) descendLeft(p.child(next));
  settleForward();
}

void NtxIndex::retreat() {
  const Page& p = page(path_.back().page);
  if (p.isLeaf())
    --path_.back().index;
  else
    descendRight(p.child(path_.back().index));
  settleBackward();
}

// Records the entry the path ends on, or which end the step ran off.
void NtxIndex::capture(bool forward) {
  if (path_.empty()) {
    where_ = forward ? Where::kEof : Where::kBof;
    return;
  }
  const Page& p = page(path_.back().page);
  const int i = path_.back().index;
  where_ = Where::kEntry;
  posKey_.assign(p.key(i), header_.keySize);
  posRecno_ = p.recno(i);
}

void NtxIndex::firstStep() {
  path_.clear();
  descendLeft(header_.root);
  settleForward();
  capture(true);
}

void NtxIndex::lastStep() {
  path_.clear();
  descendRight(header_.root);
  settleBackward();
  capture(true);  // an empty index is at its end either way
}

void NtxIndex::nextStep() {
  if (where_ == Where::kEntry) {
    advance();
    capture(true);
  } else if (where_ != Where::kEof) {
    firstStep();
  }
}

void NtxIndex::prevStep() {
  if (where_ == Where::kEntry) {
    retreat();
    capture(false);
  } else if (where_ != Where::kBof) {
    lastStep();
  }
}

void NtxIndex::seekStep(std::string_view key) {
  const std::string_view search = key.substr(0, header_.keySize);
  path_.clear();
  uint32_t offset = header_.root;
  for (;;) {
    const Page& p = page(offset);
    const int i = lowerBound(p, search);
    pushFrame(offset, i);
    if (p.isLeaf()) break;
    offset = p.child(i);
  }
  settleForward();
  capture(true);
  found_ = where_ == Where::kEntry &&
           std::memcmp(posKey_.data(), search.data(), search.size()) == 0;
}

bool NtxIndex::seekPairStep(std::string_view key, uint32_t recno) {
  std::string exact(key.substr(0, header_.keySize));
  exact.resize(header_.keySize, ' ');
  // Equal keys are in record order in built indexes and after appends: descend
  // by (key, record) first.
  path_.clear();
  uint32_t offset = header_.root;
  for (;;) {
    const Page& p = page(offset);
    int lo = 0, hi = p.count();
    while (lo < hi) {
      const int mid = (lo + hi) / 2;
      const int c = compare(p.key(mid), exact.data(), exact.size());
      if (c < 0 || (c == 0 && p.recno(mid) < recno))
        lo = mid + 1;
      else
        hi = mid;
    }
    pushFrame(offset, lo);
    if (p.isLeaf()) break;
    offset = p.child(lo);
  }
  settleForward();
  capture(true);
  if (where_ == Where::kEntry && posRecno_ == recno && posKey_ == exact) {
    found_ = true;
    return true;
  }
  // Other writers keep equal keys in insertion order: look through all of them.
  seekStep(exact);
  while (where_ == Where::kEntry && posKey_ == exact) {
    if (posRecno_ == recno) {
      found_ = true;
      return true;
    }
    advance();
    capture(true);
  }
  seekStep(exact);
  found_ = false;
  return false;
}

// After another writer changed the file, finds the remembered entry again. When
// it is gone the next entry after it becomes current, and next() stays there.
void NtxIndex::restorePosition() {
  positionStale_ = false;
  path_.clear();
  if (where_ != Where::kEntry) return;
  const std::string key = posKey_;
  landedPastOld_ = !seekPairStep(key, posRecno_);
}

void NtxIndex::abandonPosition() {
  path_.clear();
  where_ = Where::kNowhere;
  found_ = false;
}

uint32_t NtxIndex::first() {
  return run(LockKind::kShared, [this] {
    positionStale_ = false;
    firstStep();
    found_ = false;
  });
}

uint32_t NtxIndex::last() {
  return run(LockKind::kShared, [this] {
    positionStale_ = false;
    lastStep();
    found_ = false;
  });
}

uint32_t NtxIndex::next() {
  return run(LockKind::kShared, [this] {
    landedPastOld_ = false;
    if (positionStale_) restorePosition();
    if (!landedPastOld_) nextStep();
    landedPastOld_ = false;
    found_ = false;
  });
}

uint32_t NtxIndex::prev() {
  return run(LockKind::kShared, [this] {
    if (positionStale_) restorePosition();
    landedPastOld_ = false;
    prevStep();
    found_ = false;
  });
}

uint32_t NtxIndex::seek(std::string_view key) {
  return run(LockKind::kShared, [this, key] {
    positionStale_ = false;
    seekStep(key);
  });
}

uint32_t NtxIndex::seekPair(std::string_view key, uint32_t recno) {
  return run(LockKind::kShared, [this, key, recno] {
    positionStale_ = false;
    seekPairStep(key, recno);
  });
}

size_t NtxIndex::verify(uint32_t maxRecno, bool eachRecordOnce) {
  size_t count = 0;
  // One bit per record of the table, to find a record filed twice.
  std::vector<bool> seen(eachRecordOnce ? size_t(maxRecno) + 1 : 0);
  run(LockKind::kShared, [this, &count, &seen, maxRecno, eachRecordOnce] {
    positionStale_ = false;
    // Pages shared between parents would make the walk repeat entries; no sound
    // file holds more entries than its pages have room for.
    const uint64_t room = fileSize_ / kPageSize * static_cast<uint64_t>(header_.maxKeys);
    std::string previous;
    path_.clear();
    descendLeft(header_.root);
    settleForward();
    while (!path_.empty()) {
      // The walk needs only the pages on its path: a large index is never held whole.
      if (cachedPages_ > kMaxDepth * 2) dropPages();
      const Page& p = page(path_.back().page);
      const char* key = p.key(path_.back().index);
      if (count > 0 && compare(key, previous.data(), previous.size()) < 0)
        throw DataError(path(), "index keys out of order at entry " + std::to_string(count + 1));
      if (++count > room) throw DataError(path(), "index pages are shared between parents");
      const uint32_t recno = p.recno(path_.back().index);
      if (recno == 0 || recno > maxRecno)
        throw DataError(path(), "entry " + std::to_string(count) + " names record " + std::to_string(recno) +
                                    ", past the end of its table (" + std::to_string(maxRecno) + " records)");
      if (eachRecordOnce) {
        if (seen[recno]) throw DataError(path(), "record " + std::to_string(recno) + " is filed twice");
        seen[recno] = true;
      }
      previous.assign(key, header_.keySize);
      advance();
    }
    where_ = Where::kNowhere;
  });
  return count;
}

}  // namespace velmont::data
