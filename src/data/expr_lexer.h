#pragma once
// Splits expression text into tokens.
#include <string>
#include <string_view>

namespace velmont::data {

enum class TokenKind {
  kEnd,
  kNumber,
  kString,
  kIdent,
  kTrue,
  kFalse,
  kAnd,
  kOr,
  kNot,  // .NOT. and !
  kLParen,
  kRParen,
  kComma,
  kAlias,  // ->
  kEq,     // =
  kExactEq,  // ==
  kNotEq,  // != <> #
  kLess,
  kLessEq,
  kGreater,
  kGreaterEq,
  kContains,  // $
  kPlus,
  kMinus,
  kStar,
  kSlash,
  kPercent,
  kPower,  // ** ^
};

struct Token {
  TokenKind kind = TokenKind::kEnd;
  std::string_view text;  // as written; for strings, the contents without quotes
  int column = 0;         // 1-based position of the token's first character
};

// Reads tokens one at a time. A malformed token (an unterminated string, a
// character that belongs to no token, an unknown .WORD.) is reported through
// error(), never thrown, so the parser can phrase the message.
class Lexer {
 public:
  explicit Lexer(std::string_view text) : text_(text) {}

  // The next token, or a kEnd token with error() set when the text is malformed.
  Token next();
  // Empty, or what was wrong with the last token read.
  const std::string& error() const { return error_; }

 private:
  Token make(TokenKind kind, size_t start, size_t length);
  Token fail(size_t at, std::string message);
  Token dotWord(size_t start);
  Token number(size_t start);
  Token quoted(size_t start, char close);

  std::string_view text_;
  size_t pos_ = 0;
  std::string error_;
};

// `s` with a-z turned to A-Z; names of fields, variables and functions compare so.
std::string upperAscii(std::string_view s);

// Describes a stretch of expression text for a message: quoted, with bytes
// outside printable ASCII shown as \xNN and long text cut short.
std::string quoteForMessage(std::string_view text, size_t maxLength = 80);

}  // namespace velmont::data
