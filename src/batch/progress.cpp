#include "progress.h"

#include <cstdio>

#include "terminal.h"

namespace velmont::batch {

namespace {
constexpr int kLabelWidth = 24;
constexpr int kBarWidth = 30;
constexpr int kCountBarWidth = 20;
constexpr int kTailWidth = 36;  // " 1234 of 2000, 612/s, 0:03 left", padded
constexpr int kLineWidth = 79;  // the longest line either form draws
}

Progress::Progress(bool enabled) : enabled_(enabled) {}
Progress::Progress() : Progress(stderrIsTerminal()) {}
Progress::~Progress() { finish(); }

void Progress::start(const std::string& label, uint64_t total) {
  counting_ = false;
  label_ = label;
  total_ = total;
  shown_ = -1;
  set(0);
}

void Progress::set(uint64_t done) {
  if (!enabled_) return;
  const int percent = total_ == 0 ? 100 : int(done >= total_ ? 100 : done * 100 / total_);
  if (percent != shown_) draw(percent);
}

void Progress::count(const std::string& label, uint64_t done, uint64_t total) {
  if (!enabled_) return;
  const auto now = std::chrono::steady_clock::now();
  if (!counting_ || label != label_ || total != total_) {
    counting_ = true;
    label_ = label;
    total_ = total;
    started_ = now;
    drawn_ = {};
    shown_ = -1;
  }
  const int percent = total == 0 ? 100 : int(done >= total ? 100 : done * 100 / total);
  if (percent == shown_ && done == counted_) return;
  if (percent == shown_ && now - drawn_ < std::chrono::milliseconds(500)) return;
  drawn_ = now;
  counted_ = done;
  const double seconds = std::chrono::duration<double>(now - started_).count();
  char tail[96];
  if (done == 0 || seconds <= 0) {
    std::snprintf(tail, sizeof tail, " %llu of %llu", static_cast<unsigned long long>(done),
                  static_cast<unsigned long long>(total));
  } else {
    const double rate = double(done) / seconds;
    const long left = done >= total ? 0 : long(double(total - done) / rate + 0.5);
    std::snprintf(tail, sizeof tail, " %llu of %llu, %.0f/s, %ld:%02ld left", static_cast<unsigned long long>(done),
                  static_cast<unsigned long long>(total), rate, left / 60, left % 60);
  }
  draw(percent, tail);
}

void Progress::draw(int percent, const std::string& tail) {
  shown_ = percent;
  // Counted work shows its figures after a shorter label and bar, within 80 columns.
  const bool counted = !tail.empty();
  const int labelWidth = counted ? 10 : kLabelWidth;
  const int barWidth = counted ? kCountBarWidth : kBarWidth;
  const int filled = percent * barWidth / 100;
  std::fprintf(stderr, "\r%-*.*s [%.*s%*s] %3d%%%-*s", labelWidth, labelWidth, label_.c_str(), filled,
               "##############################", barWidth - filled, "", percent, counted ? kTailWidth : 0,
               tail.c_str());
  std::fflush(stderr);
}

void Progress::interrupt() {
  if (!enabled_ || shown_ < 0) return;
  std::fprintf(stderr, "\r%*s\r", kLineWidth, "");
  std::fflush(stderr);
  shown_ = -1;
}

void Progress::finish() {
  if (!enabled_ || shown_ < 0) return;
  std::fprintf(stderr, "\r%*s\r", kLineWidth, "");
  std::fflush(stderr);
  shown_ = -1;
  counting_ = false;
}

}  // namespace velmont::batch
