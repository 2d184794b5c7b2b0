#include "progress_display.h"

#include <QFrame>
#include <QLabel>
#include <atomic>

#include "qtcore/gui_thread.h"
#include "widgets/lmd_controls.h"

namespace velmont::app {
namespace {

std::atomic<ProgressDisplay*> gMainWindows{nullptr};

}  // namespace

ProgressDisplay* ProgressDisplay::ofMainWindow() { return gMainWindows.load(); }

void ProgressDisplay::setOfMainWindow(ProgressDisplay* display) { gMainWindows.store(display); }

ProgressDisplay::ProgressDisplay(QLabel* line1, QLabel* line2, const std::array<QFrame*, 4>& rules)
    : line1_(line1), line2_(line2) {
  for (size_t i = 0; i < rules.size(); ++i) rules_[i] = rules[i];
}

void ProgressDisplay::setLine1(const QString& text) {
  if (line1_) widgets::lmdReSay(line1_, text);
}

void ProgressDisplay::setLine2(const QString& text) {
  if (line2_) widgets::lmdReSay(line2_, text);
}

void ProgressDisplay::setBar(double share, const QString& bar) {
  QPointer<QLabel> line = line2_;
  if (!line) return;
  qtcore::postToGui(line, [line, share, bar] {
    line->setText(bar);
    line->setProperty("share", share);
  });
}

void ProgressDisplay::showFrame(bool visible) {
  for (auto& r : rules_)
    if (r) widgets::lmdShow(r, visible);
}

void ProgressDisplay::reset() {
  setLine1(" ");
  setLine2(" ");
  showFrame(false);
}

}  // namespace velmont::app
