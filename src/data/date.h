#pragma once
// Calendar dates as day numbers, the way the tables store and compare them.
#include <cstdint>
#include <string>
#include <string_view>

namespace velmont::data {

// A calendar date; the empty date (day 0) sorts before every real date.
class Date {
 public:
  constexpr Date() = default;
  static Date fromYmd(int year, int month, int day);  // empty when invalid
  // "YYYYMMDD" as stored in a D field; blanks, zeros or an invalid date give the empty date.
  static Date fromDtos(std::string_view text);
  // Text typed by a user in the order day, month, year ("31/12/2004", "31/12/04");
  // two-digit years read as 1951 to 2050. Empty when it is not a valid date.
  static Date fromDmyText(std::string_view text);
  // The ISO form "YYYY-MM-DD" (month and day of one or two digits) and nothing
  // else: a letter, a missing part or a date that does not exist gives the empty date.
  static Date fromIsoText(std::string_view text);
  static Date fromDayNumber(int32_t n) { Date d; d.day_ = n; return d; }
  static Date today();

  bool empty() const { return day_ == 0; }
  int32_t dayNumber() const { return day_; }
  int year() const;
  int month() const;
  int dayOfMonth() const;
  void toYmd(int& y, int& m, int& d) const;
  // "YYYYMMDD", or eight blanks for the empty date.
  std::string dtos() const;
  void dtosInto(char out[8]) const;
  // "DD/MM/YYYY", or "  /  /    " for the empty date.
  std::string dmy() const;
  // ISO form "YYYY-MM-DD", empty text for the empty date.
  std::string iso() const;

  Date plusDays(int32_t n) const { return empty() ? *this : fromDayNumber(day_ + n); }
  auto operator<=>(const Date&) const = default;

 private:
  int32_t day_ = 0;  // days since 0000-03-01 plus one; 0 is the empty date
};

// A two-digit year as the session reads it: 51..99 -> 1951..1999, 00..50 -> 2000..2050.
int expandTwoDigitYear(int yy);

}  // namespace velmont::data
