#pragma once
// Fonts by descriptor and the widget library's colour numbers.
#include <QColor>
#include <QFont>
#include <QString>

class QWidget;

namespace velmont::widgets {

// "10.Arial Bold Italic Underscore": point size, a dot, the face, style words.
// An empty or malformed descriptor gives the application's font.
QFont lmdFont(const QString& descriptor);

// Colour numbers: 0 to 15 a palette, -1 black, -2 the window face (white on
// dialogs' drawing areas), kNoColour for "leave as it is", and RGB values
// made by lmdRGB (the same encoding as the page printer's RGB colours).
inline constexpr int kNoColour = -99;
int lmdRGB(int red, int green, int blue);
QColor lmdColor(int number);

// A text colour and a background colour.
struct ColourPair {
  int text = kNoColour;
  int background = kNoColour;
};

// lmdSetColor: gives a widget the pair's text and background colours.
void lmdSetColor(QWidget* w, ColourPair colours);

}  // namespace velmont::widgets
