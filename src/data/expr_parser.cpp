// Recursive descent over the operator levels, loosest binding first:
// .OR.; .AND.; .NOT. and !; = == != <> #; < <= > >= $; + -; * / %; ** ^; unary - +.
#include <cmath>

#include "error.h"
#include "expr.h"
#include "expr_lexer.h"
#include "expr_node.h"
#include "numeric.h"

namespace velmont::data {
namespace {

// Nested parentheses, prefix operators and calls deeper than this are rejected,
// and so are trees taller than kMaxHeight (long operator chains), so that
// neither parsing nor evaluation can exhaust the stack.
constexpr int kMaxNesting = 200;
constexpr int kMaxHeight = 500;

using NodePtr = std::unique_ptr<ExprNode>;

struct FunctionSpec {
  const char* name;
  ExprOp op;
  const char* args;  // one letter per argument: C, N, D, L, or '?' for any type
  int required;      // arguments that must be present
  char result;       // C, N, D, L, or '=' for the type of the second argument
};

constexpr FunctionSpec kFunctions[] = {
    {"STR", ExprOp::kStr, "NNN", 1, 'C'},
    {"UPPER", ExprOp::kUpper, "C", 1, 'C'},
    {"RTRIM", ExprOp::kRtrim, "C", 1, 'C'},
    {"TRIM", ExprOp::kRtrim, "C", 1, 'C'},
    {"LTRIM", ExprOp::kLtrim, "C", 1, 'C'},
    {"ALLTRIM", ExprOp::kAlltrim, "C", 1, 'C'},
    {"SUBSTR", ExprOp::kSubstr, "CNN", 2, 'C'},
    {"LEFT", ExprOp::kLeft, "CN", 2, 'C'},
    {"RIGHT", ExprOp::kRight, "CN", 2, 'C'},
    {"LEN", ExprOp::kLen, "C", 1, 'N'},
    {"DTOS", ExprOp::kDtos, "D", 1, 'C'},
    {"DTOC", ExprOp::kDtoc, "D", 1, 'C'},
    {"CTOD", ExprOp::kCtod, "C", 1, 'D'},
    {"VAL", ExprOp::kVal, "C", 1, 'N'},
    {"RECNO", ExprOp::kRecno, "", 0, 'N'},
    {"DELETED", ExprOp::kDeleted, "", 0, 'L'},
    {"EMPTY", ExprOp::kEmpty, "?", 1, 'L'},
    {"IIF", ExprOp::kIif, "L??", 3, '='},
    {"DATE", ExprOp::kDate, "", 0, 'D'},
};

ValueType typeOfLetter(char letter) {
  switch (letter) {
    case 'N': return ValueType::kNumeric;
    case 'D': return ValueType::kDate;
    case 'L': return ValueType::kLogical;
    default: return ValueType::kCharacter;
  }
}

class Parser {
 public:
  Parser(std::string_view text, const RecordContext& schema, const Bindings* vars,
         const std::string& file, const ParseOptions& options)
      : text_(text), lexer_(text), schema_(schema), vars_(vars), file_(file), options_(options) {}

  NodePtr parseAll() {
    advance();
    NodePtr root = parseOr();
    if (tok_.kind != TokenKind::kEnd) unexpected();
    return root;
  }

 private:
  // Counts one level of nesting for as long as it lives.
  class Nesting {
   public:
    explicit Nesting(Parser& p) : p_(p) {
      if (++p_.depth_ > kMaxNesting)
        p_.fail("does not parse: nested more than " + std::to_string(kMaxNesting) +
                    " levels deep",
                p_.tok_.column);
    }
    ~Nesting() { --p_.depth_; }

   private:
    Parser& p_;
  };

  void advance() {
    tok_ = lexer_.next();
    if (!lexer_.error().empty()) fail("does not parse: " + lexer_.error(), -1);
  }

  [[noreturn]] void fail(const std::string& what, int column) {
    std::string reason = std::string(options_.role) + " " + quoteForMessage(text_) + " " + what;
    if (column > 0) reason += " at column " + std::to_string(column);
    throw DataError(file_, reason);
  }

  [[noreturn]] void unexpected() {
    if (tok_.kind == TokenKind::kEnd) fail("does not parse: unexpected end of text", tok_.column);
    fail("does not parse: unexpected " + quoteForMessage(tok_.text, 20), tok_.column);
  }

  void expect(TokenKind kind) {
    if (tok_.kind != kind) unexpected();
    advance();
  }

