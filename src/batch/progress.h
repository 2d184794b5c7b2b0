#pragma once
// A one-line progress bar on standard error for long batch work; silent unless
// standard error is a terminal, so logs and pipes stay clean.
#include <cstdint>
#include <string>

namespace velmont::batch {

class Progress {
 public:
  // `enabled` false makes every call do nothing (the default asks the terminal).
  explicit Progress(bool enabled);
  Progress();
  ~Progress();
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  // Starts a new phase of `total` steps under `label`.
  void start(const std::string& label, uint64_t total);
  // Sets the number of steps done; redraws only when the shown percentage changes.
  void set(uint64_t done);
  // Clears the line.
  void finish();

 private:
  void draw(int percent);

  bool enabled_;
  std::string label_;
  uint64_t total_ = 0;
  int shown_ = -1;
};

}  // namespace velmont::batch
