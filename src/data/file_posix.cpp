// Files on POSIX systems. Byte-range locks are Linux open-file-description locks,
// which belong to the open file: closing another descriptor of the same file in
// this process does not drop them, as it would classic fcntl locks.
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "error.h"
#include "file.h"

#ifndef F_OFD_SETLK
#error "open-file-description locks (F_OFD_SETLK) are required"
#endif

namespace velmont::data {
namespace {

std::string errnoText() { return std::strerror(errno); }

class PosixFile final : public File {
 public:
  PosixFile(std::string path, int fd) : File(std::move(path)), fd_(fd) {}
  ~PosixFile() override {
    if (map_) ::munmap(map_, mapLength_);
    ::close(fd_);
  }

  size_t readAt(uint64_t offset, void* buf, size_t n) override {
    size_t done = 0;
    while (done < n) {
      ssize_t r = ::pread(fd_, static_cast<char*>(buf) + done, n - done, off_t(offset + done));
      if (r < 0) {
        if (errno == EINTR) continue;
        throw DataError(path(), "cannot read: " + errnoText());
      }
      if (r == 0) break;
      done += size_t(r);
    }
    countRead(*this, done);
    return done;
  }

  void writeAt(uint64_t offset, const void* buf, size_t n) override {
    size_t done = 0;
    while (done < n) {
      ssize_t r = ::pwrite(fd_, static_cast<const char*>(buf) + done, n - done, off_t(offset + done));
      if (r < 0) {
        if (errno == EINTR) continue;
        throw DataError(path(), "cannot write: " + errnoText());
      }
      done += size_t(r);
    }
  }

  uint64_t size() override {
    struct stat st;
    if (::fstat(fd_, &st) != 0) throw DataError(path(), "cannot read its size: " + errnoText());
    return uint64_t(st.st_size);
  }

  void sync() override { ::fdatasync(fd_); }

  bool tryLock(uint64_t offset, uint64_t length, LockKind kind) override {
    struct flock fl{};
    fl.l_type = kind == LockKind::kExclusive ? F_WRLCK : F_RDLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = off_t(offset);
    fl.l_len = off_t(length);
    fl.l_pid = 0;
    while (::fcntl(fd_, F_OFD_SETLK, &fl) != 0) {
      if (errno == EINTR) continue;
      if (errno == EACCES || errno == EAGAIN) return false;
      // A read-only descriptor cannot take an exclusive lock; treat it as unavailable.
      if (errno == EBADF) return false;
      throw DataError(path(), "cannot lock: " + errnoText());
    }
    return true;
  }

  void unlock(uint64_t offset, uint64_t length) override {
    struct flock fl{};
    fl.l_type = F_UNLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = off_t(offset);
    fl.l_len = off_t(length);
    fl.l_pid = 0;
    while (::fcntl(fd_, F_OFD_SETLK, &fl) != 0 && errno == EINTR) {
    }
  }

  const char* map(uint64_t* length) override {
    if (!map_) {
      const uint64_t n = size();
      if (n == 0) return nullptr;
      void* p = ::mmap(nullptr, n, PROT_READ, MAP_SHARED, fd_, 0);
      if (p == MAP_FAILED) return nullptr;
      map_ = p;
      mapLength_ = n;
    }
    *length = mapLength_;
    return static_cast<const char*>(map_);
  }

 private:
  int fd_;
  void* map_ = nullptr;
  uint64_t mapLength_ = 0;
};

class PosixEnv final : public Env {
 public:
  std::unique_ptr<File> open(const std::string& path, OpenMode mode) override {
    // A FIFO or device would block the open or never end: say what it is instead.
    if (const std::string kind = nonRegularKind(path); !kind.empty() && kind != "a directory")
      throw DataError(path, "is " + kind + ", not a file");
    const int flags = (mode == OpenMode::kReadWrite ? O_RDWR : O_RDONLY) | O_CLOEXEC;
    int fd = ::open(path.c_str(), flags);
    if (fd < 0) {
      if (errno == ENOENT) throw DataError(path, "file not found");
      throw DataError(path, "cannot open: " + errnoText());
    }
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
      ::close(fd);
      throw DataError(path, "is a directory, not a file");
    }
    return std::make_unique<PosixFile>(path, fd);
  }

  std::unique_ptr<File> create(const std::string& path) override {
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) throw DataError(path, "cannot create: " + errnoText());
    return std::make_unique<PosixFile>(path, fd);
  }

  bool exists(const std::string& path) override {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
  }

  void rename(const std::string& from, const std::string& to) override {
    if (std::rename(from.c_str(), to.c_str()) != 0)
      throw DataError(to, "cannot replace with " + from + ": " + errnoText());
  }

  bool publish(const std::string& from, const std::string& to) override {
    // A hard link fails when the name exists, which makes the test and the move one step.
    if (::link(from.c_str(), to.c_str()) == 0) {
      ::unlink(from.c_str());
      return true;
    }
    if (errno == EEXIST) return false;
    // Some network and removable file systems have no hard links: there the
    // move that refuses to replace is the next best thing.
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno == EEXIST) return false;
    if (exists(to)) return false;
    rename(from, to);
    return true;
  }

  void remove(const std::string& path) override { ::unlink(path.c_str()); }

  std::string find(const std::string& dir, const std::string& name) override {
    const std::string exact = pathIn(dir, name);
    struct stat st;
    if (::stat(exact.c_str(), &st) == 0) return exact;
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return {};
    // Of several entries that differ only in case the first in byte order, so
    // that every run picks the same one.
    std::string best;
    while (const dirent* e = ::readdir(d))
      if (sameName(e->d_name, name) && (best.empty() || std::strcmp(e->d_name, best.c_str()) < 0)) best = e->d_name;
    ::closedir(d);
    return best.empty() ? best : pathIn(dir, best);
  }
};

}  // namespace

std::filesystem::path fsPath(const std::string& path) { return std::filesystem::path(path); }
std::string pathText(const std::filesystem::path& path) { return path.string(); }

Env* Env::posixOrWin() {
  static PosixEnv env;
  return &env;
}

}  // namespace velmont::data
