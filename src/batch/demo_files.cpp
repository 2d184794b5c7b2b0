#include "demo_files.h"

#include <fstream>

#include "data/error.h"
#include "data/file.h"
#include "data/table.h"

namespace velmont::batch {

std::string demoPath(const DemoSchool& school, const std::string& file) {
  return data::pathIn(school.options.dir, file);
}

std::string indexDemoTable(const DemoSchool& school, const SchoolTable& table) {
  auto t = data::Table::open(demoPath(school, table.file), table.alias);
  std::string names;
  for (const IndexNeed& index : table.indexes) {
    t->createIndex(demoPath(school, index.file), index.demoKey);
    names += (names.empty() ? "" : ", ") + index.file;
  }
  return names;
}

void writeTextFile(const std::string& path, const std::vector<std::string>& lines) {
  std::ofstream out(data::fsPath(path), std::ios::binary | std::ios::trunc);
  for (const std::string& line : lines) out << line << "\r\n";
  out.close();
  if (!out) throw data::DataError(path, "could not be written");
}

}  // namespace velmont::batch
