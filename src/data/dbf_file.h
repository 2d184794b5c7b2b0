#pragma once
// One .dbf file: its header, field list and records, read and written with the
// conventions that let another program share the file while we use it.
//
// Record counts. The header states a count and the file's size implies one; an
// append changes both in two writes under the table's append lock. The reports
// trust the file's size: every writer grows the file by whole records, and a
// count read from the size never names a record that is not there, while the
// header's count lags or leads it for the moment of another program's append.
// So an open that finds the two apart waits for the append lock (a few seconds)
// and looks again: a header count that stays ahead of the file means records
// are missing (the file was cut short) and stops the open; one that stays
// behind only costs the other program its count and is read by size
// (velmont-batch check warns about it).
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "date.h"
#include "field.h"
#include "file.h"
#include "record_blocks.h"

namespace velmont::data {

// A field of a table to be created: name, type, width, decimals.
struct FieldSpec {
  std::string name;
  char type;
  int width;
  int decimals = 0;
};

class DbfFile {
 public:
  // Opens and validates a table file; throws DataError naming the file and the fault.
  static std::unique_ptr<DbfFile> open(const std::string& path, OpenMode mode);
  // Creates a new table (and its .dbt when it has memo fields); fails if it exists.
  // `languageDriver` goes to header offset 29 (0: no code page recorded).
  static void create(const std::string& path, const std::vector<FieldSpec>& fields, uint8_t languageDriver = 0);

  DbfFile(const DbfFile&) = delete;
  DbfFile& operator=(const DbfFile&) = delete;
  ~DbfFile();

  const std::string& path() const { return path_; }
  const std::vector<FieldDesc>& fields() const { return fields_; }
  int fieldIndex(std::string_view name) const;  // -1 when absent
  int recordLength() const { return recordLength_; }
  bool hasMemo() const { return hasMemo_; }
  bool writable() const { return writable_; }
  // The language-driver byte of the header (offset 29): the code page of the
  // table's text as the program that made it recorded it; 0 when none is recorded.
  uint8_t languageDriver() const { return languageDriver_; }

  // Records in the file now, derived from its size as shared readers must.
  uint32_t recordCount();
  // The records now and the header's date of last update, as 16 bytes: equal
  // stamps taken at two moments mean no writer has appended in between, nor
  // (on another day) changed a record. An index built here keeps its table's.
  std::string stamp();
  // The count as last derived, without asking the file system again.
  uint32_t knownRecordCount() const { return knownCount_; }
  // Reads record `recno` (1-based) into buf (recordLength bytes); false when it
  // lies beyond the end of the file. `fresh` bypasses records read ahead earlier.
  bool readRecord(uint32_t recno, char* buf, bool fresh = false) {
    if (!fresh && recno >= aheadFirst_ && recno < aheadFirst_ + aheadCount_ && aheadFirst_ != 0) {
      std::memcpy(buf, aheadData_ + size_t(recno - aheadFirst_) * size_t(recordLength_), size_t(recordLength_));
      lastRead_ = recno;
      return true;
    }
    return readRecordFromFile(recno, buf, fresh);
  }
  // Writes a whole record image in one write. The caller holds the record lock.
  void writeRecord(uint32_t recno, const char* buf);
  // Appends a complete record image under the header lock and returns its number.
  uint32_t appendRecord(const char* buf);

  // The header (append) lock, held across a search and the append it decides on
  // so that two writers cannot both append the same record. Nested calls count.
  bool lockHeader(int timeoutMs);
  void unlockHeader();
  // Forgets records read ahead, so the next reads see what others wrote since.
  void dropReadAhead();
  // The header's record count and the file's, read once no append of another
  // writer is under way: waits up to `timeoutMs` for the table's append lock, so
  // that an append between its two writes (header and record) has made both.
  // `settled` is false when the lock stayed held (the counts are read anyway).
  struct Counts {
    uint32_t header = 0;
    uint32_t file = 0;
    bool settled = false;
  };
  Counts settledCounts(int timeoutMs = kAppendWaitMs);
  // How long an open or a read waits for an append under way before it judges
  // a header count or an index entry that disagrees with the file.
  static constexpr int kAppendWaitMs = 3000;
  // What an open does between its two looks at a header that counts one record
  // more than the file holds (a quarter of a second); tests put in what a
  // writer would do meanwhile.
  static std::function<void()>& secondLookPause();

  // Record locks of the shared lock scheme; false when another holder has it.
  bool lockRecord(uint32_t recno, int timeoutMs);
  void unlockRecord(uint32_t recno);
  // Moves the lock region (1,000,000,000 by default) for tables whose writers use another.
  void setLockBase(uint64_t base) { lockBase_ = base; }

  void sync() { file_->sync(); }
  // Makes tables created or appended to by the calling thread record `date` as
  // their date of last update instead of today (for files that must come out
  // byte for byte the same); the empty date restores today.
  static void setUpdateDateForThisThread(const Date& date);

  // Path of the memo file beside the table (same name, .dbt extension).
  std::string memoPath() const;
  static std::string memoPathFor(const std::string& tablePath);

 private:
  DbfFile(std::string path, std::unique_ptr<File> file, bool writable);
  void readHeader();
  void checkCountAgainstFile();
  void fillReadAhead(uint32_t recno);
  bool readRecordFromFile(uint32_t recno, char* buf, bool fresh);
  // Serves a record from the blocks kept for a run, reading its block once.
  void readKeptRecord(uint32_t recno, char* buf);
  // Reads a block while no writer holds one of its record locks (or, for the
  // table's last block, its append lock), so no record is read half-written.
  std::vector<char> readBlockUnwritten(uint32_t first, uint32_t count);

  std::string path_;
  std::unique_ptr<File> file_;
  bool writable_;
  std::vector<FieldDesc> fields_;
  uint32_t headerLength_ = 0;
  int recordLength_ = 0;
  bool hasMemo_ = false;
  uint8_t languageDriver_ = 0;
  uint64_t lockBase_ = 1000000000ull;
  uint32_t knownCount_ = 0;
  int headerLocks_ = 0;

  // Sequential reads fetch many records at once; random reads fetch one.
  std::vector<char> ahead_;
  const char* aheadData_ = nullptr;  // ahead_'s bytes, or a kept block's
  std::unique_ptr<RecordBlocks> kept_;  // during a report run, for tables read only
  uint32_t aheadFirst_ = 0;  // record number of ahead_[0], 0 when empty
  uint32_t aheadCount_ = 0;
  uint32_t lastRead_ = 0;
};

}  // namespace velmont::data
