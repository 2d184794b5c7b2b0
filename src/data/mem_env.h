#pragma once
// Files held in memory, for fuzzing and tests: the same interface as the real
// file system, so the engine cannot tell the difference. Optionally makes the
// k-th read fail or come back short, to prove that every read is checked.
#include <map>
#include <memory>
#include <string>

#include "file.h"

namespace velmont::data {

class MemEnv final : public Env {
 public:
  enum class Fault { kNone, kFail, kShort };

  std::unique_ptr<File> open(const std::string& path, OpenMode mode) override;
  std::unique_ptr<File> create(const std::string& path) override;
  bool exists(const std::string& path) override { return files_.count(path) != 0; }
  void rename(const std::string& from, const std::string& to) override;
  bool publish(const std::string& from, const std::string& to) override {
    if (files_.count(to)) return false;
    rename(from, to);
    return true;
  }
  void remove(const std::string& path) override { files_.erase(path); }
  std::string find(const std::string& dir, const std::string& name) override;

  void put(const std::string& path, std::string bytes) { files_[path] = std::make_shared<std::string>(std::move(bytes)); }
  // The bytes of a file, or empty when it does not exist.
  std::string get(const std::string& path) const;

  // From now on the `k`-th read (counting from 1) fails or returns half of
  // what was asked; reads() counts every read so far.
  void injectFault(Fault fault, long k) {
    fault_ = fault;
    faultAt_ = k;
    reads_ = 0;
  }
  long reads() const { return reads_; }
  long writes() const { return writes_; }

 private:
  friend class MemFile;
  std::map<std::string, std::shared_ptr<std::string>> files_;
  Fault fault_ = Fault::kNone;
  long faultAt_ = 0;
  long reads_ = 0;
  long writes_ = 0;
};

// Makes `env` the calling thread's file system until the guard goes.
class ScopedEnv {
 public:
  explicit ScopedEnv(Env* env) { Env::setThreadOverride(env); }
  ~ScopedEnv() { Env::setThreadOverride(nullptr); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;
};

}  // namespace velmont::data
