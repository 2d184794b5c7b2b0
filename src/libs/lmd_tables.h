#pragma once
// The widget library's table calls: a school's file by name, a table opened
// shared in the calling thread's work areas, and a field's values as an array.
#include <string>
#include <vector>

#include "data/table.h"
#include "data/workspace.h"

namespace velmont::libs {

// The path of `name` in `dataDir`, matching letter case as a Windows directory
// does; ".dbf" is added to a name without extension. When no file matches,
// the path as written (so that errors name it).
std::string dataFilePath(const std::string& dataDir, const std::string& name);
// True when `name` exists in `dataDir` under any letter case.
bool dataFileExists(const std::string& dataDir, const std::string& name);

// lmdOpenDbf: opens `file` of `dataDir` shared under `alias` in the calling
// thread's work areas and selects it; an alias already open is selected as it
// is. Throws data::DataError naming the file when it is missing or damaged.
data::Table& lmdOpenDbf(const std::string& dataDir, const std::string& file, const std::string& alias,
                        data::OpenMode mode = data::OpenMode::kRead);

// lmdGetArray: the value (padded) of field number `fieldNumber` (from 1) of
// every visible record of the table, from its top in its current order.
std::vector<std::string> lmdGetArray(data::Table& table, int fieldNumber);

}  // namespace velmont::libs