  NodePtr make(ExprOp op, ValueType type, NodePtr a = nullptr, NodePtr b = nullptr) {
    auto node = std::make_unique<ExprNode>();
    node->op = op;
    node->type = type;
    if (a) node->args.push_back(std::move(a));
    if (b) node->args.push_back(std::move(b));
    return finish(std::move(node));
  }

  NodePtr finish(NodePtr node) {
    for (const auto& arg : node->args)
      node->height = std::max(node->height, arg->height + 1);
    if (node->height > kMaxHeight)
      fail("is too complex: more than " + std::to_string(kMaxHeight) + " levels of operations",
           -1);
    return node;
  }

  [[noreturn]] void typeError(const Token& op, const ExprNode& a, const ExprNode* b) {
    std::string what = "is not valid: cannot apply " + quoteForMessage(op.text) + " to " +
                       valueTypeName(a.type);
    if (b) what += std::string(" and ") + valueTypeName(b->type);
    fail(what, op.column);
  }

  NodePtr logicalPair(ExprOp op, const Token& t, NodePtr a, NodePtr b) {
    if (a->type != ValueType::kLogical || b->type != ValueType::kLogical) typeError(t, *a, b.get());
    return make(op, ValueType::kLogical, std::move(a), std::move(b));
  }

  NodePtr parseOr() {
    NodePtr left = parseAnd();
    while (tok_.kind == TokenKind::kOr) {
      const Token t = tok_;
      advance();
      left = logicalPair(ExprOp::kOr, t, std::move(left), parseAnd());
    }
    return left;
  }

  NodePtr parseAnd() {
    NodePtr left = parseNot();
    while (tok_.kind == TokenKind::kAnd) {
      const Token t = tok_;
      advance();
      left = logicalPair(ExprOp::kAnd, t, std::move(left), parseNot());
    }
    return left;
  }

  // .NOT. binds looser than the comparisons: .NOT. a = b is .NOT. (a = b).
  NodePtr parseNot() {
    if (tok_.kind != TokenKind::kNot) return parseEquality();
    Nesting nesting(*this);
    const Token t = tok_;
    advance();
    NodePtr operand = parseNot();
    if (operand->type != ValueType::kLogical) typeError(t, *operand, nullptr);
    return make(ExprOp::kNot, ValueType::kLogical, std::move(operand));
  }

  NodePtr comparison(ExprOp op, const Token& t, NodePtr a, NodePtr b) {
    if (a->type != b->type) {
      fail(std::string("is not valid: cannot compare ") + valueTypeName(a->type) + " with " +
               valueTypeName(b->type),
           t.column);
    }
    if (op == ExprOp::kContains && a->type != ValueType::kCharacter) typeError(t, *a, b.get());
    NodePtr node = make(op, ValueType::kLogical, std::move(a), std::move(b));
    node->exact = options_.exact;
    return node;
  }

  NodePtr parseEquality() {
    NodePtr left = parseRelation();
    for (;;) {
      ExprOp op;
      switch (tok_.kind) {
        case TokenKind::kEq: op = ExprOp::kEqual; break;
        case TokenKind::kExactEq: op = ExprOp::kExactEqual; break;
        case TokenKind::kNotEq: op = ExprOp::kNotEqual; break;
        default: return left;
      }
      const Token t = tok_;
      advance();
      left = comparison(op, t, std::move(left), parseRelation());
    }
  }

  NodePtr parseRelation() {
    NodePtr left = parseSum();
    for (;;) {
      ExprOp op;
      switch (tok_.kind) {
        case TokenKind::kLess: op = ExprOp::kLess; break;
        case TokenKind::kLessEq: op = ExprOp::kLessEqual; break;
        case TokenKind::kGreater: op = ExprOp::kGreater; break;
        case TokenKind::kGreaterEq: op = ExprOp::kGreaterEqual; break;
        case TokenKind::kContains: op = ExprOp::kContains; break;
        default: return left;
      }
      const Token t = tok_;
      advance();
      left = comparison(op, t, std::move(left), parseSum());
    }
  }

