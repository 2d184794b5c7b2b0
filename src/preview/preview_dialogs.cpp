#include "preview_dialogs.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <mutex>

#include "qtcore/gui_thread.h"
#include "print/print_font.h"

namespace velmont::preview {

namespace {

std::mutex dialogsMutex;
PreviewDialogs installed;

PreviewDialogs current() {
  std::lock_guard lock(dialogsMutex);
  return installed;
}

bool builtInYesNo(const QString& question, QWidget* owner) {
  QMessageBox box(QMessageBox::Question, owner ? owner->windowTitle() : QString(), question,
                  QMessageBox::Yes | QMessageBox::No, owner);
  box.setWindowModality(Qt::ApplicationModal);
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

void builtInMessage(const QStringList& lines, QWidget* owner) {
  QMessageBox box(QMessageBox::Information, owner ? owner->windowTitle() : QString(),
                  lines.join('\n'), QMessageBox::Ok, owner);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

// The picture's characters as a pattern: 9 is a digit, anything else any character.
QString patternFor(const StringPrompt& prompt) {
  if (prompt.picture.isEmpty()) return QStringLiteral(".{0,%1}").arg(prompt.width);
  QString pattern;
  for (QChar ch : prompt.picture) pattern += ch == '9' ? QStringLiteral("\\d?") : QStringLiteral(".?");
  return pattern;
}

std::optional<QString> builtInGetString(const StringPrompt& prompt, QWidget* owner) {
  QDialog dialog(owner);
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.setWindowTitle(owner ? owner->windowTitle() : QString());
  if (!prompt.font.isEmpty()) {
    // Widgets are sized in points, not in the page's 0.01 mm.
    const print::PrintFont font = print::PrintFont::fromDescriptor(prompt.font);
    QFont shown(font.family);
    shown.setPointSizeF(font.pointSize);
    shown.setBold(font.bold);
    dialog.setFont(shown);
  }
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QLabel(prompt.prompt, &dialog));
  auto* field = new QLineEdit(prompt.defaultText, &dialog);
  field->setObjectName("promptField");
  field->setMaxLength(prompt.picture.isEmpty() ? prompt.width : int(prompt.picture.size()));
  field->setValidator(
      new QRegularExpressionValidator(QRegularExpression(patternFor(prompt)), field));
  field->selectAll();
  layout->addWidget(field);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
    if (!prompt.accept || prompt.accept(field->text())) dialog.accept();
  });
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return field->text();
}

std::optional<QString> builtInSaveFile(const QString& suggested, QWidget* owner) {
  const QString file = QFileDialog::getSaveFileName(owner, QStringLiteral("Save the report as"), suggested,
                                                    QStringLiteral("PDF files (*.pdf)"));
  if (file.isEmpty()) return std::nullopt;
  return file;
}

}  // namespace

PreviewDialogs setPreviewDialogs(PreviewDialogs dialogs) {
  std::lock_guard lock(dialogsMutex);
  std::swap(installed, dialogs);
  return dialogs;
}

bool previewYesNo(const QString& question, QWidget* owner) {
  bool answer = false;
  qtcore::callOnGui([&] {
    const PreviewDialogs dialogs = current();
    answer = dialogs.yesNo ? dialogs.yesNo(question, owner) : builtInYesNo(question, owner);
  });
  return answer;
}

void previewMessage(const QStringList& lines, QWidget* owner) {
  qtcore::callOnGui([&] {
    const PreviewDialogs dialogs = current();
    dialogs.message ? dialogs.message(lines, owner) : builtInMessage(lines, owner);
  });
}

std::optional<QString> previewGetString(const StringPrompt& prompt, QWidget* owner) {
  std::optional<QString> answer;
  qtcore::callOnGui([&] {
    const PreviewDialogs dialogs = current();
    answer = dialogs.getString ? dialogs.getString(prompt, owner) : builtInGetString(prompt, owner);
  });
  return answer;
}

std::optional<QString> previewSaveFile(const QString& suggested, QWidget* owner) {
  std::optional<QString> answer;
  qtcore::callOnGui([&] {
    const PreviewDialogs dialogs = current();
    answer = dialogs.saveFile ? dialogs.saveFile(suggested, owner) : builtInSaveFile(suggested, owner);
  });
  if (!answer || answer->trimmed().isEmpty()) return std::nullopt;
  if (!answer->endsWith(".pdf", Qt::CaseInsensitive)) *answer += ".pdf";
  return answer;
}

}  // namespace velmont::preview
