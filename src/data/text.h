#pragma once
// Small text helpers for fixed-width character fields.
#include <string>
#include <string_view>

namespace velmont::data {

// Text padded with blanks or cut to `width`.
inline std::string padTo(std::string_view text, size_t width) {
  std::string s(text.substr(0, std::min(text.size(), width)));
  s.resize(width, ' ');
  return s;
}

// Without trailing blanks.
inline std::string rtrim(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return std::string(s);
}

// Without leading and trailing blanks.
inline std::string trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  return rtrim(s);
}

// ASCII letters in capitals, other bytes unchanged.
inline std::string upper(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return r;
}

// True when the text is empty or all blanks.
inline bool isBlank(std::string_view s) { return s.find_first_not_of(' ') == std::string_view::npos; }

}  // namespace velmont::data
