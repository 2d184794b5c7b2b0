#pragma once
// Pictures of entry fields: "@" function letters ("!" capitals, "K" clear the
// old text on the first key typed), then a template of one rule per position:
// "9" a digit, "#" a digit, blank or sign, "Y" Y or N, "A" a letter, "!" any
// character in capitals, "X" any character; a "/" template is a date in the
// system's date order. A template of "9" and "#" only (a number) also takes a
// decimal point, a comma and signs anywhere, and up to kNumberRoom characters
// when its template is shorter: what the value cannot hold is refused by the
// field's check with a message, never dropped silently while typing.
#include <QString>

namespace velmont::widgets {

inline constexpr int kNumberRoom = 12;

struct Picture {
  bool upper = false;       // "@!"
  bool clearOnKey = false;  // "@K"
  bool date = false;        // a date template
  QString rules;            // one rule letter per position, empty for free text

  static Picture parse(const QString& picture);
  // A template of digit positions only ("9", "#", "###").
  bool number() const;
  // The characters the field takes: the template's length, or kNumberRoom for
  // a number with a shorter template; 0 for free text.
  int room() const;
  // The text with each position checked and converted (capitals); false when a
  // character breaks its position's rule. `text` is changed in place.
  bool accept(QString& text) const;
};

}  // namespace velmont::widgets
