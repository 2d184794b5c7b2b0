#pragma once
// Random-access files with byte-range locks, behind a small interface so that the
// platform calls stay in one place and tests can inject failing reads.
#include <cstdint>
#include <memory>
#include <filesystem>
#include <string>
#include <string_view>

namespace velmont::data {

enum class OpenMode { kRead, kReadWrite };
enum class LockKind { kShared, kExclusive };

class File {
 public:
  virtual ~File() = default;
  // Reads up to n bytes at offset; returns the number read (short at end of file).
  // Throws DataError on an I/O failure.
  virtual size_t readAt(uint64_t offset, void* buf, size_t n) = 0;
  // Writes all n bytes at offset in one call; throws DataError on failure.
  virtual void writeAt(uint64_t offset, const void* buf, size_t n) = 0;
  virtual uint64_t size() = 0;
  virtual void sync() = 0;
  // Tries once to lock [offset, offset+length); false when another holder has it.
  // Locks belong to this open file, not to the process.
  virtual bool tryLock(uint64_t offset, uint64_t length, LockKind kind) = 0;
  virtual void unlock(uint64_t offset, uint64_t length) = 0;
  // A read-only view of the whole file as it was when mapped, or null when the
  // file cannot be mapped; valid until the File is destroyed.
  virtual const char* map(uint64_t* length) { return nullptr; }
  const std::string& path() const { return path_; }

 protected:
  explicit File(std::string path) : path_(std::move(path)) {}

 private:
  std::string path_;
};

// Where files come from. The process-wide default opens real files; tests install
// another for the calling thread to make reads fail or come back short.
class Env {
 public:
  virtual ~Env() = default;
  // Opens an existing file; throws DataError naming the file when it cannot.
  virtual std::unique_ptr<File> open(const std::string& path, OpenMode mode) = 0;
  // Creates a new file, failing if it exists (exclusive creation).
  virtual std::unique_ptr<File> create(const std::string& path) = 0;
  virtual bool exists(const std::string& path) = 0;
  // Atomically moves `from` over `to`.
  virtual void rename(const std::string& from, const std::string& to) = 0;
  // Moves the finished file `from` to `to` only when nothing is there yet, in
  // one step, so that no other program ever sees `to` half written. False
  // (and `from` left as it is) when `to` already exists.
  virtual bool publish(const std::string& from, const std::string& to) = 0;
  virtual void remove(const std::string& path) = 0;
  // The path of the entry `name` of directory `dir` (the current directory when
  // empty) in whatever letter case the directory holds it, as a Windows
  // directory finds a name: `name` itself when it is there, else the entry whose
  // name equals it but for the case of the letters A-Z. Empty when there is none.
  virtual std::string find(const std::string& dir, const std::string& name) = 0;

  static Env* posixOrWin();  // the real file system
  static Env* current();     // the calling thread's override, else the real one
  static void setThreadOverride(Env* env);  // null restores the real one
};

// Read calls made through the real file system by the whole process. Where the
// school's data lies on a network drive every read call is a round trip, so
// tests bound these counts and benchmarks turn them into network time.
struct ReadCounts {
  uint64_t calls = 0;
  uint64_t bytes = 0;  // bytes the calls returned
};
ReadCounts readCounts();
// Called after every counted read call, on the reading thread; for benchmarks
// that make each call cost a round trip. Null removes it.
using ReadObserver = void (*)(const std::string& path, size_t bytes);
void setReadObserver(ReadObserver observer);
// The platform files call this once per read call.
void countRead(const File& file, size_t bytes);

// While one lives on a thread (a report run), the tables, indexes and memo files
// that thread opens for reading keep what they have read until they close, so
// that each part of a file on a network drive crosses the network once per run.
class KeepReadsScope {
 public:
  KeepReadsScope();
  ~KeepReadsScope();
  KeepReadsScope(const KeepReadsScope&) = delete;
  KeepReadsScope& operator=(const KeepReadsScope&) = delete;
};
bool keepReadsOnThisThread();
// Case-insensitive comparison (letters A-Z) of aliases and file names.
bool sameName(std::string_view a, std::string_view b);

// A path string as std::filesystem takes it and back. The engine's paths are bytes:
// on Windows UTF-8 (or, when not valid UTF-8, the ANSI code page), while a narrow
// std::filesystem path there goes in as ANSI and comes out as UTF-8, which would
// garble every national letter; elsewhere the bytes pass unchanged.
std::filesystem::path fsPath(const std::string& path);
std::string pathText(const std::filesystem::path& path);

// `name` in directory `dir` as a path; `name` alone when `dir` is empty.
std::string pathIn(const std::string& dir, const std::string& name);
// The directory part of a path ("" when it has none) and its last part.
std::string directoryOf(const std::string& path);
std::string fileNameOf(const std::string& path);
// The file `path` names, or the one beside it whose name differs only in the
// case of its letters (a copy from Windows often changes it), through the
// calling thread's file system; empty when there is neither.
std::string findFile(const std::string& path);

// What a path that is no regular file is ("a directory", "a named pipe (FIFO)",
// "a device", "a socket", "not a regular file"); empty for a regular file or a
// missing one. Links are followed.
std::string nonRegularKind(const std::string& path);

// A small side file (a flag or settings file of the data directory) read whole,
// up to `limit` bytes: a longer file gives its first `limit` bytes. A path that
// is no regular file (a directory, a FIFO, a device such as an endless one)
// throws DataError naming the file and saying what it is, and nothing is read.
std::string readSideFile(const std::string& path, size_t limit);

// Tries a lock repeatedly with short sleeps for up to `timeoutMs`.
bool lockWithRetry(File& f, uint64_t offset, uint64_t length, LockKind kind, int timeoutMs);

}  // namespace velmont::data
