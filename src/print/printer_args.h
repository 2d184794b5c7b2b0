#pragma once
// The loosely typed arguments of the page printer's operations: densities, on/off states,
// line types and the values of the query output.
#include <QDate>
#include <QString>
#include <optional>
#include <variant>

#include "colour.h"

namespace velmont::print {

// A pattern in two colours: { { foreground, background }, pattern name }.
struct ColourPair {
  Colour foreground = kBlack;
  Colour background = kWhite;
  QString pattern;
};

// A fill density: a grey level (solid), a pattern name (black on white), or a colour
// pair; empty when not given.
class Density {
 public:
  Density() = default;
  Density(int grey) : value_(double(grey)) {}
  Density(double grey) : value_(grey) {}
  Density(const char* name) : value_(QString::fromUtf8(name)) {}
  Density(const QString& name) : value_(name) {}
  Density(const ColourPair& pair) : value_(pair) {}

  const double* grey() const { return std::get_if<double>(&value_); }
  const QString* name() const { return std::get_if<QString>(&value_); }
  const ColourPair* pair() const { return std::get_if<ColourPair>(&value_); }

 private:
  std::variant<std::monostate, double, QString, ColourPair> value_;
};

// "on"/"off" in any letter case, or a logical; anything else is no state.
class Switch {
 public:
  Switch() = default;
  Switch(bool on) : on_(on) {}
  Switch(const char* text) : Switch(QString::fromUtf8(text)) {}
  Switch(const QString& text) {
    const QString word = text.trimmed().toLower();
    if (word == "on") on_ = true;
    if (word == "off") on_ = false;
  }
  std::optional<bool> state() const { return on_; }

 private:
  std::optional<bool> on_;
};

// A line type by name ("SOLID", "DOT", "DASH", "DASHDOT", "DASH2DOT") or by code.
class LineStyle {
 public:
  LineStyle(int code) : value_(code) {}
  LineStyle(const char* name) : value_(QString::fromUtf8(name)) {}
  LineStyle(const QString& name) : value_(name) {}

  const int* code() const { return std::get_if<int>(&value_); }
  const QString* name() const { return std::get_if<QString>(&value_); }
  // The code of any line type name; unknown names are solid.
  int resolve() const;

 private:
  std::variant<int, QString> value_;
};

// One value of the query output: text, number, date or logical; any other kind is empty
// and adds only its separating blank.
class QueryValue {
 public:
  QueryValue() = default;
  QueryValue(const char* text) : value_(QString::fromUtf8(text)) {}
  QueryValue(const QString& text) : value_(text) {}
  QueryValue(int number) : value_(double(number)) {}
  QueryValue(double number) : value_(number) {}
  QueryValue(bool logical) : value_(logical) {}
  QueryValue(const QDate& date) : value_(date) {}

  // Text unchanged, numbers trimmed, dates as DD/MM/YYYY, logicals "T" or "F".
  QString text() const;

 private:
  std::variant<std::monostate, QString, double, bool, QDate> value_;
};

struct FrameFill {
  bool on = false;
  Density density = 240;
};

struct FrameShadow {
  bool on = false;
  Density density = 235;
  std::optional<double> offset;  // 12 (1.2 mm) when not given
};

}  // namespace velmont::print
