// Windows opens files and folders through the shell's "open" verb.
#include <windows.h>
#include <shellapi.h>

#include <QDir>

#include "desktop_files.h"

namespace velmont::widgets {

bool desktopOpens() { return true; }

bool desktopOpen(const QString& path) {
  const std::wstring file = QDir::toNativeSeparators(path).toStdWString();
  const HINSTANCE result = ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace velmont::widgets
