#include "glyph_run.h"

#include <QHash>
#include <QThreadStorage>

namespace velmont::print {

namespace {

bool needsNoShaping(const QString& text) {
  for (const QChar ch : text) {
    if (ch.unicode() >= 0x0590) return false;  // Hebrew onwards: right-to-left and complex
    const QChar::Category category = ch.category();
    if (category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining ||
        category == QChar::Mark_Enclosing || category == QChar::Other_Control)
      return false;
  }
  return true;
}

}  // namespace

QRawFont rawFontFor(const PrintFont& font) {
  // Each thread keeps its own raw fonts: Qt's font engines belong to the thread that made
  // them. Qt's own thread storage, not a C++ thread_local, so that they go when the
  // thread's other font data goes: on Windows Qt cleans up a thread it did not start on
  // another thread once the thread has ended, and a thread_local's destructor running on
  // the ending thread at the same time frees the same font engines twice.
  static QThreadStorage<QHash<QString, QRawFont>> cache;
  QHash<QString, QRawFont>& fonts = cache.localData();
  const QString key = font.descriptor();
  auto found = fonts.find(key);
  if (found == fonts.end()) found = fonts.insert(key, QRawFont::fromFont(font.toQFont()));
  return *found;
}

std::optional<SimpleLayout> layOutSimply(const QRawFont& font, const QString& text) {
  if (!font.isValid() || !needsNoShaping(text)) return std::nullopt;
  SimpleLayout layout;
  layout.glyphs = font.glyphIndexesForString(text);
  if (layout.glyphs.size() != text.size()) return std::nullopt;
  for (qsizetype i = 0; i < layout.glyphs.size(); ++i)
    if (layout.glyphs[i] == 0 && !text[i].isSpace()) return std::nullopt;  // the face lacks it
  const QList<QPointF> advances =
      font.advancesForGlyphIndexes(layout.glyphs, QRawFont::UseDesignMetrics);
  layout.positions.reserve(advances.size());
  for (const QPointF& advance : advances) {
    layout.positions.append(QPointF(layout.width, 0));
    layout.width += advance.x();
  }
  return layout;
}

QGlyphRun glyphRun(const QRawFont& font, const SimpleLayout& layout, bool underline) {
  QGlyphRun run;
  run.setRawFont(font);
  run.setGlyphIndexes(layout.glyphs);
  run.setPositions(layout.positions);
  run.setUnderline(underline);
  return run;
}

}  // namespace velmont::print
