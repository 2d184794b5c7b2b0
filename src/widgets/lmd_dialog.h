#pragma once
// Dialogs laid out in character cells, with a key handler that sees every key
// the dialog's fields do not use, the list of its entry fields in tab order,
// and a help line.
#include <QDialog>
#include <QVariant>
#include <functional>
#include <vector>

#include "look.h"

class QLabel;

namespace velmont::widgets {

class LmdDialog : public QDialog {
  Q_OBJECT
 public:
  // A handler gets the Qt key code and the widget with the focus; true when it
  // dealt with the key (the dialog then does nothing more with it).
  using KeyHandler = std::function<bool(int key, QWidget* field)>;

  LmdDialog(QWidget* parent, double rows, double columns, const QString& title, const QString& font = {});

  void setKeyHandler(KeyHandler handler) { keyHandler_ = std::move(handler); }
  // Runs set this false while a preview runs and true after a printer failure.
  bool lHandleKeys = true;
  // Whatever the dialog's owner keeps with it (e.g. the fields for a run's start).
  QVariant cargo;

  // Entry fields in the order they were made.
  const std::vector<QWidget*>& fields() const { return fields_; }
  void addField(QWidget* field);
  // The label that shows the help text of the field with the focus.
  void setHelpLine(QLabel* line) { helpLine_ = line; }

  // Sends a key to the dialog as if it had been pressed.
  void postKey(int key);

  // Grows the dialog to hold every control placed near its bottom or right
  // edge (done again when it is shown).
  void growToChildren();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;
  // The title bar's close button acts as ESC where the key handler takes ESC
  // itself (a report's dialog asks before it stops a run still working).
  void closeEvent(QCloseEvent* event) override;

 private:
  KeyHandler keyHandler_;
  std::vector<QWidget*> fields_;
  QLabel* helpLine_ = nullptr;
};

}  // namespace velmont::widgets
