#include "numeric.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace velmont::data {

double parseNumeric(std::string_view t, bool* overflow) {
  if (overflow) *overflow = false;
  size_t i = 0;
  const size_t n = t.size();
  while (i < n && t[i] == ' ') ++i;
  if (i < n && t[i] == '*') {
    if (overflow) *overflow = true;
    return 0;
  }
  bool negative = false;
  if (i < n && t[i] == '-') {
    negative = true;
    ++i;
  }
  // All digits go into one integer and are scaled once: exact for up to 18 digits,
  // which covers every numeric field width in use.
  uint64_t mantissa = 0;
  int digits = 0, fractionDigits = 0;
  while (i < n && t[i] >= '0' && t[i] <= '9') {
    mantissa = mantissa * 10 + uint64_t(t[i++] - '0');
    ++digits;
  }
  if (i < n && t[i] == '.') {
    ++i;
    while (i < n && t[i] >= '0' && t[i] <= '9') {
      mantissa = mantissa * 10 + uint64_t(t[i++] - '0');
      ++digits;
      ++fractionDigits;
    }
  }
  double v;
  if (fractionDigits == 0 && digits <= 18) {
    v = double(mantissa);  // whole numbers, the usual case, need no division
  } else if (digits <= 18 && fractionDigits <= 22) {
    static const double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                     1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    v = double(mantissa) / kPowers[fractionDigits];
  } else {
    // from_chars reads '.' whatever the C locale says (strtod would stop at it
    // under a decimal-comma locale).
    v = 0;
    const size_t start = t.find_first_not_of(" -");
    if (start != std::string_view::npos) std::from_chars(t.data() + start, t.data() + t.size(), v);
  }
  return negative ? -v : v;
}

namespace {

// Rounds half away from zero at `decimals` places, with a small nudge so that
// values like 2.675 (stored as 2.67499...) round as written.
double roundAway(double v, int decimals) {
  const double p = std::pow(10.0, decimals);
  const double scaled = std::fabs(v) * p;
  const double r = std::floor(scaled + 0.5 + scaled * 1e-15);
  return std::copysign(r / p, v);
}

// Formats into a buffer; returns the length of the unpadded text. Values that
// fit in 64 bits once scaled take an integer path; to_chars handles the rest.
int formatPlain(char* buf, size_t size, double value, int decimals) {
  static const double kPowers[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
  if (decimals <= 9) {
    const double scaled = std::fabs(value) * kPowers[decimals];
    if (scaled < 4e15) {
      const uint64_t units = uint64_t(std::floor(scaled + 0.5 + scaled * 1e-15));
      char digits[32];
      int n = 0;
      uint64_t u = units;
      do {
        digits[n++] = char('0' + u % 10);
        u /= 10;
      } while (u != 0 || n <= decimals);  // at least one digit before the point
      int len = 0;
      if (value < 0 && units != 0) buf[len++] = '-';
      for (int i = n - 1; i >= 0; --i) {
        buf[len++] = digits[i];
        if (i == decimals && decimals > 0) buf[len++] = '.';
      }
      buf[len] = 0;
      return len;
    }
  }
  double r = roundAway(value, decimals);
  if (r == 0) r = 0;  // no "-0"
  // A stored number always has a '.', whatever the C locale's decimal point.
  const auto [end, ec] = std::to_chars(buf, buf + size - 1, r, std::chars_format::fixed, decimals);
  if (ec != std::errc()) return int(size);
  *end = 0;
  return int(end - buf);
}

}  // namespace

void formatStrInto(char* out, double value, int width, int decimals) {
  if (width < 1) width = 10;
  if (width == 1 || decimals < 0) decimals = 0;
  if (decimals > 0 && decimals > width - 2) decimals = width - 2 > 0 ? width - 2 : 0;
  char buf[400];
  if (decimals > 60) decimals = 60;
  int len = std::isfinite(value) ? formatPlain(buf, sizeof buf, value, decimals) : width + 1;
  if (len > width || len < 0 || size_t(len) >= sizeof buf) {
    std::memset(out, '*', size_t(width));
    return;
  }
  const int pad = width - len;
  std::memset(out, ' ', size_t(pad));
  std::memcpy(out + pad, buf, size_t(len));
}

std::string formatStr(double value, int width, int decimals) {
  if (width < 1) width = 10;
  std::string s(size_t(width), ' ');
  formatStrInto(s.data(), value, width, decimals);
  return s;
}

bool fitsWidth(double value, int width, int decimals) {
  std::string s = formatStr(value, width, decimals);
  return s.empty() || s[0] != '*' || width == 0;
}

void encodeNumericKey(char* out, double value, int width, int decimals) {
  formatStrInto(out, value, width, decimals);
  if (out[0] == '*') return;
  bool negative = false;
  for (int i = 0; i < width; ++i) {
    if (out[i] == ' ') {
      out[i] = '0';
    } else if (out[i] == '-') {
      out[i] = '0';
      negative = true;
    }
  }
  if (!negative) return;
  for (int i = 0; i < width; ++i)
    if (out[i] >= '0' && out[i] <= '9') out[i] = char(44 - (out[i] - '0'));
}

std::string encodeNumericKey(double value, int width, int decimals) {
  std::string s(size_t(width), ' ');
  encodeNumericKey(s.data(), value, width, decimals);
  return s;
}

double decodeNumericKey(std::string_view key) {
  if (key.empty() || key[0] != ',') return parseNumeric(key);
  char buf[300];
  size_t n = key.size() < sizeof buf ? key.size() : sizeof buf;
  for (size_t i = 0; i < n; ++i) {
    const char c = key[i];
    buf[i] = c == '.' ? '.' : char('0' + (44 - c));
  }
  return -parseNumeric(std::string_view(buf, n));
}

}  // namespace velmont::data
