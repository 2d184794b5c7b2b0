#include "progress.h"

#include <cstdio>

#include "terminal.h"

namespace velmont::batch {

namespace {
constexpr int kBarWidth = 30;
}

Progress::Progress(bool enabled) : enabled_(enabled) {}
Progress::Progress() : Progress(stderrIsTerminal()) {}
Progress::~Progress() { finish(); }

void Progress::start(const std::string& label, uint64_t total) {
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

void Progress::draw(int percent) {
  shown_ = percent;
  const int filled = percent * kBarWidth / 100;
  std::fprintf(stderr, "\r%-24.24s [%.*s%*s] %3d%%", label_.c_str(), filled,
               "##############################", kBarWidth - filled, "", percent);
  std::fflush(stderr);
}

void Progress::finish() {
  if (!enabled_ || shown_ < 0) return;
  std::fprintf(stderr, "\r%*s\r", 24 + kBarWidth + 8, "");
  std::fflush(stderr);
  shown_ = -1;
}

}  // namespace velmont::batch
