#pragma once
// The description of one field of a table, and what an expression reads of a record.
#include <cstdint>
#include <string>
#include <string_view>

namespace velmont::data {

struct FieldDesc {
  std::string name;  // upper case, at most 10 characters
  char type = 'C';   // 'C', 'N', 'D', 'L' or 'M'
  int width = 0;     // bytes in the record (C fields may exceed 255)
  int decimals = 0;  // N fields only
  int offset = 0;    // from the start of the record, after the deletion flag byte
};

// The current record of a table as expressions see it.
class RecordContext {
 public:
  virtual ~RecordContext() = default;
  // Number of the field with this name (case-insensitive), or -1.
  virtual int fieldIndex(std::string_view name) const = 0;
  virtual const FieldDesc& field(int index) const = 0;
  // The raw bytes of a field of the current record (blank on the phantom record).
  virtual std::string_view fieldBytes(int index) const = 0;
  // The text of a memo field of the current record.
  virtual std::string memoText(int index) const = 0;
  virtual uint32_t recno() const = 0;
  virtual bool deleted() const = 0;
};

}  // namespace velmont::data
