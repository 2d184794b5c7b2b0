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
  if (path.empty()) {
    widgets::lmdMsg({QString("The request form %1 could not be written in %2.").arg(kRequestFile, QString::fromStdString(dataDir)),
                     "Check that the folder may be written, or ask whoever looks after the program."},
                    0, owner);
    return;
  }
  if (open && open(path, dataDir)) return;
  // Without a program to open it, the user still learns where the form is.
  widgets::lmdMsg({"The request form is ready in " + QString::fromStdString(path) + ".",
                   "This desktop offers no program to open it from here: open it in a text editor,",
                   QString("describe the report you need and e-mail it to ") + kMakerSupportEmail + "."},
                  0, owner);
}

}  // namespace velmont::commands
