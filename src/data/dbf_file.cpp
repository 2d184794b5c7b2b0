#include "dbf_file.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <random>
#include <thread>

#include "date.h"
#include "error.h"

namespace velmont::data {
namespace {

constexpr int kHeaderSize = 32;
constexpr int kDescriptorSize = 32;
constexpr size_t kReadAheadBytes = 64 * 1024;
constexpr int kHeaderLockTimeoutMs = 5000;
// How long a run's read waits for a writer to finish a record. A lock held
// longer belongs to someone editing the record, not to a write in progress.
constexpr int kWriterWaitMs = 2000;

uint32_t le32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t le16(const unsigned char* p) { return uint16_t(p[0] | p[1] << 8); }
void put32(unsigned char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = (unsigned char)(v >> (8 * i));
}
void put16(unsigned char* p, uint16_t v) {
  p[0] = (unsigned char)v;
  p[1] = (unsigned char)(v >> 8);
}

std::string upper(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return r;
}

std::string hexByte(unsigned v) {
  static const char* digits = "0123456789ABCDEF";
  return std::string("0x") + digits[(v >> 4) & 15] + digits[v & 15];
}

thread_local Date updateDateOverride;

// Header bytes 0..11: version, date of last update, count, header and record length.
void fillHeaderStart(unsigned char* h, unsigned char version, uint32_t count, uint16_t headerLength,
                     uint16_t recordLength) {
  int y, m, d;
  (updateDateOverride.empty() ? Date::today() : updateDateOverride).toYmd(y, m, d);
  h[0] = version;
  h[1] = (unsigned char)(y - 1900);
  h[2] = (unsigned char)m;
  h[3] = (unsigned char)d;
  put32(h + 4, count);
  put16(h + 8, headerLength);
  put16(h + 10, recordLength);
}

}  // namespace

void DbfFile::setUpdateDateForThisThread(const Date& date) { updateDateOverride = date; }

DbfFile::DbfFile(std::string path, std::unique_ptr<File> file, bool writable)
    : path_(std::move(path)), file_(std::move(file)), writable_(writable) {}

DbfFile::~DbfFile() = default;

std::unique_ptr<DbfFile> DbfFile::open(const std::string& path, OpenMode mode) {
  auto file = Env::current()->open(path, mode);
  std::unique_ptr<DbfFile> dbf(new DbfFile(path, std::move(file), mode == OpenMode::kReadWrite));
  dbf->readHeader();
  if (mode == OpenMode::kRead && keepReadsOnThisThread())
    dbf->kept_ = std::make_unique<RecordBlocks>(dbf->recordLength_);
  return dbf;
}

void DbfFile::readHeader() {
  const uint64_t size = file_->size();
  if (size < kHeaderSize)
    throw DataError(path_, "too short for a table header (" + std::to_string(size) + " bytes)");
  unsigned char h[kHeaderSize];
  if (file_->readAt(0, h, kHeaderSize) != kHeaderSize)
    throw DataError(path_, "the table header could not be read whole");

  switch (h[0]) {
    case 0x03: case 0x07: case 0x83: case 0x87: break;
    case 0x8B: throw DataError(path_, "dBASE IV tables with memos are not supported");
    case 0x06: case 0x86: throw DataError(path_, "encrypted tables are not supported");
    default: throw DataError(path_, "not a dBASE III table (version byte " + hexByte(h[0]) + ")");
  }
  const uint32_t headerCount = le32(h + 4);
  languageDriver_ = h[29];
  headerLength_ = le16(h + 8);
  recordLength_ = le16(h + 10);
  if (headerLength_ < kHeaderSize + 1)
    throw DataError(path_, "header length " + std::to_string(headerLength_) + " is too small");
  if (headerLength_ > size)
    throw DataError(path_, "header length " + std::to_string(headerLength_) +
                               " runs past the end of the file (" + std::to_string(size) + " bytes)");
  if (recordLength_ < 2) throw DataError(path_, "record length " + std::to_string(recordLength_) + " is too small");

  std::vector<unsigned char> desc(headerLength_ - kHeaderSize);
  if (file_->readAt(kHeaderSize, desc.data(), desc.size()) != desc.size())
    throw DataError(path_, "the field descriptors could not be read whole");

  bool terminated = false;
  int offset = 1;
  for (size_t at = 0; at < desc.size(); at += kDescriptorSize) {
    if (desc[at] == 0x0D) {
      terminated = true;
      // Writers may pad the header after the terminator, with zeros; any other
      // byte there is record data under a header length that is too large.
      for (size_t pad = at + 1; pad < desc.size(); ++pad)
        if (desc[pad] != 0x00 && desc[pad] != 0x0D && desc[pad] != 0x1A)
          throw DataError(path_, "header length " + std::to_string(headerLength_) +
                                     " runs past the end of the field descriptors (" +
                                     std::to_string(kHeaderSize + at + 1) + " bytes): the records would be read "
                                     "from the wrong place");
      break;
    }
    if (at + kDescriptorSize > desc.size()) break;
    const unsigned char* d = &desc[at];
    FieldDesc f;
    size_t nameLen = 0;
    while (nameLen < 11 && d[nameLen] != 0) ++nameLen;
    f.name = upper(std::string_view(reinterpret_cast<const char*>(d), std::min<size_t>(nameLen, 10)));
    const std::string label = "field " + std::to_string(fields_.size() + 1);
    if (f.name.empty()) throw DataError(path_, label + " has no name");
    f.type = char(d[11]);
    if (f.type >= 'a' && f.type <= 'z') f.type = char(f.type - 'a' + 'A');
    switch (f.type) {
      case 'C': f.width = d[16] + 256 * d[17]; break;
      case 'N': case 'F': f.type = 'N'; f.width = d[16]; f.decimals = d[17]; break;
      case 'D': case 'L': case 'M': f.width = d[16]; break;
      default:
        throw DataError(path_, "field " + f.name + " has unsupported type " +
                                   (d[11] >= 0x20 && d[11] < 0x7F ? std::string(1, char(d[11])) : hexByte(d[11])));
    }
    if (f.width == 0) throw DataError(path_, "field " + f.name + " has width 0");
    if (f.type == 'N' && f.decimals >= f.width)
      throw DataError(path_, "field " + f.name + " has more decimals than its width allows");
    if (f.type == 'M') hasMemo_ = true;
    f.offset = offset;
    offset += f.width;
    fields_.push_back(std::move(f));
  }
  if (!terminated) throw DataError(path_, "the field descriptor list has no terminator");
  if (fields_.empty()) throw DataError(path_, "the table has no fields");
  if (offset != recordLength_)
    throw DataError(path_, "record length " + std::to_string(recordLength_) + " disagrees with the fields (" +
                               std::to_string(offset) + ")");
  const uint32_t derived = uint32_t((size - headerLength_) / uint64_t(recordLength_));
  if (derived > 0) {
    // Every record begins with its deletion flag; a header length too small
    // by a byte or two puts the records' first byte elsewhere.
    unsigned char flag = 0;
    if (file_->readAt(headerLength_, &flag, 1) != 1 || (flag != ' ' && flag != '*'))
      throw DataError(path_, "header length " + std::to_string(headerLength_) +
                                 " does not lead to the first record (it begins with byte " + hexByte(flag) +
                                 ", not a deletion flag): the records would be read from the wrong place");
  }
  knownCount_ = derived;
  if (headerCount != derived) checkCountAgainstFile();
}

// The header's count and the records in the file differ. A writer that appends
// under the append lock may be between its two writes (header first or record
// first), so the count is judged again once no append is under way. A count
// ahead of the file that lasts means records are missing: the file is cut short.
// A count behind the file is left alone: readers go by the file's size, which
// an append grows only by whole records (see recordCount).
void DbfFile::checkCountAgainstFile() {
  Counts c = settledCounts();
  if (c.header == c.file + 1) {
    // One record short: a writer that takes no lock may have written the header
    // of its append and not yet the record. Look again after a moment.
    secondLookPause()();
    c = settledCounts();
    if (c.header == c.file + 1)
      throw DataError(path_, "the header counts " + std::to_string(c.header) + " records but the file holds only " +
                                 std::to_string(c.file) + ": either another program is adding a record without "
                                 "locking the table (run this again in a moment) or the last record has been lost "
                                 "(if it stays so, restore the file from a backup)");
  }
  if (c.header > c.file)
    throw DataError(path_, "the header counts " + std::to_string(c.header) + " records but the file holds only " +
                               std::to_string(c.file) + ": it is truncated" +
                               (c.settled ? "" : " (or another program has held its append lock for too long)"));
}

std::function<void()>& DbfFile::secondLookPause() {
  static std::function<void()> pause = [] { std::this_thread::sleep_for(std::chrono::milliseconds(250)); };
  return pause;
}

int DbfFile::fieldIndex(std::string_view name) const {
  for (size_t i = 0; i < fields_.size(); ++i) {
    const std::string& f = fields_[i].name;
    if (f.size() != name.size()) continue;
    bool same = true;
    for (size_t k = 0; k < f.size() && same; ++k) {
      char c = name[k];
      if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
      same = c == f[k];
    }
    if (same) return int(i);
  }
  return -1;
}

uint32_t DbfFile::recordCount() {
  const uint64_t size = file_->size();
  knownCount_ = size < headerLength_ ? 0 : uint32_t((size - headerLength_) / uint64_t(recordLength_));
  return knownCount_;
}

std::string DbfFile::stamp() {
  unsigned char h[3];
  if (file_->readAt(1, h, sizeof h) != sizeof h) throw DataError(path_, "the table header could not be read");
  std::string s(16, '\0');
  s.replace(0, 4, "VLT1");
  put32(reinterpret_cast<unsigned char*>(s.data()) + 4, recordCount());
  std::memcpy(s.data() + 8, h, sizeof h);
  return s;
}

void DbfFile::fillReadAhead(uint32_t recno) {
  const uint32_t wanted = std::max<uint32_t>(1, uint32_t(kReadAheadBytes / size_t(recordLength_)));
  const uint32_t count = std::min(wanted, knownCount_ - recno + 1);
  ahead_.resize(size_t(count) * size_t(recordLength_));
  const uint64_t at = headerLength_ + uint64_t(recno - 1) * uint64_t(recordLength_);
  const size_t got = file_->readAt(at, ahead_.data(), ahead_.size());
  aheadData_ = ahead_.data();
  aheadFirst_ = recno;
  aheadCount_ = uint32_t(got / size_t(recordLength_));
}

bool DbfFile::readRecordFromFile(uint32_t recno, char* buf, bool fresh) {
  if (recno == 0) return false;
  if (recno > knownCount_ && recno > recordCount()) return false;
  if (fresh) dropReadAhead();
  if (kept_ && !fresh) {
    readKeptRecord(recno, buf);
    return true;
  }
  if (aheadFirst_ && recno >= aheadFirst_ && recno < aheadFirst_ + aheadCount_) {
    std::memcpy(buf, aheadData_ + size_t(recno - aheadFirst_) * size_t(recordLength_), size_t(recordLength_));
  } else if (recno == lastRead_ + 1) {
    fillReadAhead(recno);
    if (aheadCount_ == 0)
      throw DataError(path_, "record " + std::to_string(recno) + " could not be read whole (the file is cut short)");
    std::memcpy(buf, ahead_.data(), size_t(recordLength_));
  } else {
    const uint64_t at = headerLength_ + uint64_t(recno - 1) * uint64_t(recordLength_);
    if (file_->readAt(at, buf, size_t(recordLength_)) != size_t(recordLength_))
      throw DataError(path_, "record " + std::to_string(recno) + " could not be read whole (the file is cut short)");
  }
  lastRead_ = recno;
  return true;
}

void DbfFile::readKeptRecord(uint32_t recno, char* buf) {
  const RecordBlocks::Block* block = kept_->find(recno);
  if (!block) {
    const uint32_t first = kept_->blockStart(recno);
    const uint32_t count = std::min(kept_->recordsPerBlock(), knownCount_ - first + 1);
    block = &kept_->store(first, readBlockUnwritten(first, count));
  }
  if (recno >= block->first + block->count)
    throw DataError(path_, "record " + std::to_string(recno) + " could not be read whole (the file is cut short)");
  aheadData_ = block->bytes.data();
  aheadFirst_ = block->first;
  aheadCount_ = block->count;
  std::memcpy(buf, aheadData_ + size_t(recno - aheadFirst_) * size_t(recordLength_), size_t(recordLength_));
  lastRead_ = recno;
}

std::vector<char> DbfFile::readBlockUnwritten(uint32_t first, uint32_t count) {
  // Writers lock a record while they rewrite it and the append lock while they
  // add one. A shared lock over the block's record locks waits for them and
  // keeps them out for this one read; after the wait the block is read anyway,
  // since a lock held that long is someone editing, not a write under way.
  const bool records = lockWithRetry(*file_, lockBase_ + first, count, LockKind::kShared, kWriterWaitMs);
  const bool last = first + count - 1 >= knownCount_;
  const bool append = last && lockWithRetry(*file_, lockBase_, 1, LockKind::kShared, kWriterWaitMs);
  std::vector<char> bytes(size_t(count) * size_t(recordLength_));
  size_t got = 0;
  try {
    got = file_->readAt(headerLength_ + uint64_t(first - 1) * uint64_t(recordLength_), bytes.data(), bytes.size());
  } catch (...) {
    if (records) file_->unlock(lockBase_ + first, count);
    if (append) file_->unlock(lockBase_, 1);
    throw;
  }
  if (records) file_->unlock(lockBase_ + first, count);
  if (append) file_->unlock(lockBase_, 1);
  bytes.resize(got / size_t(recordLength_) * size_t(recordLength_));
  return bytes;
}

void DbfFile::writeRecord(uint32_t recno, const char* buf) {
  if (!writable_) throw DataError(path_, "the table is open for reading only");
  if (recno == 0 || recno > recordCount())
    throw DataError(path_, "record " + std::to_string(recno) + " does not exist");
  file_->writeAt(headerLength_ + uint64_t(recno - 1) * uint64_t(recordLength_), buf, size_t(recordLength_));
  if (aheadFirst_ && recno >= aheadFirst_ && recno < aheadFirst_ + aheadCount_ && aheadData_ == ahead_.data())
    std::memcpy(&ahead_[size_t(recno - aheadFirst_) * size_t(recordLength_)], buf, size_t(recordLength_));
}

bool DbfFile::lockHeader(int timeoutMs) {
  if (headerLocks_ == 0 && !lockWithRetry(*file_, lockBase_, 1, LockKind::kExclusive, timeoutMs)) return false;
  ++headerLocks_;
  return true;
}

void DbfFile::unlockHeader() {
  if (headerLocks_ > 0 && --headerLocks_ == 0) file_->unlock(lockBase_, 1);
}

DbfFile::Counts DbfFile::settledCounts(int timeoutMs) {
  Counts c;
  // A shared hold of the append lock waits for a writer's exclusive one and can
  // be taken on a file opened for reading. Our own hold means no other append.
  const bool take = headerLocks_ == 0;
  c.settled = !take || lockWithRetry(*file_, lockBase_, 1, LockKind::kShared, timeoutMs);
  struct Unlock {
    DbfFile& f;
    bool held;
    ~Unlock() {
      if (held) f.file_->unlock(f.lockBase_, 1);
    }
  } unlockOnExit{*this, take && c.settled};
  unsigned char h[8];
  if (file_->readAt(0, h, sizeof h) != sizeof h) throw DataError(path_, "the table header could not be read");
  c.header = le32(h + 4);
  c.file = recordCount();
  return c;
}

void DbfFile::dropReadAhead() {
  aheadFirst_ = aheadCount_ = 0;
  lastRead_ = 0;
}

uint32_t DbfFile::appendRecord(const char* buf) {
  if (!writable_) throw DataError(path_, "the table is open for reading only");
  if (!lockHeader(kHeaderLockTimeoutMs)) throw DataError(path_, "another program holds the table's append lock");
  struct Unlock {
    DbfFile& f;
    ~Unlock() { f.unlockHeader(); }
  } unlockOnExit{*this};

  const uint32_t n = recordCount();
  // The record and the end-of-file mark in one write, then the header's count:
  // a reader deriving the count from the file size never sees a partial record.
  std::vector<char> image(size_t(recordLength_) + 1);
  std::memcpy(image.data(), buf, size_t(recordLength_));
  image.back() = 0x1A;
  file_->writeAt(headerLength_ + uint64_t(n) * uint64_t(recordLength_), image.data(), image.size());

  unsigned char h[12];
  if (file_->readAt(0, h, 1) != 1) throw DataError(path_, "the table header could not be read");
  fillHeaderStart(h, h[0], n + 1, uint16_t(headerLength_), uint16_t(recordLength_));
  file_->writeAt(0, h, sizeof h);
  knownCount_ = n + 1;
  return n + 1;
}

bool DbfFile::lockRecord(uint32_t recno, int timeoutMs) {
  return lockWithRetry(*file_, lockBase_ + recno, 1, LockKind::kExclusive, timeoutMs);
}

void DbfFile::unlockRecord(uint32_t recno) { file_->unlock(lockBase_ + recno, 1); }

std::string DbfFile::memoPath() const { return memoPathFor(path_); }

std::string DbfFile::memoPathFor(const std::string& tablePath) {
  std::string p = tablePath;
  const size_t dot = p.find_last_of('.');
  const size_t slash = p.find_last_of("/\\");
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) p.resize(dot);
  const bool upperCase = !tablePath.empty() && tablePath.back() >= 'A' && tablePath.back() <= 'Z';
  return p + (upperCase ? ".DBT" : ".dbt");
}

