#include "lmd_tables.h"

#include <filesystem>

#include "data/error.h"

namespace velmont::libs {

namespace fs = std::filesystem;

std::string dataFilePath(const std::string& dataDir, const std::string& name) {
  std::string file = name;
  if (fs::path(file).extension().empty()) file += ".dbf";
  const fs::path exact = fs::path(dataDir) / file;
  std::error_code ec;
  if (fs::exists(exact, ec)) return exact.string();
  for (const auto& entry : fs::directory_iterator(dataDir.empty() ? "." : dataDir, ec))
    if (data::sameName(entry.path().filename().string(), file)) return entry.path().string();
  return exact.string();
}

bool dataFileExists(const std::string& dataDir, const std::string& name) {
  std::error_code ec;
  return fs::exists(dataFilePath(dataDir, name), ec);
}

data::Table& lmdOpenDbf(const std::string& dataDir, const std::string& file, const std::string& alias,
                        data::OpenMode mode) {
  data::Workspace& ws = data::Workspace::forThisThread();
  if (ws.isOpen(alias)) {
    ws.select(alias);
    return *ws.current();
  }
  return ws.open(dataFilePath(dataDir, file), alias, mode);
}

std::vector<std::string> lmdGetArray(data::Table& table, int fieldNumber) {
  if (fieldNumber < 1 || fieldNumber > table.fieldCount())
    throw data::DataError(table.path(), "the table has no field number " + std::to_string(fieldNumber));
  std::vector<std::string> values;
  for (table.goTop(); !table.eof(); table.skip())
    values.emplace_back(table.str(fieldNumber - 1));
  return values;
}

}  // namespace velmont::libs
