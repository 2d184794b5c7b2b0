#include "mem_env.h"

#include <cstring>

#include "error.h"

namespace velmont::data {

class MemFile final : public File {
 public:
  MemFile(std::string path, std::shared_ptr<std::string> data, MemEnv& env, bool writable)
      : File(std::move(path)), data_(std::move(data)), env_(env), writable_(writable) {}

  size_t readAt(uint64_t offset, void* buf, size_t n) override {
    ++env_.reads_;
    if (env_.fault_ != MemEnv::Fault::kNone && env_.reads_ == env_.faultAt_) {
      if (env_.fault_ == MemEnv::Fault::kFail) throw DataError(path(), "cannot read: injected failure");
      n /= 2;
    }
    if (offset >= data_->size()) return 0;
    const size_t got = std::min<size_t>(n, data_->size() - size_t(offset));
    std::memcpy(buf, data_->data() + offset, got);
    return got;
  }

  void writeAt(uint64_t offset, const void* buf, size_t n) override {
    if (!writable_) throw DataError(path(), "cannot write: opened for reading");
    ++env_.writes_;
    if (data_->size() < offset + n) data_->resize(size_t(offset + n), '\0');
    std::memcpy(data_->data() + offset, buf, n);
  }

  uint64_t size() override { return data_->size(); }
  void sync() override {}
  bool tryLock(uint64_t, uint64_t, LockKind) override { return true; }
  void unlock(uint64_t, uint64_t) override {}

 private:
  std::shared_ptr<std::string> data_;
  MemEnv& env_;
  bool writable_;
};

std::unique_ptr<File> MemEnv::open(const std::string& path, OpenMode mode) {
  auto it = files_.find(path);
  if (it == files_.end()) throw DataError(path, "file not found");
  return std::make_unique<MemFile>(path, it->second, *this, mode == OpenMode::kReadWrite);
}

std::unique_ptr<File> MemEnv::create(const std::string& path) {
  if (files_.count(path)) throw DataError(path, "cannot create: file exists");
  auto data = std::make_shared<std::string>();
  files_[path] = data;
  return std::make_unique<MemFile>(path, data, *this, true);
}

void MemEnv::rename(const std::string& from, const std::string& to) {
  auto it = files_.find(from);
  if (it == files_.end()) throw DataError(from, "file not found");
  files_[to] = it->second;
  files_.erase(from);
}

std::string MemEnv::find(const std::string& dir, const std::string& name) {
  const std::string exact = pathIn(dir, name);
  if (files_.count(exact)) return exact;
  for (const auto& [path, bytes] : files_)  // in byte order, as the real one picks
    if (directoryOf(path) == directoryOf(exact) && sameName(fileNameOf(path), name)) return path;
  return {};
}

std::string MemEnv::get(const std::string& path) const {
  auto it = files_.find(path);
  return it == files_.end() ? std::string() : *it->second;
}

}  // namespace velmont::data
