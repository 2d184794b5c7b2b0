#include "date_text.h"

#include <atomic>
#include <cctype>
#include <cstdio>
#include <vector>

namespace velmont::libs {
namespace {

std::atomic<DateOrder> gOrder{DateOrder::kDayMonthYear};

// The numbers between the separators; -1 for a part without digits.
std::vector<int> dateParts(std::string_view text) {
  std::vector<int> parts;
  int value = -1, digits = 0;
  auto finish = [&] {
    parts.push_back(value);
    value = -1;
    digits = 0;
  };
  for (char c : text) {
    if (std::isdigit(static_cast<unsigned char>(c))) {
      if (++digits > 4) return {};
      value = (value < 0 ? 0 : value * 10) + (c - '0');
    } else if (c == '/' || c == '-' || c == '.') {
      finish();
    } else if (c != ' ') {
      return {};
    }
  }
  finish();
  return parts;
}

}  // namespace

DateOrder dateOrder() { return gOrder.load(); }
void setDateOrder(DateOrder order) { gOrder.store(order); }

std::string dateText(const data::Date& date, DateOrder order) {
  if (date.empty()) return order == DateOrder::kYearMonthDay ? "    /  /  " : "  /  /    ";
  int y, m, d;
  date.toYmd(y, m, d);
  char buf[32];
  switch (order) {
    case DateOrder::kDayMonthYear: std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", d, m, y); break;
    case DateOrder::kMonthDayYear: std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", m, d, y); break;
    case DateOrder::kYearMonthDay: std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", y, m, d); break;
  }
  return buf;
}

data::Date dateFromText(std::string_view text, DateOrder order) {
  const std::vector<int> p = dateParts(text);
  if (p.size() != 3) return {};
  for (int v : p)
    if (v < 0) return {};
  int y = 0, m = 0, d = 0;
  switch (order) {
    case DateOrder::kDayMonthYear: d = p[0], m = p[1], y = p[2]; break;
    case DateOrder::kMonthDayYear: m = p[0], d = p[1], y = p[2]; break;
    case DateOrder::kYearMonthDay: y = p[0], m = p[1], d = p[2]; break;
  }
  if (y < 100) y = data::expandTwoDigitYear(y);
  return data::Date::fromYmd(y, m, d);
}

std::string datePicture(DateOrder order) { return "@K" + dateText({}, order); }

}  // namespace velmont::libs
