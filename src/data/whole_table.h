#pragma once
// A new table that no other program ever sees half made: it is created and
// filled under a name of its own and only then moved to its name, in one step
// that fails when another program has made the table first.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dbf_file.h"

namespace velmont::data {

class Table;

// Creates the table `path` with `fields` (no memo fields), lets `fill` append
// its records, and puts it in place. False, with nothing of ours left behind,
// when the table exists by then: another program made it meanwhile, and its
// table is the one to use. A failure to create, fill or place it throws
// DataError naming the file.
bool createWholeTable(const std::string& path, const std::vector<FieldSpec>& fields, uint8_t languageDriver,
                      const std::function<void(Table&)>& fill);

}  // namespace velmont::data
