#pragma once
// A table's records as CSV, for looking at a school's data and for comparing
// our engine with other readers.
#include <ostream>
#include <string>
#include <vector>

namespace velmont::batch {

struct DumpOptions {
  std::string table;                // path, ".dbf" may be left off
  std::string index;                // NTX file giving the order; "" for file order
  std::vector<std::string> fields;  // field names; empty for all
};

// Writes a header line of field names, then one line per record that is not
// deleted: character fields without trailing blanks, numbers as stored without
// blanks, dates as YYYY-MM-DD (empty when empty), logicals as T or F, memos as
// their text; quoted where CSV needs it. Throws data::DataError for a file that
// cannot be read and UsageError for a field name the table lacks.
void dumpTable(const DumpOptions& options, std::ostream& out);

}  // namespace velmont::batch
