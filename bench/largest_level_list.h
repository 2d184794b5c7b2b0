#pragma once
// The class-list run that the list benchmarks time: the largest year level among
// a demo school's enrolled students, with names, marks and birth dates shown,
// printed into a memory device.
#include <filesystem>
#include <map>
#include <memory>

#include "data/table.h"
#include "print/memory_device.h"
#include "reports/lists/list_request.h"
#include "reports/lists/list_run.h"
#include "school/year_names.h"

namespace velmont::bench {

inline lists::ListRequest largestLevelList(const std::filesystem::path& dir) {
  std::map<int, int> perLevel;
  {
    auto st = data::Table::open((dir / "ststuden.dbf").string(), "ststuden");
    for (st->goTop(); !st->eof(); st->skip()) ++perLevel[int(st->num("ST_YEAR"))];
  }
  int level = 0, most = 0;
  for (auto [l, n] : perLevel)
    if (l > 0 && n > most) level = l, most = n;

  school::SessionValues v = school::freshSessionValues(school::SchoolFolder(dir.string()), data::Date::fromYmd(2004, 6, 30));
  v.term = 1;
  v.year = 2004;
  lists::ListEntries asked;
  {
    data::Workspace ws;
    asked.level = school::put_yrout(ws, v.folder, level);
  }
  asked.weight = 60;
  asked.choices = {true, true, true};
  lists::ListRequest r = lists::listRequest(v, asked).request;
  r.run.makeDevice = [] { return std::unique_ptr<print::PrintDevice>(std::make_unique<print::MemoryDevice>()); };
  return r;
}

}  // namespace velmont::bench
