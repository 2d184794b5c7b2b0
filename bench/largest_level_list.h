#pragma once
// The class-list run that the list benchmarks time: the largest year level among
// a demo school's enrolled students, with names, marks and birth dates shown,
// printed into a memory device.
#include <filesystem>
#include <map>
#include <memory>

#include "data/table.h"
#include "print/memory_device.h"
#include "reports/lists/list_run.h"

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

  lists::ListRequest r;
  r.run.reportCode = lists::kListReportCode;
  r.run.title = "Home Class List with Subjects";
  r.run.folder = school::SchoolFolder(dir.string());
  r.run.makeDevice = [] { return std::unique_ptr<print::PrintDevice>(std::make_unique<print::MemoryDevice>()); };
  r.strt_yr = level;
  r.term = 1;
  r.year = 2004;
  r.date = r.enrl_date = data::Date::fromYmd(2004, 6, 30);
  r.choices = {true, true, true};
  r.C_assex = 60;
  return r;
}

}  // namespace velmont::bench
