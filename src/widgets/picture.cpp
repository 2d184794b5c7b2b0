#include "picture.h"

#include <algorithm>

namespace velmont::widgets {

Picture Picture::parse(const QString& picture) {
  Picture p;
  QString rest = picture;
  if (rest.startsWith('@')) {
    const int space = rest.indexOf(' ');
    const QString functions = space < 0 ? rest.mid(1) : rest.mid(1, space - 1);
    p.upper = functions.contains('!');
    p.clearOnKey = functions.contains('K', Qt::CaseInsensitive);
    rest = space < 0 ? QString() : rest.mid(space + 1);
  }
  if (rest.contains('/')) {
    p.date = true;
    return p;
  }
  p.rules = rest;
  return p;
}

bool Picture::number() const {
  if (rules.isEmpty()) return false;
  for (const QChar c : rules)
    if (c != '9' && c != '#') return false;
  return true;
}

int Picture::room() const {
  if (rules.isEmpty()) return 0;
  return number() ? std::max(int(rules.size()), kNumberRoom) : int(rules.size());
}

bool Picture::accept(QString& text) const {
  if (upper) text = text.toUpper();
  if (rules.isEmpty()) return true;
  if (text.size() > room()) return false;
  if (number()) {
    // Whether it is a number that the value can hold is for the field's check to say.
    for (const QChar c : text)
      if (!c.isDigit() && c != ' ' && c != '-' && c != '+' && c != '.' && c != ',') return false;
    return true;
  }
  for (int i = 0; i < text.size(); ++i) {
    QChar& c = text[i];
    switch (rules[i].toLatin1()) {
      case '9':
        if (!c.isDigit()) return false;
        break;
      case '#':
        if (!c.isDigit() && c != ' ' && c != '-' && c != '+') return false;
        break;
      case 'Y':
        c = c.toUpper();
        if (c != 'Y' && c != 'N') return false;
        break;
      case 'A':
        if (!c.isLetter()) return false;
        break;
      case '!':
        c = c.toUpper();
        break;
      default:
        break;
    }
  }
  return true;
}

}  // namespace velmont::widgets
