#include "home_classes.h"

#include <algorithm>
#include <set>

#include "data/table.h"
#include "data/text.h"

namespace velmont::school {

std::vector<std::string> homeClassesInUse(const SchoolFolder& folder) {
  const std::unique_ptr<data::Table> students = data::Table::open(folder.table("ststuden"), "classes");
  const int field = students->requireField("ST_CLASS");
  std::set<std::string> classes;
  for (students->goTop(); !students->eof(); students->skip()) {
    std::string code = data::rtrim(std::string(students->str(field)));
    if (!code.empty()) classes.insert(std::move(code));
  }
  return {classes.begin(), classes.end()};
}

bool homeClassInUse(const std::vector<std::string>& classes, std::string_view entry) {
  const std::string wanted = data::trim(std::string(entry));
  return wanted.empty() || std::any_of(classes.begin(), classes.end(), [&](const std::string& c) {
           return c.compare(0, wanted.size(), wanted) == 0;
         });
}

}  // namespace velmont::school
