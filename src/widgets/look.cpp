#include "look.h"

#include <QPalette>
#include <QStringList>
#include <QWidget>
#include <array>

namespace velmont::widgets {

QFont lmdFont(const QString& descriptor) {
  QFont font;
  const int dot = descriptor.indexOf('.');
  if (dot <= 0) return font;
  bool ok = false;
  const double points = descriptor.left(dot).toDouble(&ok);
  if (!ok || points <= 0 || points > 200) return font;
  QStringList words = descriptor.mid(dot + 1).split(' ', Qt::SkipEmptyParts);
  bool bold = false, italic = false, underline = false;
  while (!words.isEmpty()) {
    const QString last = words.last().toLower();
    if (last == "bold") bold = true;
    else if (last == "italic") italic = true;
    else if (last == "underscore" || last == "underline") underline = true;
    else break;
    words.removeLast();
  }
  if (!words.isEmpty()) font.setFamily(words.join(' '));
  font.setPointSizeF(points);
  font.setBold(bold);
  font.setItalic(italic);
  font.setUnderline(underline);
  return font;
}

int lmdRGB(int red, int green, int blue) {
  return 0x01000000 | ((red & 0xff) << 16) | ((green & 0xff) << 8) | (blue & 0xff);
}

QColor lmdColor(int number) {
  static constexpr std::array<QRgb, 16> kPalette = {
      0xffffffff,  // 0 white
      0xff000000,  // 1 black
      0xff0000c0,  // 2 blue
      0xff505050,  // 3 dark grey
      0xff008000,  // 4 green
      0xff008080,  // 5 cyan
      0xffc0a000,  // 6 yellow
      0xffc0c0c0,  // 7 light grey
      0xffc00000,  // 8 red
      0xff000080,  // 9 navy
      0xff800000,  // 10 maroon
      0xff800080,  // 11 purple
      0xff006000,  // 12 dark green
      0xff1f3f7f,  // 13 slate blue
      0xff805000,  // 14 brown
      0xff002870,  // 15 deep blue
  };
  if (number == -1) return QColor(0, 0, 0);
  if (number == -2) return QColor(255, 255, 255);
  if (number & 0x01000000) return QColor(QRgb(0xff000000u | unsigned(number & 0x00ffffff)));
  if (number >= 0 && number < int(kPalette.size())) return QColor(kPalette[size_t(number)]);
  return QColor(0, 0, 0);
}

void lmdSetColor(QWidget* w, ColourPair colours) {
  if (!w) return;
  QPalette p = w->palette();
  if (colours.text != kNoColour) {
    p.setColor(QPalette::WindowText, lmdColor(colours.text));
    p.setColor(QPalette::Text, lmdColor(colours.text));
    p.setColor(QPalette::ButtonText, lmdColor(colours.text));
  }
  if (colours.background != kNoColour) {
    p.setColor(QPalette::Window, lmdColor(colours.background));
    w->setAutoFillBackground(true);
  }
  w->setPalette(p);
}

}  // namespace velmont::widgets
