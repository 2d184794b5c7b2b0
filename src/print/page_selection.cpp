#include "page_selection.h"

#include <algorithm>
#include <cctype>

namespace velmont::print {

namespace {

constexpr int kMostPages = 99999;  // more than any run prints; keeps numbers in range

std::string trimmed(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

// A page number of 1 to kMostPages, digits only; 0 when it is not one.
int pageNumber(const std::string& s) {
  if (s.empty() || s.size() > 5) return 0;
  int n = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return 0;
    n = n * 10 + (c - '0');
  }
  return n <= kMostPages ? n : 0;
}

std::string spanText(int first, int last) {
  if (last == 0) return std::to_string(first) + " onwards";
  if (first == last) return std::to_string(first);
  return std::to_string(first) + "-" + std::to_string(last);
}

}  // namespace

std::optional<PageSelection> PageSelection::parse(const std::string& text, std::string* error) {
  auto fail = [&](const std::string& why) -> std::optional<PageSelection> {
    if (error) *error = why;
    return std::nullopt;
  };
  PageSelection selection;
  if (trimmed(text).empty()) return fail("no pages given (for example 1-3,5,8-)");
  size_t start = 0;
  while (start <= text.size()) {
    size_t comma = text.find(',', start);
    if (comma == std::string::npos) comma = text.size();
    const std::string item = trimmed(text.substr(start, comma - start));
    start = comma + 1;
    if (item.empty()) return fail("an empty item between commas in \"" + trimmed(text) + "\"");
    const size_t dash = item.find('-');
    Span span;
    if (dash == std::string::npos) {
      span.first = span.last = pageNumber(item);
      if (span.first == 0) return fail("\"" + item + "\" is not a page number (pages count from 1)");
    } else {
      const std::string from = trimmed(item.substr(0, dash)), to = trimmed(item.substr(dash + 1));
      if (from.empty() && to.empty()) return fail("\"-\" names no page");
      span.first = from.empty() ? 1 : pageNumber(from);
      span.last = to.empty() ? 0 : pageNumber(to);
      if (span.first == 0 || (!to.empty() && span.last == 0))
        return fail("\"" + item + "\" is not a page or a range of pages (pages count from 1)");
      if (span.last != 0 && span.first > span.last)
        return fail("\"" + item + "\": the first page comes after the last");
    }
    selection.spans_.push_back(span);
    if (comma == text.size()) break;
  }
  return selection;
}

bool PageSelection::contains(int page) const {
  return std::any_of(spans_.begin(), spans_.end(),
                     [page](const Span& s) { return page >= s.first && (s.last == 0 || page <= s.last); });
}

std::vector<int> PageSelection::pagesOf(int pageCount) const {
  std::vector<int> pages;
  for (int page = 1; page <= pageCount; ++page)
    if (contains(page)) pages.push_back(page);
  return pages;
}

std::string PageSelection::missingText(int pageCount) const {
  // The parts of each item past the end, in page order, merged where they touch.
  std::vector<Span> missing;
  for (const Span& s : spans_) {
    if (s.last == 0 && s.first > pageCount) missing.push_back(s);
    if (s.last != 0 && s.last > pageCount) missing.push_back({std::max(s.first, pageCount + 1), s.last});
  }
  std::sort(missing.begin(), missing.end(), [](const Span& a, const Span& b) { return a.first < b.first; });
  std::vector<Span> merged;
  for (const Span& s : missing) {
    if (!merged.empty()) {
      Span& m = merged.back();
      if (m.last == 0) continue;  // already runs to the end
      if (s.first <= m.last + 1) {
        m.last = s.last == 0 ? 0 : std::max(m.last, s.last);
        continue;
      }
    }
    merged.push_back(s);
  }
  std::string text;
  for (const Span& s : merged) text += (text.empty() ? "" : ", ") + spanText(s.first, s.last);
  return text;
}

std::string PageSelection::describe(const std::vector<int>& pages) {
  std::string text;
  for (size_t i = 0; i < pages.size();) {
    size_t j = i;
    while (j + 1 < pages.size() && pages[j + 1] == pages[j] + 1) ++j;
    text += (text.empty() ? "" : ", ") + spanText(pages[i], pages[j]);
    i = j + 1;
  }
  return text;
}

}  // namespace velmont::print
