#pragma once
// The value of an expression: character, numeric, date or logical.
#include <string>
#include <string_view>

#include "date.h"

namespace velmont::data {

enum class ValueType : unsigned char { kCharacter, kNumeric, kDate, kLogical };

// "character", "numeric", "date" or "logical", for messages.
const char* valueTypeName(ValueType type);

// Display width that a computed number gets: 10 digits before the point (20 when
// the value does not fit in 10 characters), plus the point and the decimals.
int defaultNumericWidth(double value, int decimals);

// One value. Numbers carry the display width and decimals that STR() uses.
// Character values either own their bytes or refer to bytes owned elsewhere (a
// field of the current record, the result of a sub-expression); a copy always
// owns its bytes, so copies stay valid after the evaluation that produced them.
class Value {
 public:
  Value() = default;
  Value(const Value& other) { *this = other; }
  Value& operator=(const Value& other);

  static Value text(std::string_view bytes);
  // A number with the default width for its value.
  static Value number(double value, int decimals = 0);
  static Value number(double value, int width, int decimals);
  static Value date(Date d);
  static Value logical(bool b);

  ValueType type() const { return type_; }
  std::string_view text() const { return owned_ ? std::string_view(buffer_) : view_; }
  double number() const { return number_; }
  int width() const { return width_; }
  int decimals() const { return decimals_; }
  Date date() const { return date_; }
  bool logical() const { return logical_; }

  // Setters that reuse this value's storage; evaluation calls them once per record.
  // setView keeps a reference: `bytes` must outlive the use of this value.
  void setView(std::string_view bytes);
  // Clears the owned buffer (keeping its capacity) and returns it for filling.
  std::string& resetText();
  void setNumber(double value, int width, int decimals);
  void setDate(Date d);
  void setLogical(bool b);

 private:
  ValueType type_ = ValueType::kCharacter;
  bool owned_ = true;
  bool logical_ = false;
  int width_ = 0;
  int decimals_ = 0;
  double number_ = 0;
  Date date_;
  std::string buffer_;
  std::string_view view_;
};

}  // namespace velmont::data
