#pragma once
// A .dbt memo file: texts in 512-byte blocks, each ended by 0x1A.
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "file.h"

namespace velmont::data {

class MemoFile {
 public:
  static std::unique_ptr<MemoFile> open(const std::string& path, OpenMode mode);

  // The text stored from `block` on; block 0 is the empty memo.
  std::string read(uint32_t block);
  // Appends a text (never rewriting old blocks a reader may be using) and
  // returns its first block; an empty text is stored as block 0, writing nothing.
  uint32_t append(std::string_view text);
  const std::string& path() const { return file_->path(); }

 private:
  explicit MemoFile(std::unique_ptr<File> file) : file_(std::move(file)) {}
  // Up to n bytes at `at`, from the chunks kept for a report run (each read once,
  // a chunk that ended at the file's end again when the file has grown since).
  size_t readKept(uint64_t at, char* buf, size_t n, uint64_t size);

  // Throws the error for a memo past the size limit: too long, or cut short.
  [[noreturn]] void tooLarge(uint32_t block, uint64_t at, uint64_t size);
  std::unique_ptr<File> file_;
  bool keepReads_ = false;                 // opened for reading during a report run
  std::map<uint64_t, std::string> kept_;   // 64 KB chunks by number
  size_t keptBytes_ = 0;
};

// The block number held by a memo field's ten bytes; 0 for blanks, zeros or NULs.
// Throws DataError naming `tablePath` when the bytes are not a number.
uint32_t parseMemoPointer(std::string_view bytes, const std::string& tablePath);

}  // namespace velmont::data
