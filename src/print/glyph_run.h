#pragma once
// Text of scripts that need no shaping (Latin, Greek, Cyrillic without combining marks)
// laid out straight from the font's character map and advances. Measuring and drawing
// such text this way skips the general text layout, the costliest step of a text item.
#include <QGlyphRun>
#include <QRawFont>
#include <optional>

#include "print_font.h"

namespace velmont::print {

// The raw font of a page font, kept per thread once it is first asked for.
QRawFont rawFontFor(const PrintFont& font);

struct SimpleLayout {
  QList<quint32> glyphs;
  QList<QPointF> positions;  // from the left end of the baseline
  double width = 0;          // in the font's pixels
};

// The text as one left-to-right run, or nothing when it needs the general layout
// (another script, combining marks, or a character the face lacks).
std::optional<SimpleLayout> layOutSimply(const QRawFont& font, const QString& text);

QGlyphRun glyphRun(const QRawFont& font, const SimpleLayout& layout, bool underline);

}  // namespace velmont::print
