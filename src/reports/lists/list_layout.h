#pragma once
// Where the grid's parts go, in the page printer's rows and columns, for the
// normal layout and for the wide one (more than 25 columns, 2 columns each); and
// for plain text, where every character takes a column: 4 columns each (three
// figures and a blank), starting after the birth date, however many there are.
#include <cstddef>

namespace velmont::lists {

inline constexpr int kWideAbove = 25;       // more grid columns than this: the wide layout
inline constexpr int kLandscapeAbove = 15;  // more grid columns than this: a landscape page
inline constexpr double kLastRow = 40;      // a student row below this starts a new page
inline constexpr int kTextBox = 4;          // a grid column's width in plain text
inline constexpr size_t kHeadingLetters = 12;  // letters of a vertical subject heading

struct GridLayout {
  int columns = 0;  // n: grid columns, summary columns included
  int box = 3;      // box_sz
  bool wide = false;
  bool text = false;  // plain text

  GridLayout(int n, int boxSize, bool plainText = false)
      : columns(n), box(plainText ? kTextBox : boxSize), wide(n > kWideAbove && !plainText), text(plainText) {}

  // Column i counts from 1.
  double left(int i) const { return (text ? 33 : wide ? 21 : 30) + i * box; }
  double number(int i) const { return (text ? 33 : wide ? 20.8 : 30) + i * box; }
  double letter(int i) const { return (text ? 34 : wide ? 22 : 31) + i * box; }
  double labelColumn() const { return wide ? 8 : 15; }
  double birthHeadingColumn() const { return wide ? 18 : text ? 25 : 24; }
  double birthColumn() const { return wide ? 18 : text ? 26 : 25; }  // in text, a blank after the name
  double nameFrame() const { return wide ? 24 : 33; }
  double letterheadWidth() const {
    if (wide) return 29 + box * columns;
    return columns < 15 ? 78 : 39 + box * columns;
  }
  double shadingWidth() const {
    if (wide) return 36 + (box + 1) * columns;
    return columns <= 15 ? 73.8 : 46 + (box + 1) * columns;
  }
};

}  // namespace velmont::lists
