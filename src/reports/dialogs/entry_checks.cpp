#include "entry_checks.h"

#include <QStringList>

#include "data/error.h"
#include "libs/date_text.h"
#include "qtcore/school_text.h"
#include "school/home_classes.h"
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

bool homeClassAccepted(const QString& text, const school::SchoolFolder& folder, const QString& word, QWidget* owner) {
  if (text.trimmed().isEmpty()) return true;
  const qtcore::SchoolText& schoolText = qtcore::SchoolText::of(folder.codePage().codePage);
  std::string typed;
  // A letter the code page lacks is refused, naming it, when the report starts.
  if (!schoolText.encode(text, typed)) return true;
  std::vector<std::string> classes;
  try {
    classes = school::homeClassesInUse(folder);
  } catch (const data::DataError&) {
    return true;
  }
  if (school::homeClassInUse(classes, typed)) return true;
  // The classes there are, so that the right one can be typed at once.
  constexpr size_t kNamed = 60;
  QStringList named;
  for (size_t i = 0; i < classes.size() && i < kNamed; ++i) named << schoolText.decode(classes[i]).trimmed();
  QString list = named.join(", ");
  if (classes.size() > kNamed) list += QStringLiteral(" and %1 more").arg(classes.size() - kNamed);
  widgets::lmdMsg({"No student is in the " + word + " \"" + text.trimmed() + "\".",
                   classes.empty() ? "No student of this school has a " + word + ": leave the field blank."
                                   : "Please enter a " + word + " that this school uses (" + list +
                                         "), or leave the field blank."},
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
