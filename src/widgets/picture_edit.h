#pragma once
// An entry field with a picture, a width in characters, an optional check that
// keeps the user in the field when it refuses the text, and a help line.
#include <QLineEdit>
#include <functional>

#include "picture.h"

namespace velmont::widgets {

class PictureEdit : public QLineEdit {
  Q_OBJECT
 public:
  PictureEdit(const QString& picture, int width, QWidget* parent = nullptr);

  const Picture& picture() const { return picture_; }
  int width() const { return width_; }
  // The text as the field holds it, padded with blanks to its width.
  QString value() const;
  void setValue(const QString& text);

  // A check run when the user leaves the field; false keeps the focus here.
  void setCheck(std::function<bool(const QString& text)> check) { check_ = std::move(check); }
  // Runs the check now (e.g. before a run starts); false when refused.
  bool checkNow();
  // After a refusal's message: the field takes the focus back, with its text
  // selected, and takes it again when its window is next activated (a window
  // manager may activate the window after the message closes and give the
  // focus to its first field).
  void takeFocusBack();

  // The line shown in the dialog's help line while the field has the focus.
  void setHelp(const QString& help) { help_ = help; }
  const QString& help() const { return help_; }

 signals:
  void helpShown(const QString& help);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  Picture picture_;
  int width_;
  std::function<bool(const QString&)> check_;
  QString help_;
  bool clearPending_ = false;
  bool checking_ = false;
};

}  // namespace velmont::widgets
