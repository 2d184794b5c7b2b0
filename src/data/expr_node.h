#pragma once
// The compiled form of an expression: a tree of typed nodes, each with its own
// result storage that is reused from one record to the next.
#include <memory>
#include <string>
#include <vector>

#include "expr_value.h"
#include "field.h"

namespace velmont::data {

class Bindings;
struct ParseOptions;

enum class ExprOp : unsigned char {
  kLiteral,
  kField,
  kMemoField,
  kVariable,
  kAnd,
  kOr,
  kNot,
  kEqual,
  kExactEqual,
  kNotEqual,
  kLess,
  kLessEqual,
  kGreater,
  kGreaterEqual,
  kContains,
  kAdd,
  kSubtract,
  kMultiply,
  kDivide,
  kModulo,
  kPower,
  kNegate,
  kStr,
  kUpper,
  kRtrim,
  kLtrim,
  kAlltrim,
  kSubstr,
  kLeft,
  kRight,
  kLen,
  kDtos,
  kDtoc,
  kCtod,
  kVal,
  kRecno,
  kDeleted,
  kEmpty,
  kIif,
  kDate,
};

struct ExprNode {
  ExprOp op = ExprOp::kLiteral;
  ValueType type = ValueType::kCharacter;  // known when the tree is built
  bool exact = false;                      // string comparisons: SET EXACT
  int field = -1;                          // kField, kMemoField
  int numericWidth = 0;                    // kField of an N field
  int numericDecimals = 0;
  const Value* variable = nullptr;  // kVariable: the bound value
  std::string name;                 // kVariable: for messages
  std::vector<std::unique_ptr<ExprNode>> args;
  int height = 1;  // levels of nodes down to the deepest leaf
  Value result;  // kLiteral: the literal; otherwise reused storage
};

// The value of `node` for the current record of `rec`. Throws DataError(file, ...)
// when a variable no longer has the type the tree was built for.
const Value& evalNode(ExprNode& node, const RecordContext& rec, const std::string& file);

// Builds the tree of `text`; throws DataError(file, ...) on any fault in it.
std::unique_ptr<ExprNode> parseTree(std::string_view text, const RecordContext& schema,
                                    const Bindings* vars, const std::string& file,
                                    const ParseOptions& options);

}  // namespace velmont::data
