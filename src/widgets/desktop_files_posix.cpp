// Free desktops open files through xdg-open, which hands each file to the
// program the user chose for its type.
#include <QProcess>
#include <QStandardPaths>

#include "desktop_files.h"

namespace velmont::widgets {

bool desktopOpens() { return !QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty(); }

bool desktopOpen(const QString& path) {
  if (!desktopOpens()) return false;
  // The path is one argument of the program, never part of a shell command line.
  return QProcess::startDetached(QStringLiteral("xdg-open"), {path});
}

}  // namespace velmont::widgets
