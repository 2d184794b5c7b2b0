#pragma once
// Copies of the demo school for tests: written once per flag set and copied
// into a fresh directory for each test, so a test may change its tables.
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "batch/demo_school.h"
#include "batch/progress.h"
#include "data/table.h"
#include "temp_dir.h"

namespace velmont::testing {

inline constexpr int kDemoYear = 2026;

// A demo school of 30 students for kDemoYear with the given flag files, its
// text in the given code page.
class SchoolCopy {
 public:
  explicit SchoolCopy(const std::set<std::string>& flags = {}, int codePage = 850) {
    static std::map<std::pair<std::set<std::string>, int>, std::unique_ptr<TempDir>> templates;
    auto& tmpl = templates[{flags, codePage}];
    if (!tmpl) {
      tmpl = std::make_unique<TempDir>();
      batch::DemoOptions options;
      options.dir = (tmpl->path() / "school").string();
      options.students = 30;
      options.year = kDemoYear;
      options.flags = flags;
      options.codePage = codePage;
      batch::Progress quiet(false);
      batch::writeDemoSchool(options, quiet);
    }
    // File by file: the mingw runtime refuses to copy a folder onto one that exists.
    for (const auto& entry : std::filesystem::directory_iterator(tmpl->path() / "school"))
      std::filesystem::copy(entry.path(), dir_.path() / entry.path().filename(),
                            std::filesystem::copy_options::recursive);
  }

  std::string dir() const { return dir_.path().string(); }
  std::string file(const std::string& name) const { return dir_.file(name); }

  // Sets a numeric field of a control record (levels' fees and the like).
  void setControl(uint32_t recno, const std::string& field, double value) const {
    auto t = data::Table::open(file("sccontro.dbf"), "ctl", data::OpenMode::kReadWrite);
    t->goTo(recno);
    t->lockRecord();
    t->replace(field, value);
    t->unlockRecord();
  }
  void setControl(uint32_t recno, const std::string& field, const data::Date& value) const {
    auto t = data::Table::open(file("sccontro.dbf"), "ctl", data::OpenMode::kReadWrite);
    t->goTo(recno);
    t->lockRecord();
    t->replace(field, value);
    t->unlockRecord();
  }

 private:
  TempDir dir_;
};

}  // namespace velmont::testing
