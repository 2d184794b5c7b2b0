#include "lmd_dialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>

#include "cells.h"
#include "picture_edit.h"

namespace velmont::widgets {

LmdDialog::LmdDialog(QWidget* parent, double rows, double columns, const QString& title, const QString& font)
    : QDialog(parent) {
  setWindowTitle(title);
  if (!font.isEmpty()) setFont(lmdFont(font));
  resize(cellSize(rows, columns));
}

void LmdDialog::addField(QWidget* field) {
  fields_.push_back(field);
  if (auto* edit = qobject_cast<PictureEdit*>(field)) {
    connect(edit, &PictureEdit::helpShown, this, [this](const QString& help) {
      if (helpLine_) helpLine_->setText(help);
    });
  }
}

void LmdDialog::postKey(int key) {
  QWidget* target = focusWidget() ? focusWidget() : this;
  QApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
}

void LmdDialog::keyPressEvent(QKeyEvent* event) {
  if (keyHandler_ && lHandleKeys && keyHandler_(event->key(), focusWidget())) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void LmdDialog::closeEvent(QCloseEvent* event) {
  if (isVisible() && keyHandler_ && lHandleKeys && keyHandler_(Qt::Key_Escape, nullptr)) {
    if (isVisible()) event->ignore();  // the handler kept the dialog open
    return;
  }
  QDialog::closeEvent(event);
}

void LmdDialog::showEvent(QShowEvent* event) {
  growToChildren();
  QDialog::showEvent(event);
}

// Widgets placed near the bottom or right edge (a button on the last row) must
// not be cut off: the dialog grows to hold them with a small margin.
void LmdDialog::growToChildren() {
  QSize need = size();
  const int margin = int(cellMetric().width / 2);
  for (QObject* o : children()) {
    auto* w = qobject_cast<QWidget*>(o);
    if (!w || w->isWindow() || w->isHidden()) continue;
    need = need.expandedTo(QSize(w->geometry().right() + margin, w->geometry().bottom() + margin));
  }
  if (need != size()) resize(need);
}

}  // namespace velmont::widgets
