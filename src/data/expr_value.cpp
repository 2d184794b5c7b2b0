#include "expr_value.h"

namespace velmont::data {

const char* valueTypeName(ValueType type) {
  switch (type) {
    case ValueType::kCharacter: return "character";
    case ValueType::kNumeric: return "numeric";
    case ValueType::kDate: return "date";
    case ValueType::kLogical: return "logical";
  }
  return "unknown";
}

int defaultNumericWidth(double value, int decimals) {
  const bool large = value >= 1e10 || value <= -1e9 || value != value;
  return (large ? 20 : 10) + (decimals > 0 ? decimals + 1 : 0);
}

Value& Value::operator=(const Value& other) {
  if (this == &other) return *this;
  type_ = other.type_;
  logical_ = other.logical_;
  width_ = other.width_;
  decimals_ = other.decimals_;
  number_ = other.number_;
  date_ = other.date_;
  buffer_.assign(other.text());
  owned_ = true;
  view_ = {};
  return *this;
}

Value Value::text(std::string_view bytes) {
  Value v;
  v.resetText().assign(bytes);
  return v;
}

Value Value::number(double value, int decimals) {
  return number(value, defaultNumericWidth(value, decimals), decimals);
}

Value Value::number(double value, int width, int decimals) {
  Value v;
  v.setNumber(value, width, decimals);
  return v;
}

Value Value::date(Date d) {
  Value v;
  v.setDate(d);
  return v;
}

Value Value::logical(bool b) {
  Value v;
  v.setLogical(b);
  return v;
}

void Value::setView(std::string_view bytes) {
  type_ = ValueType::kCharacter;
  owned_ = false;
  view_ = bytes;
}

std::string& Value::resetText() {
  type_ = ValueType::kCharacter;
  owned_ = true;
  buffer_.clear();
  return buffer_;
}

void Value::setNumber(double value, int width, int decimals) {
  type_ = ValueType::kNumeric;
  number_ = value;
  width_ = width;
  decimals_ = decimals;
}

void Value::setDate(Date d) {
  type_ = ValueType::kDate;
  date_ = d;
}

void Value::setLogical(bool b) {
  type_ = ValueType::kLogical;
  logical_ = b;
}

}  // namespace velmont::data
