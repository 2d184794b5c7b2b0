// Code pages through Windows' own converter (the Qt for Windows has no ICU).
#include <windows.h>

#include "code_page_converter.h"

namespace velmont::qtcore {

bool convertUpperHalf(int codePage, char16_t (&table)[256]) {
  if (!IsValidCodePage(UINT(codePage))) return false;
  for (int b = 0x80; b < 0x100; ++b) {
    const char byte = char(b);
    wchar_t one[2] = {};
    const int n = MultiByteToWideChar(UINT(codePage), MB_ERR_INVALID_CHARS, &byte, 1, one, 2);
    if (n == 1 && one[0] != L'\uFFFD') table[b] = char16_t(one[0]);
  }
  return true;
}

}  // namespace velmont::qtcore
