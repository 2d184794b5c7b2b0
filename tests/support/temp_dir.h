#pragma once
// A fresh directory for one test, removed with everything in it afterwards.
#include <filesystem>
#include <random>
#include <string>

namespace velmont::testing {

class TempDir {
 public:
  TempDir() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() / ("velmont-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // As UTF-8, as the program's paths are: a narrow name means the ANSI code page to
  // std::filesystem on Windows.
  std::string file(const std::string& name) const {
    const std::u8string path = (path_ / std::u8string(name.begin(), name.end())).u8string();
    return std::string(path.begin(), path.end());
  }

 private:
  std::filesystem::path path_;
};

}  // namespace velmont::testing
