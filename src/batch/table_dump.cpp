#include "table_dump.h"

#include <filesystem>

#include "arguments.h"
#include "data/csv.h"
#include "data/error.h"
#include "data/file.h"
#include "data/table.h"
#include "school/school_folder.h"
#include "school_files.h"

namespace velmont::batch {

namespace fs = std::filesystem;

namespace {

// The file as given, else with the extension added, else beside `near`, each
// found whatever its letter case.
std::string resolve(const std::string& given, const std::string& extension, const std::string& near = "") {
  std::error_code ec;
  if (fs::is_regular_file(data::fsPath(given), ec)) return given;
  const std::string name = data::fileNameOf(given), dir = data::directoryOf(given);
  std::vector<std::string> names = {name};
  if (!data::fsPath(name).has_extension()) names.push_back(name + extension);
  std::vector<std::string> dirs = {dir.empty() ? "." : dir};
  if (!near.empty() && dir.empty()) dirs.push_back(data::directoryOf(near));
  for (const std::string& dir : dirs)
    for (const std::string& name : names) {
      const std::string found = school::SchoolFolder(dir.empty() ? "." : dir).file(name);
      if (!found.empty()) return found;
    }
  throw data::DataError(given, "no such file");
}

std::string cellOf(const data::Table& t, int field) {
  const data::FieldDesc& f = t.field(field);
  switch (f.type) {
    case 'N': {
      const std::string_view s = t.str(field);
      const size_t b = s.find_first_not_of(' '), e = s.find_last_not_of(' ');
      return b == std::string_view::npos ? "" : std::string(s.substr(b, e - b + 1));
    }
    case 'D': return t.date(field).iso();
    case 'L': return t.logical(field) ? "T" : "F";
    case 'M': return t.memoText(field);
    default: return t.text(field);
  }
}

}  // namespace

void dumpTable(const DumpOptions& options, std::ostream& out) {
  const std::string tablePath = resolve(options.table, ".dbf");
  auto t = data::Table::open(tablePath, "DUMP");
  std::vector<int> columns;
  if (options.fields.empty()) {
    for (int i = 0; i < t->fieldCount(); ++i) columns.push_back(i);
  } else {
    for (const std::string& name : options.fields) {
      const int i = t->fieldIndex(name);
      if (i < 0) throw UsageError(data::fileNameOf(tablePath) + " has no field " + name);
      columns.push_back(i);
    }
  }
  if (!options.index.empty()) {
    t->addIndex(resolve(options.index, ".ntx", tablePath));
    t->setOrder(1);
  }

  for (size_t c = 0; c < columns.size(); ++c) out << (c ? "," : "") << t->field(columns[c]).name;
  out << "\n";
  for (t->goTop(); !t->eof(); t->skip()) {
    for (size_t c = 0; c < columns.size(); ++c) out << (c ? "," : "") << data::csvField(cellOf(*t, columns[c]));
    out << "\n";
  }
  if (!out) throw data::DataError("(standard output)", "could not be written");
}

}  // namespace velmont::batch
