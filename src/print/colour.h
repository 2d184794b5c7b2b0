#pragma once
// Colour numbers of the drawing layer: -1 black, -2 white, 0 to 15 the named
// palette colours, and RGB colours made by rgbColour.
#include <QRgb>

namespace velmont::print {

using Colour = int;

inline constexpr Colour kBlack = -1;
inline constexpr Colour kWhite = -2;
inline constexpr Colour kBackground = 0;
inline constexpr Colour kBlue = 1;

// An RGB colour; each component 0 to 255. The flag bit keeps it apart from palette numbers.
constexpr Colour rgbColour(int red, int green, int blue) {
  return 0x01000000 | ((red & 0xff) << 16) | ((green & 0xff) << 8) | (blue & 0xff);
}
constexpr Colour greyColour(int level) { return rgbColour(level, level, level); }

// The colour a number stands for; unknown numbers are black.
QRgb toRgb(Colour colour);

}  // namespace velmont::print
