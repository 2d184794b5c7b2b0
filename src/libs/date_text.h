#pragma once
// Dates as the user reads and types them: day, month and year in the order of
// the system's date setting, four-digit years, separated by "/".
#include <string>
#include <string_view>

#include "data/date.h"

namespace velmont::libs {

enum class DateOrder { kDayMonthYear, kMonthDayYear, kYearMonthDay };

// The order in force for the whole program (set once at start-up).
DateOrder dateOrder();
void setDateOrder(DateOrder order);

// "DD/MM/YYYY" (in the order given), or the blank template "  /  /    " for the empty date.
std::string dateText(const data::Date& date, DateOrder order = dateOrder());
// A typed date in that order; two-digit years read as 1951 to 2050. The empty
// date when the text is blank or not a valid date.
data::Date dateFromText(std::string_view text, DateOrder order = dateOrder());
// The entry picture of a date field: "@K  /  /    " or "@K    /  /  ".
std::string datePicture(DateOrder order = dateOrder());

}  // namespace velmont::libs
