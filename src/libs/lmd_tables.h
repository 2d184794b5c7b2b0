#pragma once
// The widget library's table calls: a table opened shared in the calling
// thread's work areas, and a field's values as an array.
#include <string>
#include <vector>

#include "data/table.h"
#include "data/workspace.h"

namespace velmont::libs {

// lmdOpenDbf: opens the table at `path` shared under `alias` in the calling
// thread's work areas and selects it; an alias already open is selected as it
// is. Throws data::DataError naming the file when it is missing or damaged.
data::Table& lmdOpenDbf(const std::string& path, const std::string& alias, data::OpenMode mode = data::OpenMode::kRead);

// lmdGetArray: the value (padded) of field number `fieldNumber` (from 1) of
// every visible record of the table, from its top in its current order.
std::vector<std::string> lmdGetArray(data::Table& table, int fieldNumber);

}  // namespace velmont::libs
