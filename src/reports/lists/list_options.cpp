#include "list_options.h"

#include <algorithm>
#include <cstdlib>

#include "data/text.h"

namespace velmont::lists {

namespace {
char at(const std::string& s, size_t position) { return position - 1 < s.size() ? s[position - 1] : ' '; }
char digit(bool yes) { return yes ? '1' : '2'; }
}  // namespace

school::SavedOptions defaultListOptions(const std::string& startCode, const std::string& endCode) {
  return {data::padTo(startCode, 2) + data::padTo(endCode, 2) + "    12212  ", "100"};
}

ListOptions readListOptions(const school::SavedOptions& saved, int homeClassLength) {
  const std::string& p = saved.prefs;
  ListOptions o;
  o.yearCode = data::padTo(p.substr(0, std::min<size_t>(2, p.size())), 2);
  if (p.size() > 4) o.homeClass = data::rtrim(p.substr(4, size_t(std::max(0, homeClassLength))));
  o.nGrid = at(p, 9);
  o.birthDates = at(p, 10) == '1';
  o.marks = at(p, 11) == '1';
  o.names = at(p, 12) == '2';
  o.shading = at(p, 13) == '1';
  const char s = at(p, 14);
  o.nSequn = s >= '0' && s <= '9' ? s - '0' : 0;
  o.weight = std::atoi(saved.extras.substr(0, std::min<size_t>(3, saved.extras.size())).c_str());
  return o;
}

std::string listPrefs(const ListOptions& o) {
  std::string p = data::padTo(o.yearCode, 2) + "  " + data::padTo(o.homeClass, 4);
  p += o.nGrid;
  p += digit(o.birthDates);
  p += digit(o.marks);
  p += o.names ? '2' : '1';
  p += digit(o.shading);
  p += char('0' + std::clamp(o.nSequn, 0, 9));
  p += ' ';
  return p;
}

std::string listExtras(const ListOptions& o) {
  std::string w = std::to_string(std::clamp(o.weight, 0, 999));
  return data::padTo(std::string(3 - std::min<size_t>(3, w.size()), ' ') + w, school::kExtrasWidth);
}

}  // namespace velmont::lists
