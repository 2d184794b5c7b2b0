// Opening a file in the system's simple word processor on Windows.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "request_file.h"

namespace velmont::commands {
namespace {

// Paths reach this file as UTF-8 (from QString::toStdString).
std::wstring fromUtf8(const std::string& s) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), nullptr, 0);
  std::wstring w(size_t(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), w.data(), n);
  return w;
}

}  // namespace

bool openInTextEditor(const std::string& path, const std::string& workingDir) {
  // "write" starts the system's word processor; the file name is its quoted
  // parameter. The shell's open verb runs no command interpreter.
  const std::wstring file = L"\"" + fromUtf8(path) + L"\"";
  const std::wstring dir = fromUtf8(workingDir);
  const HINSTANCE result = ShellExecuteW(GetDesktopWindow(), L"open", L"write", file.c_str(), dir.c_str(), SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace velmont::commands
