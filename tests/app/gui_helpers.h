#pragma once
// Driving real windows in tests: act on the next modal window as soon as it is
// shown (message boxes and dialogs run their own event loops), and type keys.
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <ostream>

// Readable QStrings in test failures.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace velmont::testing {

// Calls `act` with the next modal window once it is visible. The wait ends
// with the test's own loop; nothing sleeps.
inline void onNextModal(std::function<void(QWidget*)> act) {
  auto* timer = new QTimer(qApp);
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, act] {
    QWidget* w = QApplication::activeModalWidget();
    if (!w || !w->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    act(w);
  });
  timer->start();
}

// The text of a message box, or "" when `w` is none.
inline QString messageText(QWidget* w) {
  auto* box = qobject_cast<QMessageBox*>(w);
  return box ? box->text() : QString();
}

// Presses the message box's button with this text.
inline void clickButton(QWidget* w, const QString& text) {
  if (auto* box = qobject_cast<QMessageBox*>(w))
    for (QAbstractButton* b : box->buttons())
      if (b->text().remove('&') == text) {
        b->click();
        return;
      }
}

inline void pressKey(QWidget* w, Qt::Key key, const QString& text = {}) {
  QTest::keyClick(w->focusWidget() ? w->focusWidget() : w, key, Qt::NoModifier);
  (void)text;
}

// Every label text in a window, for finding what it shows.
inline QStringList labelTexts(QWidget* w) {
  QStringList texts;
  for (QLabel* l : w->findChildren<QLabel*>()) texts << l->text();
  return texts;
}

}  // namespace velmont::testing
