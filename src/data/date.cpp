#include "date.h"

#include <cstdio>
#include <ctime>

namespace velmont::data {
namespace {

// Days from civil date, after H. Hinnant's algorithm, shifted so that no real date is 0.
int32_t daysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe + 1;
}

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

bool digits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

int toInt(std::string_view s) {
  int v = 0;
  for (char c : s) v = v * 10 + (c - '0');
  return v;
}

}  // namespace

Date Date::fromYmd(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > daysInMonth(year, month))
    return Date();
  return fromDayNumber(daysFromCivil(year, month, day));
}

Date Date::fromDtos(std::string_view t) {
  if (t.size() != 8 || !digits(t)) return Date();
  return fromYmd(toInt(t.substr(0, 4)), toInt(t.substr(4, 2)), toInt(t.substr(6, 2)));
}

Date Date::fromIsoText(std::string_view text) {
  int parts[3] = {0, 0, 0};
  size_t p = 0;
  for (int i = 0; i < 3; ++i) {
    if (i > 0 && (p >= text.size() || text[p++] != '-')) return {};
    size_t digits = 0;
    while (p < text.size() && text[p] >= '0' && text[p] <= '9' && digits < 4) {
      parts[i] = parts[i] * 10 + (text[p++] - '0');
      ++digits;
    }
    if (i == 0 ? digits != 4 : digits < 1 || digits > 2) return {};
  }
  return p == text.size() ? fromYmd(parts[0], parts[1], parts[2]) : Date{};
}

Date Date::fromDmyText(std::string_view t) {
  std::string_view parts[3];
  int n = 0;
  size_t start = 0;
  for (size_t i = 0; i <= t.size(); ++i) {
    if (i < t.size() && t[i] != '/' && t[i] != '-' && t[i] != '.') continue;
    if (n == 3) return Date();  // more than three parts
    std::string_view p = t.substr(start, i - start);
    while (!p.empty() && p.front() == ' ') p.remove_prefix(1);
    while (!p.empty() && p.back() == ' ') p.remove_suffix(1);
    parts[n++] = p;
    start = i + 1;
  }
  if (n != 3 || !digits(parts[0]) || !digits(parts[1]) || !digits(parts[2])) return Date();
  if (parts[0].size() > 2 || parts[1].size() > 2) return Date();
  if (parts[2].size() != 4 && parts[2].size() > 2) return Date();
  int y = toInt(parts[2]);
  if (parts[2].size() <= 2) y = expandTwoDigitYear(y);
  return fromYmd(y, toInt(parts[1]), toInt(parts[0]));
}

Date Date::today() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return fromYmd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

void Date::toYmd(int& y, int& m, int& d) const {
  if (empty()) {
    y = m = d = 0;
    return;
  }
  const int32_t z = day_ - 1;
  const int era = (z >= 0 ? z : z - 146096) / 146097;
  const int doe = z - era * 146097;
  const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp + (mp < 10 ? 3 : -9);
  y = yoe + era * 400 + (m <= 2);
}

int Date::year() const { int y, m, d; toYmd(y, m, d); return y; }
int Date::month() const { int y, m, d; toYmd(y, m, d); return m; }
int Date::dayOfMonth() const { int y, m, d; toYmd(y, m, d); return d; }

void Date::dtosInto(char out[8]) const {
  if (empty()) {
    for (int i = 0; i < 8; ++i) out[i] = ' ';
    return;
  }
  int y, m, d;
  toYmd(y, m, d);
  const int v[8] = {y / 1000, y / 100 % 10, y / 10 % 10, y % 10, m / 10, m % 10, d / 10, d % 10};
  for (int i = 0; i < 8; ++i) out[i] = char('0' + v[i]);
}

std::string Date::dtos() const {
  std::string s(8, ' ');
  dtosInto(s.data());
  return s;
}

std::string Date::dmy() const {
  if (empty()) return "  /  /    ";
  int y, m, d;
  toYmd(y, m, d);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", d, m, y);
  return buf;
}

std::string Date::iso() const {
  if (empty()) return {};
  int y, m, d;
  toYmd(y, m, d);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, m, d);
  return buf;
}

int expandTwoDigitYear(int yy) { return yy >= 51 ? 1900 + yy : 2000 + yy; }

}  // namespace velmont::data
