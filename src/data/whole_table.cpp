#include "whole_table.h"

#include <atomic>
#include <random>

#include "error.h"
#include "file.h"
#include "table.h"

namespace velmont::data {

bool createWholeTable(const std::string& path, const std::vector<FieldSpec>& fields, uint8_t languageDriver,
                      const std::function<void(Table&)>& fill) {
  for (const FieldSpec& f : fields)
    if (f.type == 'M') throw DataError(path, "a table with memo fields cannot be made in one step");
  Env* env = Env::current();
  if (env->exists(path)) return false;
  static std::atomic<unsigned> counter{0};
  const std::string temporary = path + ".new" + std::to_string(std::random_device{}() % 100000) + "-" +
                                std::to_string(counter.fetch_add(1));
  try {
    DbfFile::create(temporary, fields, languageDriver);
    {
      auto table = Table::open(temporary, "new", OpenMode::kReadWrite);
      fill(*table);
      table->commit();
    }
    if (env->publish(temporary, path)) return true;
  } catch (...) {
    env->remove(temporary);
    throw;
  }
  env->remove(temporary);
  return false;
}

}  // namespace velmont::data
