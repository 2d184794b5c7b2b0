#pragma once
// Message boxes, passing notices, yes/no questions and input boxes. Each may be
// called from a report's worker thread: the box is shown on the GUI thread and
// the worker waits for the answer.
#include <QString>
#include <QStringList>

class QWidget;

namespace velmont::widgets {

// lmdMsg: a modal message box of one to three lines (more are shown too).
// `options` are the library's display options (14: a stop sign); `owner` the
// window it belongs to (the active window when null).
void lmdMsg(const QStringList& lines, int options = 0, QWidget* owner = nullptr);

// lmdQMsg: a notice that does not wait. It stays until the next notice,
// lmdQMsgClose, or a few seconds have passed.
void lmdQMsg(const QString& text, QWidget* owner = nullptr);
void lmdQMsgClose();
// The notice shown now, or null (for tests and for placing other windows).
QWidget* lmdQMsgWindow();

// lmdYesNo: true when the user answers Yes.
bool lmdYesNo(const QStringList& lines, QWidget* owner = nullptr);

// lmdGetStr: a one-field input box; the text typed (padded to its width), or
// an empty text when the user cancels; `cancelled`, when given, tells the two
// apart (an empty field confirmed, or Cancel and ESC).
QString lmdGetStr(const QString& prompt, int width, const QString& picture, const QString& value,
                  QWidget* owner = nullptr, bool* cancelled = nullptr);

// lmdGet2Str: a two-field input box; the values are updated in place when the
// user confirms (true), left alone when the user cancels (false).
bool lmdGet2Str(const QString& prompt1, const QString& prompt2, QString& value1, QString& value2, int width1,
                int width2, const QString& picture1, const QString& picture2, QWidget* owner = nullptr);

}  // namespace velmont::widgets
