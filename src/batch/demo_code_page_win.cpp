// UTF-8 into a code page through the system's converter.
#include <windows.h>

#include <stdexcept>

#include "demo_school.h"

namespace velmont::batch {

std::string inCodePage(const std::string& utf8, int codePage) {
  const int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()), nullptr, 0);
  std::wstring w(size_t(wide), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), w.data(), wide);
  BOOL lossy = FALSE;
  const int n = WideCharToMultiByte(UINT(codePage), WC_NO_BEST_FIT_CHARS, w.data(), wide, nullptr, 0, nullptr, &lossy);
  if (n <= 0 && !utf8.empty())
    throw std::invalid_argument("code page " + std::to_string(codePage) + " cannot be converted here");
  std::string out(size_t(n), '\0');
  WideCharToMultiByte(UINT(codePage), WC_NO_BEST_FIT_CHARS, w.data(), wide, out.data(), n, nullptr, &lossy);
  if (lossy) throw std::invalid_argument("code page " + std::to_string(codePage) + " cannot hold \"" + utf8 + "\"");
  return out;
}

}  // namespace velmont::batch
