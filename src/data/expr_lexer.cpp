#include "expr_lexer.h"

#include <cstdio>

namespace velmont::data {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isIdentStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool isIdentChar(char c) { return isIdentStart(c) || isDigit(c); }
bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

char upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

bool equalsUpper(std::string_view word, std::string_view upperWord) {
  if (word.size() != upperWord.size()) return false;
  for (size_t i = 0; i < word.size(); ++i)
    if (upper(word[i]) != upperWord[i]) return false;
  return true;
}

}  // namespace

std::string upperAscii(std::string_view s) {
  std::string u(s);
  for (char& c : u) c = upper(c);
  return u;
}

std::string quoteForMessage(std::string_view text, size_t maxLength) {
  std::string out = "\"";
  for (size_t i = 0; i < text.size(); ++i) {
    if (i == maxLength) {
      out += "...";
      break;
    }
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c < 0x7f) {
      out += char(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out + "\"";
}

Token Lexer::make(TokenKind kind, size_t start, size_t length) {
  pos_ = start + length;
  return Token{kind, text_.substr(start, length), int(start) + 1};
}

Token Lexer::fail(size_t at, std::string message) {
  error_ = std::move(message) + " at column " + std::to_string(at + 1);
  pos_ = text_.size();
  return Token{TokenKind::kEnd, {}, int(at) + 1};
}

Token Lexer::next() {
  while (pos_ < text_.size() && isSpace(text_[pos_])) ++pos_;
  const size_t s = pos_;
  if (s >= text_.size()) return Token{TokenKind::kEnd, {}, int(s) + 1};
  const char c = text_[s];
  const char n = s + 1 < text_.size() ? text_[s + 1] : '\0';
  if (isDigit(c) || (c == '.' && isDigit(n))) return number(s);
  if (c == '.') return dotWord(s);
  if (isIdentStart(c)) {
    size_t e = s + 1;
    while (e < text_.size() && isIdentChar(text_[e])) ++e;
    return make(TokenKind::kIdent, s, e - s);
  }
  switch (c) {
    case '"': return quoted(s, '"');
    case '\'': return quoted(s, '\'');
    case '[': return quoted(s, ']');
    case '(': return make(TokenKind::kLParen, s, 1);
    case ')': return make(TokenKind::kRParen, s, 1);
    case ',': return make(TokenKind::kComma, s, 1);
    case '+': return make(TokenKind::kPlus, s, 1);
    case '-': return n == '>' ? make(TokenKind::kAlias, s, 2) : make(TokenKind::kMinus, s, 1);
    case '*': return n == '*' ? make(TokenKind::kPower, s, 2) : make(TokenKind::kStar, s, 1);
    case '/': return make(TokenKind::kSlash, s, 1);
    case '%': return make(TokenKind::kPercent, s, 1);
    case '^': return make(TokenKind::kPower, s, 1);
    case '$': return make(TokenKind::kContains, s, 1);
    case '#': return make(TokenKind::kNotEq, s, 1);
    case '=': return n == '=' ? make(TokenKind::kExactEq, s, 2) : make(TokenKind::kEq, s, 1);
    case '!': return n == '=' ? make(TokenKind::kNotEq, s, 2) : make(TokenKind::kNot, s, 1);
    case '<':
      if (n == '=') return make(TokenKind::kLessEq, s, 2);
      if (n == '>') return make(TokenKind::kNotEq, s, 2);
      return make(TokenKind::kLess, s, 1);
    case '>': return n == '=' ? make(TokenKind::kGreaterEq, s, 2) : make(TokenKind::kGreater, s, 1);
    default: break;
  }
  return fail(s, "unexpected character " + quoteForMessage(text_.substr(s, 1)));
}

// Digits with an optional fraction. A point not followed by a digit ends the
// number, so "7.and.x" reads as 7 followed by .AND.
Token Lexer::number(size_t s) {
  size_t e = s;
  while (e < text_.size() && isDigit(text_[e])) ++e;
  if (e + 1 < text_.size() && text_[e] == '.' && isDigit(text_[e + 1])) {
    ++e;
    while (e < text_.size() && isDigit(text_[e])) ++e;
  }
  return make(TokenKind::kNumber, s, e - s);
}

Token Lexer::dotWord(size_t s) {
  size_t e = s + 1;
  while (e < text_.size() && isIdentStart(text_[e])) ++e;
  if (e >= text_.size() || text_[e] != '.' || e == s + 1)
    return fail(s, "unexpected \".\"");
  const std::string_view word = text_.substr(s + 1, e - s - 1);
  TokenKind kind;
  if (equalsUpper(word, "T") || equalsUpper(word, "Y")) {
    kind = TokenKind::kTrue;
  } else if (equalsUpper(word, "F") || equalsUpper(word, "N")) {
    kind = TokenKind::kFalse;
  } else if (equalsUpper(word, "AND")) {
    kind = TokenKind::kAnd;
  } else if (equalsUpper(word, "OR")) {
    kind = TokenKind::kOr;
  } else if (equalsUpper(word, "NOT")) {
    kind = TokenKind::kNot;
  } else {
    return fail(s, "unknown operator " + quoteForMessage(text_.substr(s, e + 1 - s)));
  }
  return make(kind, s, e + 1 - s);
}

Token Lexer::quoted(size_t s, char close) {
  const size_t end = text_.find(close, s + 1);
  if (end == std::string_view::npos) return fail(s, "unterminated string");
  Token t{TokenKind::kString, text_.substr(s + 1, end - s - 1), int(s) + 1};
  pos_ = end + 1;
  return t;
}

}  // namespace velmont::data
