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

// One field of a file meant to be opened in a spreadsheet by the office: text
// that a spreadsheet would take for a formula (beginning with =, +, -, @, a tab
// or a carriage return) gets a leading apostrophe inside quotes, so that it is
// shown and never evaluated; other control bytes (NUL, escape, delete) are dropped.
// Line feeds inside the text are kept.
inline std::string csvCell(std::string_view text) {
  std::string clean;
  clean.reserve(text.size());
  for (char c : text)
    if ((static_cast<unsigned char>(c) >= 0x20 && c != 0x7f) || c == '\t' || c == '\r' || c == '\n') clean += c;
  if (clean.empty() || clean.find_first_of("=+-@\t\r", 0) != 0) return csvField(clean);
  std::string out = "\"'";
  for (char c : clean) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

}  // namespace velmont::data
