#pragma once
// An NTX index file: one ordering of a table's records by key bytes, shared with
// other programs that read and update the same file.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "file.h"
#include "ntx_format.h"

namespace velmont::data {

// What a new index file records about its key.
struct NtxDefinition {
  std::string keyExpression;  // stored upper-cased, except quoted text
  int keySize = 0;            // 1..256
  int keyDecimals = 0;        // numeric keys only
  bool unique = false;        // keep only the first record of each key
  std::string forCondition;   // empty when every record is indexed
  std::string tableStamp;     // DbfFile::stamp() of the table indexed, or empty
};

// An open index with one current position, like an order of a work area.
// Every navigation step takes the index read lock, notices changes made by other
// programs since the previous step and finds its place again. Not thread-safe:
// each thread opens its own.
class NtxIndex {
 public:
  // Opens and checks the header; throws DataError naming the file when it cannot.
  explicit NtxIndex(const std::string& path, OpenMode mode = OpenMode::kRead);
  ~NtxIndex();
  NtxIndex(const NtxIndex&) = delete;
  NtxIndex& operator=(const NtxIndex&) = delete;

  // Writes a complete index of `count` entries: keys[i * keySize ..] with recnos[i],
  // in any order. Replaces `path` atomically; no reader ever sees a partial file.
  static void build(const std::string& path, const NtxDefinition& definition,
                    const char* keys, const uint32_t* recnos, size_t count);

  const std::string& path() const { return file_->path(); }
  const std::string& keyExpression() const { return header_.keyExpression; }
  int keySize() const { return header_.keySize; }
  int keyDecimals() const { return header_.decimals; }
  int maxKeys() const { return header_.maxKeys; }
  bool unique() const { return header_.unique; }
  bool descending() const { return header_.descending; }
  const std::string& forCondition() const { return header_.forCondition; }
  // What the table was when this engine built the index (DbfFile::stamp());
  // empty for an index built elsewhere.
  const std::string& tableStamp() const { return header_.tableStamp; }
  // The table's writers lock records from 4,000,000,000 instead of 1,000,000,000.
  bool extendedLocking() const { return (header_.signature & ntx::kExtendedLockingBit) != 0; }

  // Each step returns the record number of the entry now current, or 0 when the
  // step ran off either end (after which next() from the top end and prev() from
  // the bottom end come back in).
  uint32_t first();
  uint32_t last();
  uint32_t next();
  uint32_t prev();
  // Lands on the first entry whose key, compared over the length of `key`, is not
  // before it; 0 past the end. found() tells whether that entry's key starts with `key`.
  uint32_t seek(std::string_view key);
  // Lands on the entry with exactly this key (padded with blanks to the key size)
  // and record number; found() is false and the position as seek(key) when absent.
  uint32_t seekPair(std::string_view key, uint32_t recno);

  bool found() const { return found_; }
  uint32_t recno() const { return where_ == Where::kEntry ? posRecno_ : 0; }
  bool eof() const { return where_ == Where::kEof; }
  bool bof() const { return where_ == Where::kBof; }
  // The key bytes of the current entry; empty when there is none.
  std::string_view currentKey() const;

  // Adds an entry of exactly keySize() bytes under the write lock. In a unique
  // index a key already present is left as it is. Needs OpenMode::kReadWrite.
  void insert(std::string_view key, uint32_t recno);

  // Walks the whole index under one read lock, checks that keys never go backwards
  // and that every entry names a record from 1 to `maxRecno` (and, with
  // `eachRecordOnce`, no record twice), and returns the number of entries;
  // leaves no current position and keeps only the pages on its path. Throws
  // DataError on any damage found.
  size_t verify(uint32_t maxRecno = UINT32_MAX, bool eachRecordOnce = false);

  // How long a step waits for a writer to release the index; default 5 seconds.
  void setLockTimeoutMs(int ms) { lockTimeoutMs_ = ms; }

  // Holds the read lock over a run of steps with no user interaction between
  // them (a batch of seeks), so each step skips locking and the header check.
  // Writers wait meanwhile: keep it short. insert() is refused inside.
  class ReadBatch {
   public:
    explicit ReadBatch(NtxIndex& index);
    ~ReadBatch();
    ReadBatch(const ReadBatch&) = delete;
    ReadBatch& operator=(const ReadBatch&) = delete;

   private:
    NtxIndex& index_;
  };

 private:
  enum class Where { kNowhere, kEntry, kEof, kBof };
  struct Frame {
    uint32_t page;
    int index;  // current entry on the top frame; below, the child descended into
  };

  void lock(LockKind kind);  // also brings the header up to date
  void unlock();
  void refreshHeader();
  // Reads the whole index once, under the read lock, for a report run.
  bool takeSnapshot();
  const ntx::Page& page(uint32_t offset);
  void dropCache();
  void dropPages();  // forgets page contents, keeps what is known of the tree's shape
  void abandonPosition();

  int compare(const char* key, const char* search, size_t length) const;
  int lowerBound(const ntx::Page& p, std::string_view search) const;
  int upperBound(const ntx::Page& p, std::string_view key) const;
  void checkDescent(const std::vector<Frame>& trail, uint32_t offset);
  void pushFrame(uint32_t offset, int index);
  void descendLeft(uint32_t offset);
  void descendRight(uint32_t offset);
  void settleForward();
  void settleBackward();
  void advance();
  void retreat();
  void capture(bool forward);
  template <class Step>
  uint32_t run(LockKind kind, Step step);
  void firstStep();
  void lastStep();
  void nextStep();
  void prevStep();
  void seekStep(std::string_view key);
  bool seekPairStep(std::string_view key, uint32_t recno);
  void restorePosition();

  std::unique_ptr<File> file_;
  OpenMode mode_;
  ntx::Header header_;
  char headerPrefix_[ntx::kHeaderPrefix];
  uint64_t fileSize_ = 0;
  int lockTimeoutMs_ = 5000;
  int batchDepth_ = 0;
  bool fileLocked_ = false;       // the file's read or write lock is held
  bool keepReads_ = false;        // opened for reading during a report run
  std::vector<char> snapshot_;    // the whole file as read once in a run, or empty

  bool haveHeader_ = false;
  std::vector<std::unique_ptr<ntx::Page>> cache_;  // by offset / page size
  std::vector<uint64_t> referrer_;  // by offset / page size: parent page * 128 + item + 1
  size_t cachedPages_ = 0;

  std::vector<Frame> path_;
  Where where_ = Where::kNowhere;
  bool found_ = false;
  bool positionStale_ = false;    // the file changed: re-find posKey_/posRecno_
  bool landedPastOld_ = false;    // re-finding missed: the entry after the old one is current
  std::string posKey_;
  uint32_t posRecno_ = 0;
};

// Runs one operation under the index lock; a failed step leaves no position.
template <class Step>
uint32_t NtxIndex::run(LockKind kind, Step step) {
  lock(kind);
  try {
    step();
  } catch (...) {
    abandonPosition();
    unlock();
    throw;
  }
  unlock();
  return recno();
}

}  // namespace velmont::data
