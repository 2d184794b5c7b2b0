// Opening a file in the desktop's text editor on Linux and other free desktops.
#include <QProcess>
#include <QString>

#include "request_file.h"

namespace velmont::commands {

bool openInTextEditor(const std::string& path, const std::string& workingDir) {
  // xdg-open hands the file to the desktop's editor for plain text. The file
  // name is one argument of the program, never part of a shell command line.
  return QProcess::startDetached("xdg-open", {QString::fromStdString(path)}, QString::fromStdString(workingDir));
}

}  // namespace velmont::commands
