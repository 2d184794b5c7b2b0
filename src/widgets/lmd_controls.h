#pragma once
// The widget library's controls, placed in character cells of their parent:
// texts, rules, buttons, entry fields, radio buttons and check boxes, group and
// status boxes, spin buttons, status bars; and the calls that update, show,
// hide or enable a control from any thread.
#include <QString>
#include <functional>

#include "look.h"

class QAbstractButton;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QWidget;

namespace velmont::widgets {

class PictureEdit;

struct SayOptions {
  double columns = 0;  // width; 0: as wide as the text
  double rows = 1;     // height
  Qt::Alignment align = Qt::AlignLeft;
  QString font;        // descriptor, empty for the parent's font
  ColourPair colours;
};

// lmdSay: a static text of one line.
QLabel* lmdSay(QWidget* parent, double row, double column, const QString& text, const SayOptions& options = {});
// lmdMSay: a static text of several lines, wrapped to its width; "\r\n" and
// "\n" break lines.
QLabel* lmdMSay(QWidget* parent, double row, double column, const QString& text, const SayOptions& options = {});
// lmdReSay: new text for a static text; from any thread.
void lmdReSay(QLabel* label, const QString& text);
// Shows or hides, enables or disables a control; from any thread.
void lmdShow(QWidget* w, bool visible);
void lmdEnable(QWidget* w, bool enabled);

// lmdLine and lmdVLine: a raised horizontal rule `length` columns long, or a
// vertical one `extent` rows high.
QFrame* lmdLine(QWidget* parent, double row, double column, double length);
QFrame* lmdVLine(QWidget* parent, double row, double column, double extent);

// lmdPshBtn: a push button `columns` wide (and `rows` high) that calls `action`.
QPushButton* lmdPshBtn(QWidget* parent, double row, double column, double columns, const QString& text,
                       std::function<void()> action, double rows = 1.1);

struct GetOptions {
  std::function<bool(const QString&)> check;  // refuses the text: the focus stays
  QString help;                               // the dialog's help line while focused
  QString font;
};
// lmdXGet: an entry field `width` characters wide with a picture; in an
// LmdDialog it joins the dialog's field list.
PictureEdit* lmdXGet(QWidget* parent, double row, double column, int width, const QString& value,
                     const QString& picture, const GetOptions& options = {});

enum class ButtonKind { kRadio, kCheck };
// lmdRadChk: a radio button or check box; `changed` gets its new state.
QAbstractButton* lmdRadChk(QWidget* parent, double row, double column, const QString& text, ButtonKind kind,
                           bool checked, std::function<void(bool)> changed = {}, double columns = 0);
// lmdGBox: a group box; controls made inside it are placed in its own cells.
QGroupBox* lmdGBox(QWidget* parent, double row, double column, double rows, double columns, const QString& title);
// lmdStat: a recessed (or raised) box for status texts and messages.
QFrame* lmdStat(QWidget* parent, double row, double column, double rows, double columns, bool recessed = true);
// lmdSpin: a spin button from `minimum` to `maximum`.
QSpinBox* lmdSpin(QWidget* parent, double row, double column, double columns, int minimum, int maximum, int value,
                  std::function<void(int)> changed = {});
// lmdStatBar: a one-line status text along the bottom of the parent.
QLabel* lmdStatBar(QWidget* parent, const QString& text = {});

}  // namespace velmont::widgets
