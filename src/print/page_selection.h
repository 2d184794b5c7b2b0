#pragma once
// A list of pages as a user types it: "1-3,5,8-" is pages 1 to 3, page 5 and
// page 8 to the end. Pages are counted from 1 across the whole run; printed
// in page order, each once, whatever order the list names them in.
#include <optional>
#include <string>
#include <vector>

namespace velmont::print {

class PageSelection {
 public:
  // One item of the list: first to last page; last 0 runs to the end.
  struct Span {
    int first = 1;
    int last = 0;
  };

  // The list, or nothing with `error` saying what is wrong ("5-3: the first
  // page comes after the last"). Items are separated by commas; blanks around
  // them are allowed; "-4" is pages 1 to 4.
  static std::optional<PageSelection> parse(const std::string& text, std::string* error);

  bool contains(int page) const;
  // The pages of a run of `pageCount` pages that the list names, in order.
  std::vector<int> pagesOf(int pageCount) const;
  // What the list names beyond the last of `pageCount` pages ("9-12, 20 onwards"),
  // or "" when every page it names exists.
  std::string missingText(int pageCount) const;

  // The pages, written back as a list ("1-3, 5, 8-").
  static std::string describe(const std::vector<int>& pages);

 private:
  std::vector<Span> spans_;
};

}  // namespace velmont::print
