#include "colour.h"

#include <array>

namespace velmont::print {

QRgb toRgb(Colour colour) {
  static constexpr std::array<QRgb, 16> kPalette = {
      0xffffffff,  // background (white paper)
      0xff0000ff, 0xffff0000, 0xffff00ff, 0xff00ff00, 0xff00ffff, 0xffffff00,
      0xff000000,  // neutral
      0xff808080, 0xff000080, 0xff800000, 0xff800080, 0xff008000, 0xff008080,
      0xff808000,  // brown
      0xffc0c0c0,  // pale grey
  };
  if (colour == kWhite) return 0xffffffff;
  if (colour < 0) return 0xff000000;
  if (colour & 0x01000000) return 0xff000000 | (colour & 0x00ffffff);
  if (colour >= 0 && colour < int(kPalette.size())) return kPalette[colour];
  return 0xff000000;
}

}  // namespace velmont::print
