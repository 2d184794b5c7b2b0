// Fields and records of a table, as the program reads them.
#include "check_parts.h"
#include "data/error.h"
#include "data/table.h"

namespace velmont::batch {

namespace {

std::string typeName(char type) {
  switch (type) {
    case 'C': return "character";
    case 'N': return "numeric";
    case 'D': return "date";
    case 'L': return "logical";
    case 'M': return "memo";
    default: return std::string("type ") + type;
  }
}

std::string typeNames(const std::string& types) {
  std::string out;
  for (size_t i = 0; i < types.size(); ++i) out += (i ? (i + 1 == types.size() ? " or " : ", ") : "") + typeName(types[i]);
  return out;
}

// The fields start-up reads by their number rather than by name.
struct FieldAtNumber {
  const char* table;
  const char* field;
  int number;
};
const FieldAtNumber kFieldsByNumber[] = {{"sccontro.dbf", "ST_HOUSE", 41}, {"sccontro.dbf", "ST_COTTG", 42}};

}  // namespace

void checkFields(CheckResult& result, const std::string& file, const data::Table& table, const SchoolTable& need) {
  for (const FieldNeed& f : need.fields) {
    const int i = table.fieldIndex(f.name);
    if (i < 0) {
      result.add(Severity::kError, file, "has no field " + f.name + ", which the program reads");
      continue;
    }
    const data::FieldDesc& d = table.field(i);
    if (f.types.find(d.type) == std::string::npos) {
      result.add(Severity::kError, file,
                 "field " + f.name + " is " + typeName(d.type) + "; the program needs " + typeNames(f.types));
    } else if (f.exactWidth && d.width != f.exactWidth) {
      result.add(Severity::kError, file,
                 "field " + f.name + " is " + std::to_string(d.width) + " wide; the program needs exactly " +
                     std::to_string(f.exactWidth));
    } else if (f.minWidth && d.width < f.minWidth) {
      result.add(Severity::kError, file,
                 "field " + f.name + " is " + std::to_string(d.width) + " wide; the program reads " +
                     std::to_string(f.minWidth) + " characters of it");
    }
  }
  for (const FieldAtNumber& n : kFieldsByNumber) {
    if (need.file != n.table) continue;
    const int i = table.fieldIndex(n.field);
    if (i >= 0 && i + 1 != n.number)
      result.add(Severity::kError, file,
                 std::string("field ") + n.field + " is field " + std::to_string(i + 1) + "; start-up reads field " +
                     std::to_string(n.number) + " for it");
  }
}

void checkRecords(CheckResult& result, const std::string& file, data::Table& table) {
  std::vector<int> memos;
  for (int i = 0; i < table.fieldCount(); ++i)
    if (table.field(i).type == 'M') memos.push_back(i);
  const uint32_t count = table.reccount();
  int reported = 0;
  for (uint32_t r = 1; r <= count; ++r) {
    try {
      table.goTo(r);
      if (table.eof()) {
        result.add(Severity::kError, file, "record " + std::to_string(r) + " of " + std::to_string(count) + " cannot be read");
        return;
      }
      for (int m : memos) table.memoText(m);
    } catch (const data::DataError& e) {
      if (++reported <= 5) result.add(Severity::kError, file, "record " + std::to_string(r) + ": " + e.reason());
    }
  }
  if (reported > 5) result.add(Severity::kError, file, std::to_string(reported - 5) + " more records cannot be read");
}

}  // namespace velmont::batch
