#pragma once
// Running work on the GUI thread from a report's worker thread.
#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <utility>

namespace velmont::print {

inline bool onGuiThread() {
  return !QCoreApplication::instance() ||
         QThread::currentThread() == QCoreApplication::instance()->thread();
}

// Runs `work` on the GUI thread and waits for it to finish; runs it at once when called
// there. The GUI thread must not be waiting for the caller meanwhile.
template <typename Work>
void runOnGuiThread(Work&& work) {
  if (onGuiThread()) {
    work();
    return;
  }
  QMetaObject::invokeMethod(QCoreApplication::instance(), std::forward<Work>(work),
                            Qt::BlockingQueuedConnection);
}

}  // namespace velmont::print