void DbfFile::create(const std::string& path, const std::vector<FieldSpec>& specs, uint8_t languageDriver) {
  if (specs.empty()) throw DataError(path, "a table needs at least one field");
  bool memo = false;
  int recordLength = 1;
  std::vector<unsigned char> header(kHeaderSize + kDescriptorSize * specs.size() + 2, 0);
  for (size_t i = 0; i < specs.size(); ++i) {
    const FieldSpec& s = specs[i];
    const std::string name = upper(s.name);
    if (name.empty() || name.size() > 10) throw DataError(path, "field name \"" + s.name + "\" must have 1 to 10 characters");
    unsigned char* d = &header[kHeaderSize + kDescriptorSize * i];
    std::memcpy(d, name.data(), name.size());
    int width = s.width;
    switch (s.type) {
      case 'C':
        if (width < 1 || width > 65535) throw DataError(path, "field " + name + " has an impossible width");
        d[16] = (unsigned char)(width & 0xFF);
        d[17] = (unsigned char)(width >> 8);
        break;
      case 'N':
        if (width < 1 || width > 255 || s.decimals < 0 || (s.decimals > 0 && width < s.decimals + 2))
          throw DataError(path, "field " + name + " has an impossible width or decimals");
        d[16] = (unsigned char)width;
        d[17] = (unsigned char)s.decimals;
        break;
      case 'D': width = 8; d[16] = 8; break;
      case 'L': width = 1; d[16] = 1; break;
      case 'M': width = 10; d[16] = 10; memo = true; break;
      default: throw DataError(path, "field " + name + " has unknown type " + std::string(1, s.type));
    }
    d[11] = (unsigned char)s.type;
    recordLength += width;
  }
  if (recordLength > 65535) throw DataError(path, "records would be longer than 65535 bytes");
  const size_t headerLength = header.size();
  header[headerLength - 2] = 0x0D;
  header[headerLength - 1] = 0x00;
  fillHeaderStart(header.data(), memo ? 0x83 : 0x03, 0, uint16_t(headerLength), uint16_t(recordLength));
  header[29] = languageDriver;
  header.push_back(0x1A);

  // Each file is written whole under a name of its own and then moved into
  // place, so that another program that finds the table finds its header too.
  Env* env = Env::current();
  if (env->exists(path)) throw DataError(path, "cannot create: the table exists");
  auto writeInPlace = [env](const std::string& target, const unsigned char* bytes, size_t n) {
    static std::atomic<unsigned> counter{0};
    const std::string temporary = target + ".new" + std::to_string(std::random_device{}() % 100000) + "-" +
                                  std::to_string(counter.fetch_add(1));
    {
      auto file = env->create(temporary);
      try {
        file->writeAt(0, bytes, n);
      } catch (...) {
        file.reset();
        env->remove(temporary);
        throw;
      }
    }
    bool placed = false;
    try {
      placed = env->publish(temporary, target);
    } catch (...) {
      env->remove(temporary);
      throw;
    }
    if (!placed) {
      env->remove(temporary);
      throw DataError(target, "cannot create: the file exists");
    }
  };
  if (memo) {
    unsigned char block[512] = {};
    put32(block, 1);
    block[16] = 0x03;
    writeInPlace(memoPathFor(path), block, sizeof block);
  }
  writeInPlace(path, header.data(), header.size());
}

}  // namespace velmont::data
