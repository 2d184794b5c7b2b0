#include "print_font.h"

#include <QRegularExpression>
#include <QStringList>
#include <cmath>
#include <mutex>

namespace velmont::print {

// Windows has the faces; on Linux fontconfig maps all but MS Sans Serif to the twins by
// itself; a font database that reads only the font files of one folder (Qt's offscreen
// platform on Windows) needs every one of them, and the generic name its fixed system
// font asks for.
void installFontSubstitutions() {
  static std::once_flag once;
  std::call_once(once, [] {
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    QFont::insertSubstitution("Times New Roman", "Liberation Serif");
    QFont::insertSubstitution("Arial", "Liberation Sans");
    QFont::insertSubstitution("Courier New", "Liberation Mono");
    QFont::insertSubstitution("monospace", "DejaVu Sans Mono");
  });
}

PrintFont PrintFont::fromDescriptor(const QString& descriptor) {
  PrintFont font;
  QString text = descriptor.trimmed();
  if (text.isEmpty()) return font;
  static const QRegularExpression sizePrefix(R"(^(\d+(?:\.\d+)?)\.(.*)$)");
  const QRegularExpressionMatch match = sizePrefix.match(text);
  if (match.hasMatch()) {
    font.pointSize = match.captured(1).toDouble();
    text = match.captured(2);
  }
  font.bold = text.contains("Bold");
  font.italic = text.contains("Italic");
  font.underscore = text.contains("Underscore");
  QStringList face;
  for (const QString& word : text.split(' ', Qt::SkipEmptyParts))
    if (word != "Bold" && word != "Italic" && word != "Underscore") face << word;
  if (!face.isEmpty()) font.family = face.join(' ');
  return font;
}

QString PrintFont::compoundName() const {
  QString name = family;
  if (bold) name += " Bold";
  if (italic) name += " Italic";
  if (underscore) name += " Underscore";
  return name;
}

QString PrintFont::descriptor() const { return numberText(pointSize) + "." + compoundName(); }

QFont PrintFont::toQFont() const {
  installFontSubstitutions();
  QFont font(family);
  font.setPixelSize(std::max(1, hundredthsOfMm(pointSize)));
  font.setWeight(bold ? QFont::Bold : QFont::Normal);
  font.setItalic(italic);
  font.setUnderline(underscore);
  font.setHintingPreference(QFont::PreferNoHinting);
  font.setKerning(false);
  return font;
}

int hundredthsOfMm(double pointSize) { return int(std::lround(pointSize * 2540.0 / 72.0)); }

QString numberText(double value) {
  if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15)
    return QString::number(qint64(value));
  QString text = QString::number(value, 'f', 6);
  while (text.endsWith('0')) text.chop(1);
  if (text.endsWith('.')) text.chop(1);
  return text;
}

}  // namespace velmont::print
