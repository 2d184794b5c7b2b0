#pragma once
// The one error type of the table engine: which file, and what is wrong with it.
#include <stdexcept>
#include <string>

namespace velmont::data {

class DataError : public std::runtime_error {
 public:
  DataError(std::string file, std::string reason)
      : std::runtime_error(file.empty() ? reason : file + ": " + reason),
        file_(std::move(file)),
        reason_(std::move(reason)) {}
  const std::string& file() const { return file_; }
  const std::string& reason() const { return reason_; }

 private:
  std::string file_;
  std::string reason_;
};

}  // namespace velmont::data
