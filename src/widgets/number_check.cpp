#include "number_check.h"

#include <QRegularExpression>
#include <QStringList>
#include <cmath>

#include "lmd_messages.h"

namespace velmont::widgets {
namespace {

// The form of a number the user may type: a sign, digits, at most one decimal point.
const QRegularExpression& numberForm() {
  static const QRegularExpression form(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)$"));
  return form;
}

int decimalsOf(const QString& number) {
  const qsizetype point = number.indexOf('.');
  return point < 0 ? 0 : int(number.size() - point - 1);
}

QString bound(double value, int decimals) { return QString::number(value, 'f', decimals); }

QString takes(const NumberRule& rule) {
  const QString range = bound(rule.minimum, rule.decimals) + " to " + bound(rule.maximum, rule.decimals);
  if (rule.decimals == 0) return "a whole number from " + range;
  return "a number from " + range + " with at most " + QString::number(rule.decimals) +
         (rule.decimals == 1 ? " decimal" : " decimals");
}

}  // namespace

std::optional<double> typedNumber(const QString& text, const NumberRule& rule) {
  const QString t = text.trimmed();
  if (t.isEmpty()) return rule.emptyIsZero ? std::optional<double>(0) : std::nullopt;
  if (!numberForm().match(t).hasMatch() || decimalsOf(t) > rule.decimals) return std::nullopt;
  const double value = t.toDouble();
  if (value < rule.minimum || value > rule.maximum) return std::nullopt;
  return value;
}

QStringList numberRefusal(const QString& text, const NumberRule& rule) {
  if (typedNumber(text, rule)) return {};
  const QString t = text.trimmed();
  const QString shown = t.isEmpty() ? QStringLiteral("An empty entry") : "\"" + t + "\"";
  QString why;
  if (t.contains(',')) why = QStringLiteral(" (decimals are written with a point)");
  else if (numberForm().match(t).hasMatch() && decimalsOf(t) > rule.decimals)
    why = rule.decimals == 0 ? QStringLiteral(" (it keeps whole numbers only)")
                             : QStringLiteral(" (it keeps %1 decimal%2)").arg(rule.decimals).arg(rule.decimals == 1 ? "" : "s");
  return {shown + " cannot be kept as the " + rule.name + why + ".", "Please enter " + takes(rule) + "."};
}

std::function<bool(const QString&)> numberCheck(NumberRule rule, QWidget* owner) {
  return [rule, owner](const QString& text) {
    const QStringList refusal = numberRefusal(text, rule);
    if (refusal.isEmpty()) return true;
    lmdMsg(refusal, 0, owner);
    return false;
  };
}

QString numberShown(double value, int decimals) {
  QString s = QString::number(value, 'f', std::max(decimals, 0));
  if (s.contains('.')) {
    while (s.endsWith('0')) s.chop(1);
    if (s.endsWith('.')) s.chop(1);
  }
  return s == "-0" ? QStringLiteral("0") : s;
}

}  // namespace velmont::widgets
