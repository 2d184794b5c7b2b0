#pragma once
// The rules that change the session's term, year and processing date, and the
// term captions of the main window's top bar.
#include <array>
#include <string>
#include <vector>

#include "data/date.h"
#include "session.h"

namespace velmont::data {
class Table;
}

namespace velmont::school {

// Start dates of terms 1 to 4 (control record 1: PA_TRM1_ST to PA_TRM4_ST).
using TermStarts = std::array<data::Date, 4>;
TermStarts readTermStarts(data::Table& control);

struct TermDerivation {
  int term = 1;
  bool allYear = false;
};
// The term a processing date falls in, and whether all defined terms start in
// one calendar year.
TermDerivation deriveTerm(const TermStarts& starts, const data::Date& date);

// CHANGE_PROC after the date question: `newDate` (empty: keep the date) sets
// C_Date and C_Year, the term is derived and registered.
void applyProcessingDate(SessionValues& v, const TermStarts& starts, const data::Date& newDate);

// The values "Change Term and Year" takes: a whole term from 0 to 4 (0 for
// none), a whole year after 1990; a decimal or any other character is refused.
bool termTaken(const std::string& termText);
bool yearTaken(const std::string& yearText);

// "Change Term and Year" after the dialog: a confirmed term below 5 and a
// confirmed year above 1990 are taken; anything else keeps the old value.
void applyTermYear(SessionValues& v, bool confirmed, const std::string& termText, const std::string& yearText);

// The command line's TERM and YEAR; true when at least one was given.
bool applyArguments(SessionValues& v, const std::vector<std::string>& positional);

// The captions: the heading shown always, the "now" caption only when the term
// or year differs from the registered ones (and the term is not 0).
std::string headingCaption(const SessionValues& v);
std::string nowCaption(const SessionValues& v);
bool nowCaptionShown(const SessionValues& v);

}  // namespace velmont::school
