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
// sit below the file list. "One file per family" turns it into a folder
// chooser, in which the name of a new folder may be typed as well.
class SaveDialog : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;
  bool choosingFolder = false;

 protected:
  void accept() override {
    // A folder that does not exist yet is made by the run, when it ends well.
    const QStringList files = selectedFiles();
    if (choosingFolder && files.size() == 1 && !QFileInfo::exists(files.front()) &&
        QFileInfo(QFileInfo(files.front()).absolutePath()).isDir()) {
      QDialog::accept();
      return;
    }
    QFileDialog::accept();
  }
};

std::optional<PdfSaveAnswer> saveQuestion(QWidget* owner, const QString& suggested, bool familyOffered) {
  SaveDialog dialog(owner, QStringLiteral("Save the report as"), QFileInfo(suggested).path(),
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
    QObject::connect(family, &QCheckBox::toggled, &dialog, [&dialog, suggested](bool on) {
      dialog.choosingFolder = on;
      dialog.setWindowTitle(on ? QStringLiteral("Choose or name the folder for the families' files")
                               : QStringLiteral("Save the report as"));
      dialog.setFileMode(on ? QFileDialog::Directory : QFileDialog::AnyFile);
      dialog.setOption(QFileDialog::ShowDirsOnly, on);
      dialog.setAcceptMode(on ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
      dialog.setLabelText(QFileDialog::FileName, on ? QStringLiteral("Folder:") : QStringLiteral("File name:"));
      dialog.setLabelText(QFileDialog::Accept, on ? QStringLiteral("&Choose") : QStringLiteral("&Save"));
      // The report's file name is no folder name: the user picks or types one.
      dialog.selectFile(on ? QString() : QFileInfo(suggested).fileName());
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

// One file per family into a folder that already holds something: an earlier
// run's files there are replaced or removed, so the user agrees first.
bool mayWriteInto(QWidget* owner, const QString& folder) {
  const int held = int(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size());
  if (held == 0) return true;
  return widgets::lmdYesNo({QDir::toNativeSeparators(folder) + " is not empty: it holds " + QString::number(held) +
                                (held == 1 ? " file or folder." : " files or folders."),
                            "One file per family writes a PDF for each family and cards.csv into it; the files of an "
                            "earlier run (those its cards.csv lists) are replaced or removed, other files are left alone.",
                            "Write the families' files into this folder?"},
                           owner);
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

QString reportFileName(const QString& title, int term, int year, const QStringList& parts) {
  QString name = title.trimmed() + QStringLiteral(" - Term %1 %2").arg(term).arg(year);
  for (const QString& part : parts)
    if (!part.trimmed().isEmpty()) name += " - " + part.trimmed();
  return name;
}

bool askToReplaceTextFile(QWidget* owner, const RunRequest& request) {
  const QString path = QString::fromStdString(request.prAscii).trimmed();
  if (request.preview || path.isEmpty() || !QFileInfo::exists(path)) return true;
  return widgets::lmdYesNo({QDir::toNativeSeparators(path) + " already exists.", "Do you want to replace it?"}, owner);
}

bool askPdfFile(QWidget* owner, RunRequest& request, PdfSaveChoice* choice) {
  if (request.preview || request.printerName != print::kPdfDeviceName ||
      !QString::fromStdString(request.prAscii).trimmed().isEmpty())
    return true;
  // The question starts in the folder last saved to for this report (by F4 or a
  // preview's print), else for any report, else in the user's documents folder.
  const QString report = QString::fromStdString(request.reportCode);
  const QString suggested =
      print::suggestedPdfFile(request.saveName.isEmpty() ? request.title : request.saveName, report);
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
    if (!mayWriteInto(owner, answer->path)) return false;
    *choice = answer->choice;
    choice->folder = answer->path;
    // The next question starts beside the families' folder, not inside it.
    print::rememberPdfSaveFolder(answer->path, report);
    return true;
  }
  if (choice) *choice = answer->choice;
  const QString& file = answer->path;
  request.outputFile = file.endsWith(".pdf", Qt::CaseInsensitive) ? file : file + ".pdf";
  print::rememberPdfSaveFolder(request.outputFile, report);
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
