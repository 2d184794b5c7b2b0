#include "lmd_tables.h"

#include "data/error.h"

namespace velmont::libs {

data::Table& lmdOpenDbf(const std::string& path, const std::string& alias, data::OpenMode mode) {
  data::Workspace& ws = data::Workspace::forThisThread();
  if (ws.isOpen(alias)) {
    ws.select(alias);
    return *ws.current();
  }
  return ws.open(path, alias, mode);
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
