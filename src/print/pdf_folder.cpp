#include "pdf_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <mutex>

namespace velmont::print {

namespace {
std::mutex folderMutex;
QString lastFolder;
}  // namespace

QString pdfSaveFolder() {
  {
    std::lock_guard lock(folderMutex);
    if (!lastFolder.isEmpty() && QFileInfo(lastFolder).isDir()) return lastFolder;
  }
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void rememberPdfSaveFolder(const QString& file) {
  if (file.isEmpty()) return;
  std::lock_guard lock(folderMutex);
  lastFolder = QFileInfo(file).absolutePath();
}

QString suggestedPdfFile(const QString& stem) {
  QString name = stem.trimmed();
  name.replace(QRegularExpression(R"([\\/:*?"<>|]+)"), "_");
  if (name.isEmpty()) name = QStringLiteral("Report");
  return QDir(pdfSaveFolder()).filePath(name + ".pdf");
}

}  // namespace velmont::print
