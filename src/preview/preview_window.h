#pragma once
// The preview window: the scroll area with the page image on its canvas, the control
// panel on the right, and the hidden key receiver. Every button posts its key code to the
// key receiver and every key reaches the preview's key handler (lmcPrv3::pWinKeys); the
// window only shows and forwards. It lives on the GUI thread.
#include <QEvent>
#include <QWidget>

class QAbstractButton;

namespace velmont::print {

class lmcPrv3;

// A button label in the "~" form of the program's texts ("~Next Page"): the marked letter
// is shown underlined; the key itself is served by the key handler, not by the button.
void setButtonLabel(QAbstractButton* button, const QString& label);

class PreviewWindow : public QWidget {
  Q_OBJECT
 public:
  // Builds the window and its controls and points the preview's widget members at them.
  PreviewWindow(lmcPrv3& preview, const QString& deviceName, bool stayOnTop);
  ~PreviewWindow() override;

  // While a call of openPwin waits, the window takes keys and clicks; between calls it
  // only shows the last page.
  bool waiting() const { return waiting_; }
  void setWaiting(bool waiting) { waiting_ = waiting; }

  // Posts a key code to the key receiver, as the buttons do.
  void postKey(int code);
  // Posts the event that ends the current call.
  void postClose();
  void setStayOnTop(bool onTop);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void customEvent(QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildPanel();
  void buildZoomGroup(QWidget* panel);
  void buildPageGroup(QWidget* panel);
  void buildPrintGroup(QWidget* panel);
  void buildMarkerGroup(QWidget* panel);
  void buildBottomButtons(QWidget* panel);
  QAbstractButton* keyButton(QWidget* parent, const QString& label, int key, const QString& font,
                             const QRect& at);
  void watch(QWidget* control);
  void chooseRange(bool range);

  lmcPrv3& preview_;
  bool waiting_ = false;
};

// The event a button posts to the key receiver.
class PostedKeyEvent : public QEvent {
 public:
  static QEvent::Type eventType();
  explicit PostedKeyEvent(int code) : QEvent(eventType()), code_(code) {}
  int code() const { return code_; }

 private:
  int code_;
};

}  // namespace velmont::print
