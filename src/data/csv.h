#pragma once
// CSV as the office's spreadsheet reads it: one quoting rule for every file the
// program writes in CSV.
#include <string>
#include <string_view>

namespace velmont::data {

// One field: the text as it is, or in quotes with the quotes inside doubled
// when it holds a comma, a quote, a line break or blanks (or tabs) at either
// end, which a spreadsheet would otherwise split or trim.
inline std::string csvField(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  const bool quote = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                     (!text.empty() && (blank(text.front()) || blank(text.back())));
  if (!quote) return std::string(text);
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

}  // namespace velmont::data
