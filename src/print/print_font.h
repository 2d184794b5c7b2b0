#pragma once
// Fonts named by descriptors such as "10.Times New Roman Bold Italic".
#include <QFont>
#include <QString>

namespace velmont::print {

struct PrintFont {
  QString family = "Courier New";
  double pointSize = 12;
  bool bold = false;
  bool italic = false;
  bool underscore = false;

  // Size before the first dot, face name after it; the words "Bold", "Italic" and
  // "Underscore" (written so) set the styles and are not part of the face. A descriptor
  // without a leading size is 12 points; an empty one is "12.Courier New".
  static PrintFont fromDescriptor(const QString& descriptor);

  // The face with its style words, e.g. "Arial Bold Italic".
  QString compoundName() const;
  // Size, dot and compound name: a descriptor that rebuilds this font.
  QString descriptor() const;

  // The font for drawing and measuring in hundredths of a millimetre: its pixel size is
  // the point size in 0.01 mm. Not bold means weight 400 even for a face named bold.
  QFont toQFont() const;

  bool operator==(const PrintFont&) const = default;
};

// Maps the faces the school's descriptors and the windows name (MS Sans Serif, Times New
// Roman, Arial, Courier New) to their metric twins for where the face itself is missing.
// Called once per process, before the first window or page is laid out; later calls do
// nothing.
void installFontSubstitutions();

// Pixel size in 0.01 mm of a point size (12 pt = 423).
int hundredthsOfMm(double pointSize);

// A number as a trimmed text: "12", "8.5", "25.41".
QString numberText(double value);

}  // namespace velmont::print
