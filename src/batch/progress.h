#pragma once
// A one-line progress bar on standard error for long batch work; silent unless
// standard error is a terminal, so logs and pipes stay clean.
#include <chrono>
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
  // Counted work: `done` of `total` things (cards, students) under `label`,
  // shown with the rate so far and the time left at that rate. Redraws when
  // the percentage changes, and at least every half second.
  void count(const std::string& label, uint64_t done, uint64_t total);
  // Clears the line.
  void finish();
  // Clears the line for another text; the next call draws it again.
  void interrupt();

 private:
  void draw(int percent, const std::string& tail = {});

  bool enabled_;
  std::string label_;
  uint64_t total_ = 0;
  int shown_ = -1;
  std::chrono::steady_clock::time_point started_{};  // the counted work's start
  std::chrono::steady_clock::time_point drawn_{};    // its last redraw
  uint64_t counted_ = 0;                             // the last count drawn
  bool counting_ = false;                            // count() draws the line
};

}  // namespace velmont::batch
