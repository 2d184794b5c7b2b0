#pragma once
// The check of a number field: the typed text read as a number that the value
// behind the field can hold, or a message box that says why it cannot (a
// decimal where only whole numbers are kept, too many decimals, out of range,
// not a number at all). The field keeps the focus after a refusal.
#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace velmont::widgets {

struct NumberRule {
  QString name;          // the field's label, as the message names it: "Extra Top margin (mm)"
  double minimum = 0;
  double maximum = 0;
  int decimals = 0;      // decimals the value keeps; 0: whole numbers only
  bool emptyIsZero = true;
};

// The number a field's text holds: blanks around it are ignored, a blank text
// is 0 when the rule allows it; nullopt when it is no number the rule takes.
std::optional<double> typedNumber(const QString& text, const NumberRule& rule);

// The refusal lines for `text`, or an empty list when the rule takes it.
QStringList numberRefusal(const QString& text, const NumberRule& rule);

// A check for lmdXGet: refuses with a message box over `owner`.
std::function<bool(const QString&)> numberCheck(NumberRule rule, QWidget* owner);

// The text a field shows for a stored number: its decimals only when it has any.
QString numberShown(double value, int decimals);

}  // namespace velmont::widgets
