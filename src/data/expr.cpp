#include "expr.h"

#include <algorithm>
#include <cstring>

#include "error.h"
#include "expr_lexer.h"
#include "expr_node.h"
#include "numeric.h"

namespace velmont::data {
namespace {

// The record of `schema` with every field blank, as a new index sees it.
class BlankRecord : public RecordContext {
 public:
  BlankRecord(const RecordContext& schema, uint32_t recno) : schema_(schema), recno_(recno) {}
  int fieldIndex(std::string_view name) const override { return schema_.fieldIndex(name); }
  const FieldDesc& field(int index) const override { return schema_.field(index); }
  std::string_view fieldBytes(int index) const override {
    const size_t width = size_t(std::max(0, schema_.field(index).width));
    if (blanks_.size() < width) blanks_.resize(width, ' ');
    return std::string_view(blanks_).substr(0, width);
  }
  std::string memoText(int) const override { return {}; }
  uint32_t recno() const override { return recno_; }
  bool deleted() const override { return false; }

 private:
  const RecordContext& schema_;
  uint32_t recno_;
  mutable std::string blanks_;
};

// Copies `bytes` into a key of `size` bytes, cut or padded with blanks.
void copyPadded(char* out, int size, std::string_view bytes) {
  const size_t n = std::min(bytes.size(), size_t(size));
  std::memcpy(out, bytes.data(), n);
  std::memset(out + n, ' ', size_t(size) - n);
}

}  // namespace

void Bindings::set(std::string_view name, const Value& value) {
  const std::string key = upperAscii(name);
  for (auto& entry : entries_) {
    if (entry->name == key) {
      entry->value = value;
      return;
    }
  }
  entries_.push_back(std::make_unique<Entry>(Entry{key, value}));
}

const Value* Bindings::find(std::string_view name) const {
  const std::string key = upperAscii(name);
  for (const auto& entry : entries_)
    if (entry->name == key) return &entry->value;
  return nullptr;
}

Expression Expression::parse(std::string_view text, const RecordContext& schema,
                             const Bindings* vars, const std::string& fileForErrors,
                             const ParseOptions& options) {
  std::unique_ptr<ExprNode> root = parseTree(text, schema, vars, fileForErrors, options);
  return Expression(std::string(text), fileForErrors, std::move(root));
}

Expression::Expression(std::string text, std::string file, std::unique_ptr<ExprNode> root)
    : text_(std::move(text)), file_(std::move(file)), type_(root->type), root_(std::move(root)) {}

Expression::Expression(Expression&&) noexcept = default;
Expression& Expression::operator=(Expression&&) noexcept = default;
Expression::~Expression() = default;

const Value& Expression::eval(const RecordContext& rec) { return evalNode(*root_, rec, file_); }

bool Expression::evalBool(const RecordContext& rec) {
  if (type_ != ValueType::kLogical) {
    throw DataError(file_, "expression " + quoteForMessage(text_) + " gives a " +
                               valueTypeName(type_) + " value, not a logical one");
  }
  return eval(rec).logical();
}

void Expression::evalKey(const RecordContext& rec, char* out, int keySize, int keyDecimals) {
  if (keySize < 1 || keySize > kMaxKeySize) {
    throw DataError(file_, "key size " + std::to_string(keySize) + " is outside 1 to " +
                               std::to_string(kMaxKeySize));
  }
  const Value& v = eval(rec);
  switch (v.type()) {
    case ValueType::kCharacter: copyPadded(out, keySize, v.text()); break;
    case ValueType::kNumeric:
      encodeNumericKey(out, v.number(), keySize, std::clamp(keyDecimals, 0, keySize));
      break;
    case ValueType::kDate: {
      char digits[8];
      v.date().dtosInto(digits);
      copyPadded(out, keySize, std::string_view(digits, 8));
      break;
    }
    case ValueType::kLogical: copyPadded(out, keySize, v.logical() ? "T" : "F"); break;
  }
}

KeyShape Expression::keyShapeOnBlank(const RecordContext& schema, uint32_t blankRecno) {
  BlankRecord blank(schema, blankRecno);
  const Value& v = eval(blank);
  KeyShape shape;
  shape.type = v.type();
  switch (v.type()) {
    case ValueType::kCharacter: shape.size = int(v.text().size()); break;
    case ValueType::kNumeric:
      shape.size = v.width();
      shape.decimals = v.decimals();
      break;
    case ValueType::kDate: shape.size = 8; break;
    case ValueType::kLogical: shape.size = 1; break;
  }
  if (shape.size < 1 || shape.size > kMaxKeySize) {
    throw DataError(file_, "key expression " + quoteForMessage(text_) + " gives a key of " +
                               std::to_string(shape.size) + " bytes; keys hold 1 to " +
                               std::to_string(kMaxKeySize));
  }
  return shape;
}

}  // namespace velmont::data
