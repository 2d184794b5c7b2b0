#pragma once
// Pictures of entry fields: "@" function letters ("!" capitals, "K" clear the
// old text on the first key typed), then a template of one rule per position:
// "9" a digit, "#" a digit, blank or sign, "Y" Y or N, "A" a letter, "!" any
// character in capitals, "X" any character; a "/" template is a date in the
// system's date order.
#include <QString>

namespace velmont::widgets {

struct Picture {
  bool upper = false;       // "@!"
  bool clearOnKey = false;  // "@K"
  bool date = false;        // a date template
  QString rules;            // one rule letter per position, empty for free text

  static Picture parse(const QString& picture);
  // The text with each position checked and converted (capitals); false when a
  // character breaks its position's rule. `text` is changed in place.
  bool accept(QString& text) const;
};

}  // namespace velmont::widgets
