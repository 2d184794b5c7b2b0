// Opening a file in the system's simple word processor on Windows.
#include <windows.h>
#include <shellapi.h>

#include <QString>

#include "request_file.h"

namespace velmont::commands {

bool openInTextEditor(const std::string& path, const std::string& workingDir) {
  // "write" starts the system's word processor; the file name is its quoted
  // parameter. The shell's open verb runs no command interpreter.
  const std::wstring file = L"\"" + QString::fromStdString(path).toStdWString() + L"\"";
  const std::wstring dir = QString::fromStdString(workingDir).toStdWString();
  const HINSTANCE result = ShellExecuteW(GetDesktopWindow(), L"open", L"write", file.c_str(), dir.c_str(), SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace velmont::commands
