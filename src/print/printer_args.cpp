#include "printer_args.h"

#include "display_list.h"
#include "print_font.h"

namespace velmont::print {

int LineStyle::resolve() const {
  if (const int* number = code()) return *number;
  const QString key = name()->trimmed().toUpper();
  if (key == "DOT") return line::kDot;
  if (key == "DASH") return line::kDash;
  if (key == "DASHDOT") return line::kDashDot;
  if (key == "DASH2DOT") return line::kDash2Dot;
  return line::kSolid;
}

QString QueryValue::text() const {
  struct Visitor {
    QString operator()(std::monostate) const { return {}; }
    QString operator()(const QString& text) const { return text; }
    QString operator()(double number) const { return numberText(number); }
    QString operator()(bool logical) const { return logical ? "T" : "F"; }
    QString operator()(const QDate& date) const {
      return date.isValid() ? date.toString("dd/MM/yyyy") : QStringLiteral("  /  /    ");
    }
  };
  return std::visit(Visitor{}, value_);
}

}  // namespace velmont::print
