#pragma once
// The questions and messages of the preview: the print questions, the range messages and
// the go-to-page prompt. Each is a modal box on the GUI thread, owned by the preview
// window. The program's widget layer, and tests, can replace each of them.
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace velmont::preview {

// A one-field prompt: the prompt text, the field's width in characters, its picture
// ("9999": digits only), the default answer, the font descriptor, and the rule that an
// answer must pass before the prompt closes with it.
struct StringPrompt {
  QString prompt;
  int width = 10;
  QString picture;
  QString defaultText;
  QString font;
  std::function<bool(const QString&)> accept;
};

struct PreviewDialogs {
  // A question answered yes (true) or no.
  std::function<bool(const QString& question, QWidget* owner)> yesNo;
  // A message of one to three lines.
  std::function<void(const QStringList& lines, QWidget* owner)> message;
  // The prompt's answer, or nothing when cancelled.
  std::function<std::optional<QString>(const StringPrompt& prompt, QWidget* owner)> getString;
  // Where to save a PDF file, starting at `suggested`; nothing when cancelled.
  std::function<std::optional<QString>(const QString& suggested, QWidget* owner)> saveFile;
};

// Replaces the dialogs and returns the previous ones; an empty member means the built-in
// box. Install from the GUI thread.
PreviewDialogs setPreviewDialogs(PreviewDialogs dialogs);

// Each runs on the GUI thread (the calling thread waits) and returns the answer.
bool previewYesNo(const QString& question, QWidget* owner);
void previewMessage(const QStringList& lines, QWidget* owner);
std::optional<QString> previewGetString(const StringPrompt& prompt, QWidget* owner);
// The file chosen, ".pdf" added when it has no such ending; its folder is remembered
// for the next save question.
std::optional<QString> previewSaveFile(const QString& suggested, QWidget* owner);

}  // namespace velmont::preview
