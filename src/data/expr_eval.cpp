// Evaluation of a compiled expression tree. Every node writes into its own
// result value, whose buffer keeps its capacity, and character results refer to
// field bytes or to a child's result where they can: a record costs no allocation.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "error.h"
#include "expr_node.h"
#include "numeric.h"

namespace velmont::data {
namespace {

// The decimals of SET DECIMALS, which division and powers take.
constexpr int kDivisionDecimals = 2;
// Decimals beyond this carry no information in a double; the cap keeps widths
// of products of many decimal numbers within what STR() can format.
constexpr int kMaxDecimals = 64;
// The widest STR() result; wider requests are cut to it.
constexpr int kMaxStrWidth = 255;

int capDecimals(int d) { return std::clamp(d, 0, kMaxDecimals); }

// A number used as a count or position: truncated, NaN as 0, huge values clamped.
long long toCount(double v) {
  if (!(v == v)) return 0;
  return static_cast<long long>(std::clamp(v, -1e15, 1e15));
}

void setComputed(Value& r, double v, int decimals) {
  decimals = capDecimals(decimals);
  r.setNumber(v, defaultNumericWidth(v, decimals), decimals);
}

bool isBlankByte(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trimRight(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

std::string_view trimLeft(std::string_view s) {
  while (!s.empty() && isBlankByte(s.front())) s.remove_prefix(1);
  return s;
}

int compareBytes(std::string_view a, std::string_view b, size_t n) {
  const int c = n ? std::memcmp(a.data(), b.data(), n) : 0;  // memcmp is unsigned
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

// Three-way string comparison for = and the ordering operators. Exact: trailing
// blanks are dropped on both sides and then the full lengths count. Not exact:
// an empty right side equals anything, and a left side that begins with the
// right side equals it ("12345" = "123").
int compareText(std::string_view l, std::string_view r, bool exact) {
  if (exact) {
    l = trimRight(l);
    r = trimRight(r);
  } else if (r.empty()) {
    return 0;
  }
  const int c = compareBytes(l, r, std::min(l.size(), r.size()));
  if (c != 0) return c;
  if (r.size() > l.size()) return -1;
  if (exact && l.size() > r.size()) return 1;
  return 0;
}

template <typename T>
int threeWay(T a, T b) {
  return a < b ? -1 : b < a ? 1 : 0;
}

int compareValues(const Value& a, const Value& b, bool exact) {
  switch (a.type()) {
    case ValueType::kCharacter: return compareText(a.text(), b.text(), exact);
    case ValueType::kNumeric: return threeWay(a.number(), b.number());
    case ValueType::kDate: return threeWay(a.date().dayNumber(), b.date().dayNumber());
    case ValueType::kLogical: return threeWay(int(a.logical()), int(b.logical()));
  }
  return 0;
}

void requireSameType(const Value& a, const Value& b, const std::string& file) {
  if (a.type() != b.type()) {
    throw DataError(file, std::string("cannot compare ") + valueTypeName(a.type()) + " with " +
                              valueTypeName(b.type()));
  }
}

// Shifts a date by whole days; the empty date stays empty, and a result outside
// the years 1 to 9999 is the empty date.
Date shiftDate(Date d, double days) {
  static const int32_t kFirst = Date::fromYmd(1, 1, 1).dayNumber();
  static const int32_t kLast = Date::fromYmd(9999, 12, 31).dayNumber();
  if (d.empty()) return d;
  const double target = double(d.dayNumber()) + std::trunc(days);
  if (!(target >= kFirst && target <= kLast)) return Date();
  return Date::fromDayNumber(int32_t(target));
}

bool isEmptyValue(const Value& v) {
  switch (v.type()) {
    case ValueType::kCharacter: return trimLeft(v.text()).empty();
    case ValueType::kNumeric: return v.number() == 0;
    case ValueType::kDate: return v.date().empty();
    case ValueType::kLogical: return !v.logical();
  }
  return true;
}

// SUBSTR(s, start, count): 1-based start, 0 as 1, negative counting from the
// end; a start past the end or a count of 0 or less gives "".
std::string_view substring(std::string_view s, double startArg, const Value* countArg) {
  const long long len = static_cast<long long>(s.size());
  long long start = toCount(startArg);
  if (start < 0) {
    start = std::max(0LL, len + start);
  } else if (start > 0) {
    --start;
  }
  if (start >= len) return {};
  long long count = len - start;
  if (countArg) count = std::min(count, toCount(countArg->number()));
  if (count <= 0) return {};
  return s.substr(size_t(start), size_t(count));
}

void formatStrValue(Value& r, const Value& number, const Value* widthArg,
                    const Value* decimalsArg) {
  int width = number.width();
  int decimals = number.decimals();
  if (widthArg) {
    const long long w = toCount(widthArg->number());
    width = w < 1 ? 10 : int(std::min<long long>(w, kMaxStrWidth));
    decimals = decimalsArg ? int(std::clamp<long long>(toCount(decimalsArg->number()), 0, width))
                           : 0;
  }
  width = std::clamp(width, 1, kMaxStrWidth);
  std::string& out = r.resetText();
  out.resize(size_t(width));
  formatStrInto(out.data(), number.number(), width, decimals);
}

void fieldValue(ExprNode& n, const RecordContext& rec) {
  const std::string_view bytes = rec.fieldBytes(n.field);
  switch (n.type) {
    case ValueType::kCharacter: n.result.setView(bytes); break;
    case ValueType::kNumeric:
      n.result.setNumber(parseNumeric(bytes), n.numericWidth, n.numericDecimals);
      break;
    case ValueType::kDate: n.result.setDate(Date::fromDtos(bytes)); break;
    case ValueType::kLogical: {
      const char c = bytes.empty() ? ' ' : bytes[0];
      n.result.setLogical(c == 'T' || c == 't' || c == 'Y' || c == 'y');
      break;
    }
  }
}

const Value& variableValue(const ExprNode& n, const std::string& file) {
  if (n.variable->type() != n.type) {
    throw DataError(file, "variable " + n.name + " now holds a " +
                              valueTypeName(n.variable->type()) +
                              " value, but the expression was compiled for a " +
                              valueTypeName(n.type) + " one");
  }
  return *n.variable;
}

}  // namespace

const Value& evalNode(ExprNode& n, const RecordContext& rec, const std::string& file) {
  Value& r = n.result;
  const auto arg = [&](size_t i) -> const Value& { return evalNode(*n.args[i], rec, file); };
  const auto optionalArg = [&](size_t i) -> const Value* {
    return i < n.args.size() ? &arg(i) : nullptr;
  };
  switch (n.op) {
    case ExprOp::kLiteral: return r;
    case ExprOp::kField: fieldValue(n, rec); return r;
    case ExprOp::kMemoField: r.resetText().assign(rec.memoText(n.field)); return r;
    case ExprOp::kVariable: return variableValue(n, file);

    case ExprOp::kAnd: r.setLogical(arg(0).logical() && arg(1).logical()); return r;
    case ExprOp::kOr: r.setLogical(arg(0).logical() || arg(1).logical()); return r;
    case ExprOp::kNot: r.setLogical(!arg(0).logical()); return r;

    case ExprOp::kEqual:
    case ExprOp::kExactEqual:
    case ExprOp::kNotEqual:
    case ExprOp::kLess:
    case ExprOp::kLessEqual:
    case ExprOp::kGreater:
    case ExprOp::kGreaterEqual: {
      const Value& a = arg(0);
      const Value& b = arg(1);
      requireSameType(a, b, file);
      if (n.op == ExprOp::kExactEqual && a.type() == ValueType::kCharacter) {
        r.setLogical(a.text() == b.text());
        return r;
      }
      const int c = compareValues(a, b, n.exact);
      bool result = false;
      switch (n.op) {
        case ExprOp::kNotEqual: result = c != 0; break;
        case ExprOp::kLess: result = c < 0; break;
        case ExprOp::kLessEqual: result = c <= 0; break;
        case ExprOp::kGreater: result = c > 0; break;
        case ExprOp::kGreaterEqual: result = c >= 0; break;
        default: result = c == 0; break;
      }
      r.setLogical(result);
      return r;
    }
    case ExprOp::kContains: {
      const std::string_view needle = arg(0).text();
      const std::string_view haystack = arg(1).text();
      r.setLogical(!needle.empty() && haystack.find(needle) != std::string_view::npos);
      return r;
    }

    case ExprOp::kAdd:
    case ExprOp::kSubtract: {
      const Value& a = arg(0);
      const Value& b = arg(1);
      const bool add = n.op == ExprOp::kAdd;
      if (a.type() == ValueType::kCharacter) {
        // Minus joins too, moving the left side's trailing blanks to the end.
        const std::string_view left = add ? a.text() : trimRight(a.text());
        std::string& out = r.resetText();
        out.append(left).append(b.text());
        out.append(a.text().size() - left.size(), ' ');
      } else if (n.type == ValueType::kDate) {
        const bool dateFirst = a.type() == ValueType::kDate;
        const Date d = dateFirst ? a.date() : b.date();
        const double days = dateFirst ? b.number() : a.number();
        r.setDate(shiftDate(d, add ? days : -days));
      } else if (a.type() == ValueType::kDate) {
        setComputed(r, double(a.date().dayNumber()) - b.date().dayNumber(), 0);
      } else {
        setComputed(r, add ? a.number() + b.number() : a.number() - b.number(),
                    std::max(a.decimals(), b.decimals()));
      }
      return r;
    }
    case ExprOp::kMultiply: {
      const Value& a = arg(0);
      const Value& b = arg(1);
      setComputed(r, a.number() * b.number(), a.decimals() + b.decimals());
      return r;
    }
    case ExprOp::kDivide: {
      // Division by zero gives 0: report figures such as averages rely on it.
      const double a = arg(0).number(), b = arg(1).number();
      setComputed(r, b == 0 ? 0 : a / b, kDivisionDecimals);
      return r;
    }
    case ExprOp::kModulo: {
      const Value& a = arg(0);
      const Value& b = arg(1);
      setComputed(r, b.number() == 0 ? 0 : std::fmod(a.number(), b.number()),
                  std::max(a.decimals(), b.decimals()));
      return r;
    }
    case ExprOp::kPower: {
      const double a = arg(0).number(), b = arg(1).number();
      setComputed(r, std::pow(a, b), kDivisionDecimals);
      return r;
    }
    case ExprOp::kNegate: {
      const Value& a = arg(0);
      setComputed(r, -a.number(), a.decimals());
      return r;
    }

    case ExprOp::kStr: {
      const Value& number = arg(0);
      const Value* width = optionalArg(1);
      formatStrValue(r, number, width, optionalArg(2));
      return r;
    }
    case ExprOp::kUpper: {
      const std::string_view s = arg(0).text();
      std::string& out = r.resetText();
      out.assign(s);
      // ASCII letters only: bytes from 128 up stay as the index files hold them.
      for (char& c : out)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
      return r;
    }
    case ExprOp::kRtrim: r.setView(trimRight(arg(0).text())); return r;
    case ExprOp::kLtrim: r.setView(trimLeft(arg(0).text())); return r;
    case ExprOp::kAlltrim: r.setView(trimLeft(trimRight(arg(0).text()))); return r;
    case ExprOp::kSubstr: {
      const Value& s = arg(0);
      const double start = arg(1).number();
      r.setView(substring(s.text(), start, optionalArg(2)));
      return r;
    }
    case ExprOp::kLeft: {
      const std::string_view s = arg(0).text();
      const long long count = toCount(arg(1).number());
      r.setView(count <= 0 ? std::string_view() : s.substr(0, size_t(count)));
      return r;
    }
    case ExprOp::kRight: {
      const std::string_view s = arg(0).text();
      const long long count = std::min<long long>(toCount(arg(1).number()), s.size());
      r.setView(count <= 0 ? std::string_view() : s.substr(s.size() - size_t(count)));
      return r;
    }
    case ExprOp::kLen: setComputed(r, double(arg(0).text().size()), 0); return r;
    case ExprOp::kDtos: {
      const Date d = arg(0).date();
      std::string& out = r.resetText();
      out.resize(8);
      d.dtosInto(out.data());
      return r;
    }
    case ExprOp::kDtoc: {
      int y, m, d;
      arg(0).date().toYmd(y, m, d);
      char buf[16] = "  /  /    ";
      if (y != 0) std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", d, m, y);
      r.resetText().assign(buf, 10);
      return r;
    }
    case ExprOp::kCtod: r.setDate(Date::fromDmyText(arg(0).text())); return r;
    case ExprOp::kVal: {
      const std::string_view s = arg(0).text();
      const double v = parseNumeric(s);
      // The decimals are those written after the point.
      int decimals = 0;
      const size_t point = s.find('.');
      if (point != std::string_view::npos)
        while (point + 1 + decimals < s.size() && s[point + 1 + decimals] >= '0' &&
               s[point + 1 + decimals] <= '9')
          ++decimals;
      setComputed(r, v, decimals);
      return r;
    }
    case ExprOp::kRecno: setComputed(r, double(rec.recno()), 0); return r;
    case ExprOp::kDeleted: r.setLogical(rec.deleted()); return r;
    case ExprOp::kEmpty: r.setLogical(isEmptyValue(arg(0))); return r;
    case ExprOp::kIif: return arg(0).logical() ? arg(1) : arg(2);
    case ExprOp::kDate: r.setDate(Date::today()); return r;
  }
  return r;
}

}  // namespace velmont::data