  // + and - join strings, shift dates by days, and subtract dates from each other.
  NodePtr sum(ExprOp op, const Token& t, NodePtr a, NodePtr b) {
    using T = ValueType;
    const T x = a->type, y = b->type;
    T result;
    if (x == T::kNumeric && y == T::kNumeric) {
      result = T::kNumeric;
    } else if (x == T::kCharacter && y == T::kCharacter) {
      result = T::kCharacter;
    } else if (x == T::kDate && y == T::kNumeric) {
      result = T::kDate;
    } else if (op == ExprOp::kAdd && x == T::kNumeric && y == T::kDate) {
      result = T::kDate;
    } else if (op == ExprOp::kSubtract && x == T::kDate && y == T::kDate) {
      result = T::kNumeric;
    } else {
      typeError(t, *a, b.get());
    }
    return make(op, result, std::move(a), std::move(b));
  }

  NodePtr parseSum() {
    NodePtr left = parseProduct();
    for (;;) {
      ExprOp op;
      switch (tok_.kind) {
        case TokenKind::kPlus: op = ExprOp::kAdd; break;
        case TokenKind::kMinus: op = ExprOp::kSubtract; break;
        default: return left;
      }
      const Token t = tok_;
      advance();
      left = sum(op, t, std::move(left), parseProduct());
    }
  }

  NodePtr numericPair(ExprOp op, const Token& t, NodePtr a, NodePtr b) {
    if (a->type != ValueType::kNumeric || b->type != ValueType::kNumeric) typeError(t, *a, b.get());
    return make(op, ValueType::kNumeric, std::move(a), std::move(b));
  }

  NodePtr parseProduct() {
    NodePtr left = parsePower();
    for (;;) {
      ExprOp op;
      switch (tok_.kind) {
        case TokenKind::kStar: op = ExprOp::kMultiply; break;
        case TokenKind::kSlash: op = ExprOp::kDivide; break;
        case TokenKind::kPercent: op = ExprOp::kModulo; break;
        default: return left;
      }
      const Token t = tok_;
      advance();
      left = numericPair(op, t, std::move(left), parsePower());
    }
  }

  NodePtr parsePower() {
    NodePtr left = parseUnary();
    while (tok_.kind == TokenKind::kPower) {
      const Token t = tok_;
      advance();
      left = numericPair(ExprOp::kPower, t, std::move(left), parseUnary());
    }
    return left;
  }

  NodePtr parseUnary() {
    if (tok_.kind != TokenKind::kMinus && tok_.kind != TokenKind::kPlus) return parsePrimary();
    Nesting nesting(*this);
    const Token t = tok_;
    advance();
    NodePtr operand = parseUnary();
    if (operand->type != ValueType::kNumeric) typeError(t, *operand, nullptr);
    if (t.kind == TokenKind::kPlus) return operand;
    return make(ExprOp::kNegate, ValueType::kNumeric, std::move(operand));
  }

  NodePtr parsePrimary() {
    const Token t = tok_;
    switch (t.kind) {
      case TokenKind::kNumber: {
        advance();
        return numberLiteral(t.text);
      }
      case TokenKind::kString: {
        advance();
        NodePtr node = make(ExprOp::kLiteral, ValueType::kCharacter);
        node->result.resetText().assign(t.text);
        return node;
      }
      case TokenKind::kTrue:
      case TokenKind::kFalse: {
        advance();
        NodePtr node = make(ExprOp::kLiteral, ValueType::kLogical);
        node->result.setLogical(t.kind == TokenKind::kTrue);
        return node;
      }
      case TokenKind::kLParen: {
        Nesting nesting(*this);
        advance();
        NodePtr inner = parseOr();
        expect(TokenKind::kRParen);
        return inner;
      }
      case TokenKind::kNot:
        // A negation as an operand, as in  x = !y ; it takes one comparison level.
        return parseNot();
      case TokenKind::kIdent:
        advance();
        if (tok_.kind == TokenKind::kLParen) return parseCall(t);
        if (tok_.kind == TokenKind::kAlias) return parseAliased(t);
        return resolveName(t, /*allowField=*/true, /*allowVariable=*/true);
      default:
        unexpected();
    }
  }

  NodePtr numberLiteral(std::string_view digits) {
    const size_t point = digits.find('.');
    const int decimals = point == std::string_view::npos ? 0 : int(digits.size() - point - 1);
    const double value = parseNumeric(digits);
    NodePtr node = make(ExprOp::kLiteral, ValueType::kNumeric);
    node->result.setNumber(value, defaultNumericWidth(value, decimals), decimals);
    return node;
  }

