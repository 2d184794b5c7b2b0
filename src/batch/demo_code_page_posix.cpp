// UTF-8 into a code page through iconv.
#include <iconv.h>

#include <cerrno>
#include <stdexcept>

#include "demo_school.h"

namespace velmont::batch {

std::string inCodePage(const std::string& utf8, int codePage) {
  const std::string name = "CP" + std::to_string(codePage);
  iconv_t cd = iconv_open(name.c_str(), "UTF-8");
  if (cd == iconv_t(-1)) throw std::invalid_argument("code page " + std::to_string(codePage) + " cannot be converted here");
  std::string out(utf8.size() * 2 + 4, '\0');
  char* in = const_cast<char*>(utf8.data());
  size_t inLeft = utf8.size();
  char* to = out.data();
  size_t toLeft = out.size();
  const size_t result = iconv(cd, &in, &inLeft, &to, &toLeft);
  iconv_close(cd);
  if (result == size_t(-1))
    throw std::invalid_argument("code page " + std::to_string(codePage) + " cannot hold \"" + utf8 + "\"");
  out.resize(out.size() - toLeft);
  return out;
}

}  // namespace velmont::batch
