#pragma once
// The application's main window and the one-copy-per-title rule.
#include <QMainWindow>
#include <functional>

namespace velmont::widgets {

// A main window with a drawing area in character cells. Its close button asks
// `onClose` (the program's exit); the maximise button is off.
class AppWindow : public QMainWindow {
  Q_OBJECT
 public:
  AppWindow(const QString& title, double rows, double columns);
  QWidget* area() const { return area_; }
  void setOnClose(std::function<void()> onClose) { onClose_ = std::move(onClose); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* area_;
  std::function<void()> onClose_;
};

// lmdApp: the main window, titled, with a raised or recessed drawing area.
AppWindow* lmdApp(const QString& title, const QString& style = "raised", double rows = 24, double columns = 90);

// lmdOneInst: true when no other copy of the program with this title runs for
// this user (the rule then holds until the program ends); false otherwise.
// The lock file lives in the temporary folder (TMPDIR), so a program started
// with a folder of its own, as the window tests do, has a lock of its own.
bool lmdOneInst(const QString& title);

}  // namespace velmont::widgets
