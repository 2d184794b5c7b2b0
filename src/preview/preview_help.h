#pragma once
// The help window of the preview: every key of the window and what it does.
#include <QString>

class QWidget;

namespace velmont::preview {

// The key text: 35 lines of 52 characters, the key from position 1 and the action from
// position 20 (22 on continuation lines), joined by line feeds.
QString previewHelpText();

// Opens the modal help window over `owner`; the focus goes back where it was when the
// help closes.
void showPreviewHelp(QWidget* owner);

}  // namespace velmont::preview
