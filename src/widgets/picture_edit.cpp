#include "picture_edit.h"

#include <QFocusEvent>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QValidator>
#include <algorithm>

#include "cells.h"
#include "libs/date_text.h"

namespace velmont::widgets {
namespace {

class PictureValidator : public QValidator {
 public:
  PictureValidator(const Picture& picture, QObject* parent) : QValidator(parent), picture_(picture) {}
  State validate(QString& input, int&) const override {
    return picture_.accept(input) ? Acceptable : Invalid;
  }

 private:
  Picture picture_;
};

// The input mask of a date field: digits where the template has blanks.
QString dateMask() {
  QString mask;
  for (char c : libs::dateText({}))
    mask += c == ' ' ? QChar('0') : QChar(c);
  return mask + "; ";
}

}  // namespace

PictureEdit::PictureEdit(const QString& picture, int width, QWidget* parent)
    : QLineEdit(parent), picture_(Picture::parse(picture)), width_(width) {
  if (picture_.date) {
    setInputMask(dateMask());
    width_ = int(libs::dateText({}).size());
  } else {
    if (!picture_.rules.isEmpty() && (width_ <= 0 || width_ > picture_.rules.size()))
      width_ = int(picture_.rules.size());
    if (width_ > 0) setMaxLength(std::max(width_, picture_.room()));
    setValidator(new PictureValidator(picture_, this));
  }
}

QString PictureEdit::value() const {
  QString text = picture_.date ? displayText() : this->text();
  if (text.size() < width_) text += QString(width_ - text.size(), ' ');
  return text;
}

void PictureEdit::setValue(const QString& text) {
  if (picture_.date) {
    setText(text);
    return;
  }
  QString t = text;
  if (width_ > 0 && t.size() > width_) t.truncate(width_);
  // A value that breaks the picture is shown as far as it fits (e.g. saved options).
  if (!picture_.accept(t)) {
    QString kept;
    for (const QChar c : t) {
      QString probe = kept + c;
      if (!picture_.accept(probe)) break;
      kept = probe;
    }
    t = kept;
  }
  setText(t);
}

bool PictureEdit::checkNow() {
  if (!check_ || checking_) return true;
  checking_ = true;
  const bool ok = check_(value());
  checking_ = false;
  return ok;
}

namespace {

// Gives the focus to the field when its window is activated next, once.
class FocusOnActivation : public QObject {
 public:
  FocusOnActivation(PictureEdit* field) : QObject(field), field_(field) {
    setObjectName(kName);
    field->window()->installEventFilter(this);
  }
  static constexpr const char* kName = "focusOnActivation";
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == field_->window() && event->type() == QEvent::WindowActivate) {
      // Once the activation has given the focus where it will.
      QTimer::singleShot(0, field_, [field = field_] {
        if (field->isVisible() && field->isEnabled() && field->window()->isActiveWindow() && !field->hasFocus()) {
          field->setFocus(Qt::PopupFocusReason);
          field->selectAll();
        }
      });
      field_->window()->removeEventFilter(this);
      deleteLater();
    }
    return false;
  }

 private:
  PictureEdit* field_;
};

}  // namespace

void PictureEdit::takeFocusBack() {
  // The field the user went to keeps its selection when it loses the focus
  // this way; only the refused field is to look selected.
  auto* other = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  setFocus(Qt::PopupFocusReason);
  if (other && other != this) other->deselect();
  selectAll();
  if (!window()->isActiveWindow() && !findChild<QObject*>(FocusOnActivation::kName, Qt::FindDirectChildrenOnly))
    new FocusOnActivation(this);
}

void PictureEdit::keyPressEvent(QKeyEvent* event) {
  if (clearPending_) {
    const QString typed = event->text();
    const bool printable = !typed.isEmpty() && typed[0].isPrint() &&
                           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (printable) {
      clear();
      setCursorPosition(0);
    }
    // Any key ends the chance to clear: moving in the text keeps it.
    clearPending_ = false;
  }
  // A full field is typed over, character by character, as on a form.
  const QString typed = event->text();
  if (!picture_.date && width_ > 0 && !hasSelectedText() && !typed.isEmpty() && typed[0].isPrint() &&
      text().size() >= width_ && cursorPosition() < width_)
    setSelection(cursorPosition(), 1);
  QLineEdit::keyPressEvent(event);
}

// A field starts padded with blanks (a file name of 30 blanks): a click in
// its blank part puts the cursor just after the last character typed, where
// the next key goes in, instead of at the end of a full field that takes
// nothing more.
void PictureEdit::mousePressEvent(QMouseEvent* event) {
  QLineEdit::mousePressEvent(event);
  if (picture_.date || event->button() != Qt::LeftButton || (event->modifiers() & Qt::ShiftModifier)) return;
  const QString t = text();
  qsizetype end = t.size();
  while (end > 0 && t[end - 1] == ' ') --end;
  if (cursorPosition() > end) setCursorPosition(int(end));
  // A click past the text of a full field selects the text, so that typing
  // replaces it (at the end of a full field a key would go nowhere).
  if (width_ > 0 && end >= width_ && cursorPosition() >= end) selectAll();
}

void PictureEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  // Typing starts at the field's first character unless the text is selected
  // (Tab) or the user clicked a place in it.
  if (!hasSelectedText() && event->reason() != Qt::MouseFocusReason) setCursorPosition(0);
  clearPending_ = picture_.clearOnKey;
  emit helpShown(help_);
}

void PictureEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  clearPending_ = false;
  const Qt::FocusReason r = event->reason();
  const bool leaving = r == Qt::TabFocusReason || r == Qt::BacktabFocusReason || r == Qt::MouseFocusReason ||
                       r == Qt::ShortcutFocusReason || r == Qt::OtherFocusReason;
  if (!leaving || !check_ || checking_) return;
  if (!checkNow()) {
    // Back into the field once the focus change in progress is over; the
    // field being left for it is not checked on the way (popup reason).
    QTimer::singleShot(0, this, [this] { takeFocusBack(); });
  }
}

}  // namespace velmont::widgets
