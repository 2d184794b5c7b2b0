#include "request_file.h"

#include <QDir>
#include <QFile>

#include "widgets/lmd_messages.h"
#include "maker.h"

namespace velmont::commands {

std::string requestFormText() {
  const std::string lines[] = {
      "Specify requirements for your Velmont Report",
      std::string("Then email this file as an attachment to: ") + kMakerInfoEmail + "  ",
      std::string(47, '_'),
      "Report Request Options: (nominate if similar to a standard RV report)",
      "eg. select: Starting Year, Ending Year & Home Class",
      "",
      "",
      std::string(27, '_'),
      "Report Layout:",
      "",
      "",
      "",
      std::string("email to: ") + kMakerSupportEmail,
  };
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::string ensureRequestForm(const std::string& dir) {
  const QString path = QDir(QString::fromStdString(dir)).filePath(kRequestFile);
  QFile file(path);
  // NewOnly creates the file or fails when it exists, in one step.
  if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
    const std::string text = requestFormText();
    const bool written = file.write(text.data(), qint64(text.size())) == qint64(text.size());
    file.close();
    if (!written) {
      file.remove();  // a half-written form would look like a started one
      return "";
    }
    return path.toStdString();
  }
  return QFile::exists(path) ? path.toStdString() : "";
}

void YOUR_REPT(const std::string& dataDir, QWidget* owner, const FileOpener& open) {
  const bool go = widgets::lmdYesNo({"Click on YES to specify YOUR velmont report", "",
                                     "(use WordPad to describe the report you need",
                                     QString("and e-mail it to ") + kMakerSupportEmail + ")", "", "Continue?"},
                                    owner);
  if (!go) return;
  const std::string path = ensureRequestForm(dataDir);
  if (!path.empty() && open) open(path, dataDir);
}

}  // namespace velmont::commands
