#include "lmd_app.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCryptographicHash>
#include <QFrame>
#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

#include "cells.h"

namespace velmont::widgets {

AppWindow::AppWindow(const QString& title, double rows, double columns) {
  setWindowTitle(title);
  setWindowFlag(Qt::WindowMaximizeButtonHint, false);
  auto* frame = new QFrame(this);
  area_ = frame;
  setCentralWidget(frame);
  frame->setMinimumSize(cellSize(rows, columns));
}

void AppWindow::closeEvent(QCloseEvent* event) {
  if (onClose_) {
    // The program's exit closes everything itself.
    event->ignore();
    onClose_();
    return;
  }
  QMainWindow::closeEvent(event);
}

AppWindow* lmdApp(const QString& title, const QString& style, double rows, double columns) {
  auto* window = new AppWindow(title, rows, columns);
  auto* frame = static_cast<QFrame*>(window->area());
  frame->setFrameShape(QFrame::Panel);
  frame->setFrameShadow(style.compare("recessed", Qt::CaseInsensitive) == 0 ? QFrame::Sunken : QFrame::Raised);
  return window;
}

bool lmdOneInst(const QString& title) {
  static QLockFile* lock = nullptr;
  if (lock) return true;
  const QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
  const QByteArray key = QCryptographicHash::hash((title + '\n' + user).toUtf8(), QCryptographicHash::Sha1).toHex();
  const QString path = QDir(QStandardPaths::writableLocation(QStandardPaths::TempLocation))
                           .filePath("velmont-" + QString::fromLatin1(key.left(16)) + ".lock");
  auto* candidate = new QLockFile(path);
  // Never stale by age: only a lock whose process has died is taken over.
  candidate->setStaleLockTime(0);
  if (!candidate->tryLock(0)) {
    delete candidate;
    return false;
  }
  lock = candidate;
  return true;
}

}  // namespace velmont::widgets
