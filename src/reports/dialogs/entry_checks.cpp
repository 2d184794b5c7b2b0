#include "entry_checks.h"

#include "libs/date_text.h"
#include "widgets/lmd_messages.h"

namespace velmont::reports {
namespace {

QString dateForm() {
  switch (libs::dateOrder()) {
    case libs::DateOrder::kMonthDayYear: return QStringLiteral("MM/DD/YYYY");
    case libs::DateOrder::kYearMonthDay: return QStringLiteral("YYYY/MM/DD");
    default: return QStringLiteral("DD/MM/YYYY");
  }
}

}  // namespace

bool asAtDateAccepted(const QString& text, QWidget* owner) {
  const std::string s = text.toStdString();
  if (s.find_first_of("0123456789") == std::string::npos || !libs::dateFromText(s).empty()) return true;
  widgets::lmdMsg({"\"" + text.trimmed() + "\" is not a date.",
                   "Please enter a date that exists, as " + dateForm() + ", or clear the field."},
                  0, owner);
  return false;
}

bool examWeightAccepted(const QString& text, QWidget* owner) {
  bool number = false;
  const int weight = text.trimmed().toInt(&number);
  if (number && weight >= 0 && weight <= 100) return true;
  const QString shown = text.trimmed().isEmpty() ? QStringLiteral("An empty entry") : "\"" + text.trimmed() + "\"";
  widgets::lmdMsg({shown + " is not an Exam/Assess mark %.",
                   "Please enter a whole number from 0 to 100: the share of the exam mark."},
                  0, owner);
  return false;
}

}  // namespace velmont::reports
