#pragma once
// Carrying work over to the GUI thread. Widgets live on the GUI thread only; a
// report's worker thread reaches them through these calls.
#include <QApplication>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QThread>
#include <type_traits>
#include <utility>

namespace velmont::widgets {

// True on the thread that runs the application's event loop.
inline bool onGuiThread() { return qApp && QThread::currentThread() == qApp->thread(); }

// Runs `f` on the GUI thread and returns its result; from a worker thread the
// worker waits until the GUI thread has run it.
template <class F>
auto callOnGui(F&& f) -> std::invoke_result_t<F> {
  using R = std::invoke_result_t<F>;
  if (onGuiThread() || !qApp) return f();
  if constexpr (std::is_void_v<R>) {
    QMetaObject::invokeMethod(qApp, [&] { f(); }, Qt::BlockingQueuedConnection);
  } else {
    R result{};
    QMetaObject::invokeMethod(qApp, [&] { result = f(); }, Qt::BlockingQueuedConnection);
    return result;
  }
}

// Runs `f` on the GUI thread for `target` without waiting; on the GUI thread it
// runs at once. Dropped when the target is destroyed first.
template <class F>
void postToGui(QObject* target, F&& f) {
  if (!target) return;
  if (onGuiThread()) {
    f();
    return;
  }
  QPointer<QObject> guard(target);
  QMetaObject::invokeMethod(
      target, [guard, fn = std::forward<F>(f)]() mutable {
        if (guard) fn();
      },
      Qt::QueuedConnection);
}

}  // namespace velmont::widgets
