#include "term_rules.h"

#include <cstdio>

#include "data/numeric.h"
#include "data/table.h"
#include "libs/date_text.h"

namespace velmont::school {

TermStarts readTermStarts(data::Table& control) {
  control.goTop();
  TermStarts starts;
  const char* names[] = {"PA_TRM1_ST", "PA_TRM2_ST", "PA_TRM3_ST", "PA_TRM4_ST"};
  for (size_t i = 0; i < starts.size(); ++i) starts[i] = control.date(names[i]);
  return starts;
}

TermDerivation deriveTerm(const TermStarts& s, const data::Date& date) {
  TermDerivation d;
  d.term = !s[3].empty() ? 4 : !s[2].empty() ? 3 : !s[1].empty() ? 2 : 1;
  if (date < s[3] && !s[3].empty()) d.term = 3;
  if (date < s[2] && !s[2].empty()) d.term = 2;
  if (date < s[1] && !s[1].empty()) d.term = 1;
  auto yearOf = [](const data::Date& x) { return x.empty() ? 0 : x.year(); };
  const int y1 = yearOf(s[0]), y2 = yearOf(s[1]), y3 = yearOf(s[2]), y4 = yearOf(s[3]);
  d.allYear = y1 != 0 && y2 != 0;
  if (d.allYear && (y2 != y1 || (y3 != 0 && y3 != y1) || (y4 != 0 && y4 != y1))) d.allYear = false;
  return d;
}

void applyProcessingDate(SessionValues& v, const TermStarts& starts, const data::Date& newDate) {
  if (!newDate.empty()) v.date = newDate;
  v.year = v.date.year();
  const TermDerivation d = deriveTerm(starts, v.date);
  v.term = d.term;
  v.allYear = d.allYear;
  v.regTerm = v.term;
  v.regYear = v.year;
}

namespace {

// The whole number a typed text holds (blanks around it ignored; a blank text
// reads as 0, as the table system reads numbers), or -1 when it holds anything
// else: "2.5" is no term, "2O26" no year.
long wholeNumber(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return 0;
  const size_t last = text.find_last_not_of(' ');
  long value = 0;
  for (size_t i = first; i <= last; ++i) {
    if (text[i] < '0' || text[i] > '9' || value > 99999) return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

}  // namespace

bool termTaken(const std::string& termText) {
  const long term = wholeNumber(termText);
  return term >= 0 && term < 5;
}

bool yearTaken(const std::string& yearText) {
  const long year = wholeNumber(yearText);
  return year > 1990 && year < 10000;
}

void applyTermYear(SessionValues& v, bool confirmed, const std::string& termText, const std::string& yearText) {
  if (!confirmed) return;
  if (termTaken(termText)) v.term = int(wholeNumber(termText));
  if (yearTaken(yearText)) v.year = int(wholeNumber(yearText));
}

bool applyArguments(SessionValues& v, const std::vector<std::string>& positional) {
  if (positional.empty()) return false;
  v.term = int(data::parseNumeric(positional[0]));
  if (positional.size() > 1) v.year = int(data::parseNumeric(positional[1]));
  return true;
}

namespace {

std::string termDigit(int term) {
  // One digit, as the caption's layout has room for.
  if (term < 0 || term > 9) return "*";
  return std::to_string(term);
}

std::string year4(int year) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%4d", year);
  return buf;
}

}  // namespace

std::string headingCaption(const SessionValues& v) {
  // The year stands beside the term always, so the office can check both
  // before printing (also when the school's terms span two calendar years).
  return "Term " + termDigit(v.term) + " " + year4(v.year) + "  " + libs::dateText(v.date);
}

std::string nowCaption(const SessionValues& v) {
  return "Term " + termDigit(v.term) + " " + year4(v.year) + "  " + libs::dateText(v.date);
}

bool nowCaptionShown(const SessionValues& v) {
  const bool differs = v.regTerm != v.term || v.regYear != v.year;
  return differs && v.term != 0;
}

}  // namespace velmont::school