  // M->name and MEMVAR->name name a variable; FIELD->name and alias->name a field
  // of the current table (the alias is not checked).
  NodePtr parseAliased(const Token& alias) {
    advance();  // past ->
    const Token name = tok_;
    if (name.kind != TokenKind::kIdent) unexpected();
    advance();
    const std::string prefix = upperAscii(alias.text);
    const bool variable = prefix == "M" || prefix == "MEMVAR";
    return resolveName(name, !variable, variable);
  }

  NodePtr resolveName(const Token& t, bool allowField, bool allowVariable) {
    if (allowField) {
      const int index = schema_.fieldIndex(t.text);
      if (index >= 0) return fieldNode(t, index);
    }
    if (allowVariable && vars_) {
      if (const Value* value = vars_->find(t.text)) {
        NodePtr node = make(ExprOp::kVariable, value->type());
        node->variable = value;
        node->name = upperAscii(t.text);
        return node;
      }
    }
    const char* kind = allowField && allowVariable ? "field or variable" : allowField ? "field" : "variable";
    fail(std::string("is not valid: unknown ") + kind + " " + upperAscii(t.text), t.column);
  }

  NodePtr fieldNode(const Token& t, int index) {
    const FieldDesc& desc = schema_.field(index);
    NodePtr node;
    switch (desc.type) {
      case 'C': node = make(ExprOp::kField, ValueType::kCharacter); break;
      case 'M': node = make(ExprOp::kMemoField, ValueType::kCharacter); break;
      case 'D': node = make(ExprOp::kField, ValueType::kDate); break;
      case 'L': node = make(ExprOp::kField, ValueType::kLogical); break;
      case 'N':
      case 'F':
        node = make(ExprOp::kField, ValueType::kNumeric);
        node->numericWidth = desc.width;
        node->numericDecimals = desc.decimals;
        break;
      default:
        fail("is not valid: field " + upperAscii(t.text) + " has unsupported type " +
                 quoteForMessage(std::string_view(&desc.type, 1)),
             t.column);
    }
    node->field = index;
    return node;
  }

  NodePtr parseCall(const Token& nameToken) {
    const std::string name = upperAscii(nameToken.text);
    const FunctionSpec* spec = nullptr;
    for (const FunctionSpec& f : kFunctions)
      if (name == f.name) spec = &f;
    if (!spec) {
      throw DataError(file_, "unsupported function " + name + " in " + std::string(options_.role) +
                                 " " + quoteForMessage(text_));
    }
    Nesting nesting(*this);
    advance();  // past (
    auto node = std::make_unique<ExprNode>();
    node->op = spec->op;
    if (tok_.kind != TokenKind::kRParen) {
      for (;;) {
        node->args.push_back(parseOr());
        if (tok_.kind != TokenKind::kComma) break;
        advance();
      }
    }
    const Token close = tok_;
    expect(TokenKind::kRParen);
    checkArguments(*spec, *node, close);
    return finish(std::move(node));
  }

  void checkArguments(const FunctionSpec& spec, ExprNode& node, const Token& close) {
    const std::string_view letters = spec.args;
    const size_t count = node.args.size();
    if (count < size_t(spec.required) || count > letters.size()) {
      fail("is not valid: wrong number of arguments to " + std::string(spec.name), close.column);
    }
    for (size_t i = 0; i < count; ++i) {
      if (letters[i] != '?' && node.args[i]->type != typeOfLetter(letters[i])) {
        fail("is not valid: argument " + std::to_string(i + 1) + " of " + spec.name +
                 " must be " + valueTypeName(typeOfLetter(letters[i])) + ", not " +
                 valueTypeName(node.args[i]->type),
             close.column);
      }
    }
    if (spec.result != '=') {
      node.type = typeOfLetter(spec.result);
      return;
    }
    if (node.args[1]->type != node.args[2]->type) {
      fail(std::string("is not valid: the results of ") + spec.name + " differ in type (" +
               valueTypeName(node.args[1]->type) + " and " + valueTypeName(node.args[2]->type) +
               ")",
           close.column);
    }
    node.type = node.args[1]->type;
  }

  std::string_view text_;
  Lexer lexer_;
  const RecordContext& schema_;
  const Bindings* vars_;
  const std::string& file_;
  const ParseOptions& options_;
  Token tok_;
  int depth_ = 0;
};

}  // namespace

std::unique_ptr<ExprNode> parseTree(std::string_view text, const RecordContext& schema,
                                    const Bindings* vars, const std::string& file,
                                    const ParseOptions& options) {
  return Parser(text, schema, vars, file, options).parseAll();
}

}  // namespace velmont::data
