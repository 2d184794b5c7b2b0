#pragma once
// Index key and record filter expressions: compiled once, evaluated per record.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "expr_value.h"
#include "field.h"

namespace velmont::data {

struct ExprNode;

// Values bound by name (case-insensitive) that an expression reads as variables.
// A value the user typed is bound here, never spliced into expression text.
// Expressions keep pointers to the bound values: a Bindings object must outlive
// the expressions parsed with it, and a name, once bound, keeps its type.
class Bindings {
 public:
  Bindings() = default;
  Bindings(const Bindings&) = delete;
  Bindings& operator=(const Bindings&) = delete;
  Bindings(Bindings&&) = default;
  Bindings& operator=(Bindings&&) = default;

  // Binds `name` to `value`, replacing the previous value of that name.
  void set(std::string_view name, const Value& value);
  void setText(std::string_view name, std::string_view text) { set(name, Value::text(text)); }
  void setNumber(std::string_view name, double n, int decimals = 0) {
    set(name, Value::number(n, decimals));
  }
  void setDate(std::string_view name, Date d) { set(name, Value::date(d)); }
  void setLogical(std::string_view name, bool b) { set(name, Value::logical(b)); }

  // The value bound to `name`, or nullptr. The pointer stays valid while this
  // object lives; later set() calls change the value it points to.
  const Value* find(std::string_view name) const;

 private:
  struct Entry {
    std::string name;  // upper case
    Value value;
  };
  std::vector<std::unique_ptr<Entry>> entries_;
};

struct ParseOptions {
  // SET EXACT: when true, `=` and the ordering operators ignore trailing blanks
  // but compare full lengths; when false, `=` is the prefix comparison where
  // "12345" = "123" holds. The program compares exactly.
  bool exact = true;
  // How messages name the text: "key expression", "filter expression", ...
  std::string_view role = "expression";
};

// What an index built from an expression stores: key type, size and decimals.
struct KeyShape {
  ValueType type = ValueType::kCharacter;
  int size = 0;
  int decimals = 0;
};

// The largest key an index can hold.
inline constexpr int kMaxKeySize = 256;

// A compiled expression. Field names are resolved against the schema given to
// parse(); the record contexts given to evaluation must describe the same table.
// Used by one thread at a time.
//
// Text functions work on the stored bytes, whatever the table's code page:
// UPPER(s) turns a-z into A-Z and keeps every other byte, national letters
// (bytes from 128 up) included, unchanged, as the school's existing index
// files were built. A comparison that must treat "é" and "É" alike is made in
// Unicode by the caller (see print/school_text.h), not with UPPER().
class Expression {
 public:
  // Compiles `text`. Throws DataError(fileForErrors, ...) when the text does not
  // parse, names an unknown field, variable or function, mixes types, or nests
  // too deeply. `vars` (may be null) must outlive the expression.
  static Expression parse(std::string_view text, const RecordContext& schema,
                          const Bindings* vars = nullptr, const std::string& fileForErrors = "",
                          const ParseOptions& options = {});

  Expression(Expression&&) noexcept;
  Expression& operator=(Expression&&) noexcept;
  Expression(const Expression&) = delete;
  Expression& operator=(const Expression&) = delete;
  ~Expression();

  ValueType type() const { return type_; }
  const std::string& text() const { return text_; }

  // The value for the current record of `rec`. Valid until the next evaluation.
  // Throws DataError when a bound variable has changed type since parsing.
  const Value& eval(const RecordContext& rec);
  // eval() for a logical expression; DataError when the expression is not logical.
  bool evalBool(const RecordContext& rec);
  // Writes exactly keySize bytes: the value as an index key of this type with
  // keySize bytes and keyDecimals decimals (character padded or cut, numeric in
  // the sortable digit form, date YYYYMMDD or blanks, logical T or F).
  void evalKey(const RecordContext& rec, char* out, int keySize, int keyDecimals);
  // The key type, size and decimals that a new index takes from this expression:
  // it is evaluated on a blank record of `schema` whose record number is
  // `blankRecno` (the record count plus one). DataError when a character key
  // would be empty or longer than kMaxKeySize.
  KeyShape keyShapeOnBlank(const RecordContext& schema, uint32_t blankRecno);

 private:
  Expression(std::string text, std::string file, std::unique_ptr<ExprNode> root);

  std::string text_;
  std::string file_;
  ValueType type_;
  std::unique_ptr<ExprNode> root_;
};

}  // namespace velmont::data
