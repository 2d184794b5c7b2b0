// The flag and text files a school may keep beside its tables, written on request.
#include "data/code_page.h"
#include "demo_files.h"

namespace velmont::batch {

std::vector<WrittenFile> writeFlagFiles(const DemoSchool& school) {
  std::vector<WrittenFile> written;
  const auto& flags = school.options.flags;
  auto wanted = [&](const char* name) { return flags.count(name) != 0; };

  if (wanted("homecl")) {
    writeTextFile(demoPath(school, "homecl.$vl"), {"Form Class"});
    written.push_back({"homecl.$vl", "the word for a home class: Form Class"});
  }
  if (wanted("house")) {
    writeTextFile(demoPath(school, "house.$vl"), {"Whanau"});
    written.push_back({"house.$vl", "the word for a house: Whanau"});
  }
  if (wanted("namibia")) {
    writeTextFile(demoPath(school, "namibia.$vl"), {});
    written.push_back({"namibia.$vl", "year levels are called Grade"});
  }
  if (wanted("grade")) {
    // The odd lines are on purpose: numbers out of range, no number, a name with "&".
    writeTextFile(demoPath(school, "grade.$vl"),
                  {"Form", "7,Form One", "8,Form Two", "9,Form Three", "10,Form Four", "11,Form Five",
                   "12,Sixth & Seventh", "13,Foundation Studies", "14,Adult Education", "0,None", "21,Extra",
                   "Notes: levels 15 to 20 are not used", "  ", "5"});
    written.push_back({"grade.$vl", "year-level names Form One to Adult Education, with odd lines"});
  }
  if (wanted("arank")) {
    writeTextFile(demoPath(school, "arank.$vl"), {});
    written.push_back({"arank.$vl", "rank-legend flag"});
  }
  if (wanted("erank")) {
    writeTextFile(demoPath(school, "erank.$vl"), {});
    written.push_back({"erank.$vl", "rank-legend flag"});
  }
  if (school.options.codePage != data::kDefaultCodePage) {
    writeTextFile(demoPath(school, data::kCodePageFlagFile), {std::to_string(school.options.codePage)});
    written.push_back({data::kCodePageFlagFile, "the school's text is in code page " + std::to_string(school.options.codePage)});
  }
  return written;
}

}  // namespace velmont::batch
