#include "code_page_option.h"

#include <cctype>

#include "data/code_page.h"

namespace velmont::batch {

int codePageOption(const Arguments& a) {
  if (!a.has("codepage")) return 0;
  const int n = int(a.number("codepage", 0, 1, 99999));
  if (!data::codePageSupported(n))
    throw UsageError("--codepage: " + std::to_string(n) + " is not one of " + data::supportedCodePages());
  return n;
}

void applyCodePageOption(const Arguments& a) { data::setRunCodePage(codePageOption(a)); }

bool textUtf8Option(const Arguments& a) {
  const auto value = a.value("text-encoding");
  if (!value) return false;
  std::string v;
  for (char c : *value) v += char(std::tolower(static_cast<unsigned char>(c)));
  if (v == "utf-8" || v == "utf8") return true;
  if (v == "codepage" || v == "code-page") return false;
  throw UsageError("--text-encoding: \"" + *value + "\" is neither utf-8 nor codepage");
}

bool textLfOption(const Arguments& a) {
  const auto value = a.value("line-ends");
  if (!value) return false;
  if (!a.has("text")) throw UsageError("--line-ends goes with --text");
  std::string v;
  for (char c : *value) v += char(std::tolower(static_cast<unsigned char>(c)));
  if (v == "lf") return true;
  if (v == "crlf") return false;
  throw UsageError("--line-ends: \"" + *value + "\" is neither lf nor crlf");
}

}  // namespace velmont::batch
