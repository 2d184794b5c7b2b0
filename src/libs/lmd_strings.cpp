#include "lmd_strings.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace velmont::libs {

std::string lmdProper(std::string_view text) {
  std::string out(text);
  bool wordStart = true;
  for (char& c : out) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (std::isalpha(u)) {
      c = char(wordStart ? std::toupper(u) : std::tolower(u));
      wordStart = false;
    } else {
      wordStart = !(std::isdigit(u) || c == '\'');
    }
  }
  return out;
}

std::string lmdStrNum(double value, int decimals) {
  if (!std::isfinite(value)) return "0";
  if (decimals < 0) decimals = 0;
  if (decimals > 9) decimals = 9;
  // Always a '.', whatever the C locale's decimal point (printf would follow it).
  char buf[400];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  if (ec != std::errc()) return "0";
  std::string s(buf, end);
  if (s.find('.') != std::string::npos) {
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
  }
  if (s == "-0") s = "0";
  return s;
}

}  // namespace velmont::libs
