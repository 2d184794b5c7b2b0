#pragma once
// Texts of a page that print over each other: each text item's box is its measured
// width by the height of its font (from a fifth below the baseline to three quarters
// above it); rules drawn with characters ("___", "─") are left out.
#include <QString>
#include <QStringList>
#include <algorithm>
#include <variant>

#include "print/display_list.h"
#include "print/page_surface.h"

namespace velmont::testing {

struct TextBox {
  QString text;
  double left = 0, right = 0, bottom = 0, top = 0;  // 0.1 mm
};

inline std::vector<TextBox> textBoxes(const print::PageList& page) {
  std::vector<TextBox> boxes;
  print::PageSurface measure(page.width(), page.height());
  for (const print::DrawItem& item : page.items()) {
    const auto* t = std::get_if<print::TextItem>(&item);
    if (!t || t->text.trimmed().isEmpty()) continue;
    const QString ink = t->text.trimmed();
    if (std::all_of(ink.begin(), ink.end(), [](QChar c) { return c == '_' || c == QChar(0x2500); })) continue;
    const print::PrintFont& font = page.fonts()[t->font];
    measure.setFont(font);
    // Leading blanks move the ink right; trailing ones add nothing.
    const qsizetype lead = t->text.indexOf(ink);
    const double left = t->at.x + measure.textWidth(t->text.left(lead));
    const double height = font.pointSize * 3.528;  // points in 0.1 mm
    boxes.push_back({ink, left, left + measure.textWidth(ink), t->at.y - height / 5, t->at.y + height * 0.75});
  }
  return boxes;
}

// "A / B" for every pair of texts whose boxes overlap by more than 0.2 mm across and
// a third of the lower text's height up and down.
inline QStringList overlappingTexts(const print::PageList& page) {
  const std::vector<TextBox> boxes = textBoxes(page);
  QStringList found;
  for (size_t i = 0; i < boxes.size(); ++i)
    for (size_t j = i + 1; j < boxes.size(); ++j) {
      const TextBox &a = boxes[i], &b = boxes[j];
      const double across = std::min(a.right, b.right) - std::max(a.left, b.left);
      const double upDown = std::min(a.top, b.top) - std::max(a.bottom, b.bottom);
      const double lower = std::min(a.top - a.bottom, b.top - b.bottom);
      if (across > 2 && upDown > lower / 3) found << a.text + " / " + b.text;
    }
  return found;
}

}  // namespace velmont::testing
