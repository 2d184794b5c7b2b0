#pragma once
// Writing a new table record by record: one record image is filled field by
// field and appended whole, the way a fast bulk writer must.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/date.h"
#include "data/dbf_file.h"
#include "data/memo_file.h"

namespace velmont::batch {

class TableWriter {
 public:
  // Creates the table (failing when the file exists) and opens it for appending.
  TableWriter(const std::string& path, const std::vector<data::FieldSpec>& fields);
  TableWriter(const TableWriter&) = delete;
  TableWriter& operator=(const TableWriter&) = delete;

  // Number of a field; throws std::logic_error when the table has none of that name.
  int field(std::string_view name) const;

  // Setters fill the pending record; a value that does not fit its field is a
  // generator fault and throws std::logic_error.
  void set(int field, std::string_view text);
  void set(int field, double number);
  void set(int field, const data::Date& date);
  void setLogical(int field, bool value);
  void setMemo(int field, std::string_view text);
  void set(std::string_view name, std::string_view text) { set(field(name), text); }
  void set(std::string_view name, const char* text) { set(field(name), std::string_view(text)); }
  void set(std::string_view name, const std::string& text) { set(field(name), std::string_view(text)); }
  void set(std::string_view name, double number) { set(field(name), number); }
  void set(std::string_view name, int number) { set(field(name), double(number)); }
  void set(std::string_view name, const data::Date& date) { set(field(name), date); }
  void setLogical(std::string_view name, bool value) { setLogical(field(name), value); }

  // Appends the pending record and starts a blank one; returns its number.
  uint32_t append();
  uint32_t count() const { return count_; }

 private:
  char* bytes(int field, size_t* width);

  std::unique_ptr<data::DbfFile> dbf_;
  std::unique_ptr<data::MemoFile> memo_;
  std::vector<char> image_;
  uint32_t count_ = 0;
};

}  // namespace velmont::batch
