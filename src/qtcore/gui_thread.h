#pragma once
// Every hop between a report's run thread and the GUI thread goes through here.
// Widgets live on the GUI thread only; a run reaches them with callOnGui (it
// waits for the answer) or postToGui (it does not). The GUI thread waits for a
// run with waitOnGui, which keeps its events flowing without polling.
//
// One rule for "the GUI thread": the thread of the application's event loop,
// and, while there is no application object (velmont-batch before it makes
// one, some tests), every thread: there is no event loop to hand work to, so
// work runs at once on the calling thread.
#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QThread>
#include <type_traits>
#include <utility>

namespace velmont::qtcore {

// True on the thread that runs the application's event loop, or anywhere when
// there is no application.
inline bool onGuiThread() {
  const QCoreApplication* app = QCoreApplication::instance();
  return !app || QThread::currentThread() == app->thread();
}

// Runs `f` on the GUI thread and returns its result; a run thread waits until
// the GUI thread has run it. The GUI thread must not be blocked waiting for the
// caller (it waits with waitOnGui, which answers such calls).
template <class F>
auto callOnGui(F&& f) -> std::invoke_result_t<F> {
  using R = std::invoke_result_t<F>;
  if (onGuiThread()) return f();
  if constexpr (std::is_void_v<R>) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), [&] { f(); }, Qt::BlockingQueuedConnection);
  } else {
    R result{};
    QMetaObject::invokeMethod(QCoreApplication::instance(), [&] { result = f(); }, Qt::BlockingQueuedConnection);
    return result;
  }
}

// Runs `f` on the GUI thread, in the next pass of its event loop, without
// waiting; dropped when `target` (the object `f` works on; the application
// when null) is destroyed first.
template <class F>
void later(QObject* target, F&& f) {
  QObject* receiver = target ? target : QCoreApplication::instance();
  if (!receiver) return;
  QPointer<QObject> guard(receiver);
  QMetaObject::invokeMethod(
      receiver, [guard, fn = std::forward<F>(f)]() mutable {
        if (guard) fn();
      },
      Qt::QueuedConnection);
}

// Runs `f` on the GUI thread for `target` without waiting: at once when called
// there, else in the GUI thread's next pass. Nothing happens when the target is
// null or destroyed first.
template <class F>
void postToGui(QObject* target, F&& f) {
  if (!target) return;
  if (onGuiThread()) {
    f();
    return;
  }
  later(target, std::forward<F>(f));
}

// Wakes the GUI thread out of waitOnGui; callable from any thread. Whoever
// makes a waited-for condition true calls this afterwards.
inline void wakeGui() {
  if (const QCoreApplication* app = QCoreApplication::instance())
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(app->thread()))
      dispatcher->wakeUp();
}

// On the GUI thread: handles events (the run's questions and windows among
// them) until `done()` holds, sleeping in the event dispatcher in between. A
// wake that comes before the dispatcher sleeps is kept, so none is lost.
template <class Done>
void waitOnGui(Done&& done) {
  while (!done()) QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

}  // namespace velmont::qtcore
