#include "pdf_save_question.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <mutex>

#include "widgets/lmd_messages.h"
#include "reports/common/output_paths.h"
#include "print/pdf_folder.h"
#include "print/print_device.h"
#include "reports/common/run_report.h"

namespace velmont::reports {

namespace {

using Chooser = std::function<std::optional<PdfSaveAnswer>(const QString&, bool)>;

std::mutex chooserMutex;
Chooser chooser;

// The program's file dialog (not the desktop's) so that the two choices can
// sit below the file list. With "One file per family" it asks for a folder.
std::optional<PdfSaveAnswer> saveQuestion(QWidget* owner, const QString& suggested, bool familyOffered) {
  QFileDialog dialog(owner, QStringLiteral("Save the report as"), QFileInfo(suggested).path(),
                     QStringLiteral("PDF files (*.pdf)"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.selectFile(QFileInfo(suggested).fileName());
  auto* archival = new QCheckBox(QStringLiteral("Archival PDF (PDF/A)"), &dialog);
  archival->setObjectName("archivalPdf");
  QCheckBox* family = nullptr;
  if (familyOffered) {
    family = new QCheckBox(QStringLiteral("One file per family (into a folder, with cards.csv)"), &dialog);
    family->setObjectName("oneFilePerFamily");
    QObject::connect(family, &QCheckBox::toggled, &dialog, [&dialog](bool on) {
      dialog.setFileMode(on ? QFileDialog::Directory : QFileDialog::AnyFile);
      dialog.setAcceptMode(on ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
      dialog.setLabelText(QFileDialog::Accept, QStringLiteral("&Save"));
    });
  }
  if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
    const int row = grid->rowCount();
    grid->addWidget(archival, row, 0, 1, -1);
    if (family) grid->addWidget(family, row + 1, 0, 1, -1);
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return PdfSaveAnswer{dialog.selectedFiles().front(), {archival->isChecked(), family && family->isChecked(), {}}};
}

}  // namespace

void setPdfFileChooser(std::function<QString(const QString&)> c) {
  std::lock_guard lock(chooserMutex);
  chooser = c ? Chooser([c](const QString& suggested, bool) -> std::optional<PdfSaveAnswer> {
    const QString file = c(suggested);
    if (file.isEmpty()) return std::nullopt;
    return PdfSaveAnswer{file, {}};
  })
              : Chooser();
}

void setPdfSaveChooser(Chooser c) {
  std::lock_guard lock(chooserMutex);
  chooser = std::move(c);
}

bool askPdfFile(QWidget* owner, RunRequest& request, PdfSaveChoice* choice) {
  if (request.preview || request.printerName != print::kPdfDeviceName ||
      !QString::fromStdString(request.prAscii).trimmed().isEmpty())
    return true;
  // The question starts in the folder last saved to (by F4 or a preview's print),
  // else in the user's documents folder.
  const QString suggested = print::suggestedPdfFile(request.title);
  Chooser c;
  {
    std::lock_guard lock(chooserMutex);
    c = chooser;
  }
  std::optional<PdfSaveAnswer> answer = c ? c(suggested, choice != nullptr) : saveQuestion(owner, suggested, choice);
  if (!answer || answer->path.isEmpty()) return false;
  if (choice && answer->choice.perFamily) {
    const QStringList refused = outputFolderRefusal(answer->path.toStdString(), request.folder);
    if (!refused.isEmpty()) {
      widgets::lmdMsg(refused, 0, owner);
      return false;
    }
    *choice = answer->choice;
    choice->folder = answer->path;
    print::rememberPdfSaveFolder(QDir(answer->path).filePath(QStringLiteral("cards.csv")));
    return true;
  }
  if (choice) *choice = answer->choice;
  const QString& file = answer->path;
  request.outputFile = file.endsWith(".pdf", Qt::CaseInsensitive) ? file : file + ".pdf";
  print::rememberPdfSaveFolder(request.outputFile);
  if (answer->choice.archival) {
    const QString author = request.author;
    request.makeDevice = [author] {
      std::unique_ptr<print::PrintDevice> device = print::openPrintDevice(print::kPdfDeviceName);
      if (device) device->setArchival(author);
      return device;
    };
  }
  return true;
}

}  // namespace velmont::reports
