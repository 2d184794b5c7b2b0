#include "pdf_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <mutex>

namespace velmont::print {

namespace {

std::mutex folderMutex;
QHash<QString, QString> lastFolders;  // by report code; "" for any report
QString settingsFile;

QString settingsKey(const QString& report) {
  return QStringLiteral("SaveFolders/") + (report.isEmpty() ? QStringLiteral("any") : report);
}

// The folder remembered for `report` in this process, else in the settings file.
QString rememberedFolder(const QString& report) {
  const QString here = lastFolders.value(report);
  if (!here.isEmpty()) return here;
  if (settingsFile.isEmpty()) return {};
  return QSettings(settingsFile, QSettings::IniFormat).value(settingsKey(report)).toString();
}

}  // namespace

QString pdfSaveFolder(const QString& report) {
  {
    std::lock_guard lock(folderMutex);
    for (const QString& key : {report, QString()}) {
      const QString folder = rememberedFolder(key);
      if (!folder.isEmpty() && QFileInfo(folder).isDir()) return folder;
    }
  }
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void rememberPdfSaveFolder(const QString& path, const QString& report) {
  if (path.isEmpty()) return;
  const QString folder = QFileInfo(QDir::cleanPath(path)).absolutePath();
  std::lock_guard lock(folderMutex);
  QStringList keys{QString()};
  if (!report.isEmpty()) keys << report;
  for (const QString& key : keys) lastFolders.insert(key, folder);
  if (settingsFile.isEmpty()) return;
  QSettings settings(settingsFile, QSettings::IniFormat);
  for (const QString& key : keys) settings.setValue(settingsKey(key), folder);
}

QString suggestedPdfFile(const QString& stem, const QString& report) {
  QString name = stem.trimmed();
  name.replace(QRegularExpression(R"([\\/:*?"<>|]+)"), "_");
  if (name.isEmpty()) name = QStringLiteral("Report");
  return QDir(pdfSaveFolder(report)).filePath(name + ".pdf");
}

void keepSaveFoldersIn(const QString& file) {
  std::lock_guard lock(folderMutex);
  settingsFile = file;
  lastFolders.clear();  // the file's folders count from now on
}

QString userSettingsFile() {
  const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  return config.isEmpty() ? QString() : QDir(config).filePath(QStringLiteral("velmont/velmont.ini"));
}

}  // namespace velmont::print
