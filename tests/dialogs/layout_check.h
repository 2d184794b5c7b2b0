#pragma once
// Finds what a user would see as a broken layout in a shown window: a text
// wider or taller than the room its control gives it, a control that runs over
// the edge or the border of what holds it, and two controls side by side that
// overlap. Each fault is one readable line naming the control by its text.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>

namespace velmont::testing {

// A name for a control in a fault line: its class and its text.
inline QString describe(const QWidget* w) {
  QString text;
  if (auto* l = qobject_cast<const QLabel*>(w)) text = l->text();
  else if (auto* b = qobject_cast<const QAbstractButton*>(w)) text = b->text();
  else if (auto* g = qobject_cast<const QGroupBox*>(w)) text = g->title();
  else if (auto* e = qobject_cast<const QLineEdit*>(w)) text = e->text();
  text.replace('\n', "|");
  if (text.size() > 40) text = text.left(37) + "...";
  const QString name = w->objectName().isEmpty() ? QString() : " #" + w->objectName();
  return QString("%1%2 \"%3\"").arg(w->metaObject()->className(), name, text);
}

// Controls whose insides belong to Qt (the parts of a spin box, a combo box, a
// table) are checked as one piece.
inline bool checkedAsOnePiece(const QWidget* w) {
  return qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QComboBox*>(w) ||
         qobject_cast<const QAbstractItemView*>(w);
}

// Holds other controls (a group box, a panel, a scroll area, a plain widget).
inline bool isContainer(const QWidget* w) {
  if (qobject_cast<const QGroupBox*>(w) || qobject_cast<const QAbstractScrollArea*>(w)) return true;
  if (qobject_cast<const QLabel*>(w) || qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLineEdit*>(w) ||
      checkedAsOnePiece(w))
    return false;
  if (auto* f = qobject_cast<const QFrame*>(w))
    return f->frameShape() != QFrame::HLine && f->frameShape() != QFrame::VLine;
  return true;
}

// The room inside a container that its children may use.
inline QRect innerRoom(const QWidget* parent) {
  if (auto* f = qobject_cast<const QFrame*>(parent)) return f->contentsRect();
  if (auto* g = qobject_cast<const QGroupBox*>(parent)) {
    QStyleOptionGroupBox o;
    o.initFrom(g);
    o.text = g->title();
    o.lineWidth = 1;
    o.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    o.textAlignment = g->alignment();
    const QRect frame = g->style()->subControlRect(QStyle::CC_GroupBox, &o, QStyle::SC_GroupBoxFrame, g);
    const QRect label = g->style()->subControlRect(QStyle::CC_GroupBox, &o, QStyle::SC_GroupBoxLabel, g);
    QRect room = frame.adjusted(1, 1, -1, -1);
    if (!g->title().isEmpty()) room.setTop(std::max(room.top(), label.bottom() + 1));
    return room;
  }
  return parent->rect();
}

inline QString withoutMnemonic(QString text) {
  text.replace("&&", "\x01");
  text.remove('&');
  text.replace('\x01', '&');
  return text;
}

// The faults of one control's own text.
inline void textFaults(const QWidget* w, QStringList& faults) {
  const QFontMetrics fm(w->font());
  auto tooNarrow = [&](int need, int room) {
    if (need > room) faults << QString("%1 needs %2 px across, has %3").arg(describe(w)).arg(need).arg(room);
  };
  auto tooLow = [&](int need, int room) {
    if (need > room) faults << QString("%1 needs %2 px down, has %3").arg(describe(w)).arg(need).arg(room);
  };
  if (auto* l = qobject_cast<const QLabel*>(w)) {
    if (l->text().trimmed().isEmpty() || l->textFormat() == Qt::RichText) return;
    const QRect room = l->contentsRect().adjusted(l->margin(), l->margin(), -l->margin(), -l->margin());
    const QStringList lines = l->text().split('\n');
    if (!l->wordWrap() || l->objectName() == "qt_msgbox_label") {
      // A message box's lines are lines: each must show on one line.
      int widest = 0;
      for (const QString& line : lines) widest = std::max(widest, fm.horizontalAdvance(line));
      tooNarrow(widest, room.width());
      tooLow(int(lines.size()) * fm.height(), room.height());
    } else {
      tooLow(l->heightForWidth(l->width()), l->height());
    }
    return;
  }
  if (auto* b = qobject_cast<const QPushButton*>(w)) {
    const QStyle* s = b->style();
    const int frame = s->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, b);
    const int margin = s->pixelMetric(QStyle::PM_ButtonMargin, nullptr, b);
    tooNarrow(fm.horizontalAdvance(withoutMnemonic(b->text())) + 2 * frame + margin, b->width());
    tooLow(fm.height() + 2 * frame, b->height());
    return;
  }
  if (qobject_cast<const QRadioButton*>(w) || qobject_cast<const QCheckBox*>(w)) {
    const QSize hint = w->sizeHint();
    tooNarrow(hint.width(), w->width());
    tooLow(fm.height() * int(static_cast<const QAbstractButton*>(w)->text().split('\n').size()), w->height());
    return;
  }
  if (auto* g = qobject_cast<const QGroupBox*>(w)) {
    if (g->title().isEmpty()) return;
    tooNarrow(fm.horizontalAdvance(withoutMnemonic(g->title())) + fm.horizontalAdvance(' ') * 2, g->width());
    return;
  }
  if (auto* e = qobject_cast<const QLineEdit*>(w)) {
    tooLow(fm.height() + 2, e->height());
    return;
  }
}

inline bool isRule(const QWidget* w) {
  auto* f = qobject_cast<const QFrame*>(w);
  return f && !qobject_cast<const QLabel*>(w) &&
         (f->frameShape() == QFrame::HLine || f->frameShape() == QFrame::VLine);
}

// A plain widget with nothing in it shows nothing (the preview's key receiver).
inline bool showsNothing(const QWidget* w) {
  return std::string_view(w->metaObject()->className()) == "QWidget" && w->children().isEmpty();
}

inline void collectFaults(const QWidget* parent, QStringList& faults, const QStringList& overlays) {
  QList<const QWidget*> shown;
  for (const QObject* o : parent->children()) {
    auto* w = qobject_cast<const QWidget*>(o);
    if (!w || w->isWindow() || !w->isVisibleTo(parent) || w->size().isEmpty()) continue;
    shown << w;
  }
  const QRect room = innerRoom(parent);
  const bool scrolled = qobject_cast<const QAbstractScrollArea*>(parent->parentWidget()) != nullptr;
  for (const QWidget* w : shown) {
    textFaults(w, faults);
    // Inside what holds it; the canvas of a scroll area may be larger by design.
    if (!scrolled && !room.contains(w->geometry()) && !qobject_cast<const QAbstractScrollArea*>(parent))
      faults << QString("%1 runs over the edge of %2 (%3,%4 %5x%6 in %7,%8 %9x%10)")
                    .arg(describe(w), describe(parent))
                    .arg(w->x()).arg(w->y()).arg(w->width()).arg(w->height())
                    .arg(room.x()).arg(room.y()).arg(room.width()).arg(room.height());
    if (!checkedAsOnePiece(w) && !qobject_cast<const QAbstractScrollArea*>(w)) collectFaults(w, faults, overlays);
    else if (auto* area = qobject_cast<const QAbstractScrollArea*>(w); area && !checkedAsOnePiece(w))
      collectFaults(area->viewport(), faults, overlays);
  }
  for (int i = 0; i < shown.size(); ++i)
    for (int j = i + 1; j < shown.size(); ++j) {
      const QWidget *a = shown[i], *b = shown[j];
      if (!a->geometry().intersects(b->geometry())) continue;
      // Rules meet at the corners of the box they draw; two texts in the very
      // same place are alternatives, one shown over the other.
      if ((isRule(a) && isRule(b)) || a->geometry() == b->geometry()) continue;
      if (showsNothing(a) || showsNothing(b)) continue;
      if (overlays.contains(a->objectName()) || overlays.contains(b->objectName())) continue;
      // A control may sit inside a container beside it, clear of its border.
      const bool aHolds = isContainer(a) && innerRoom(a).translated(a->pos()).contains(b->geometry());
      const bool bHolds = isContainer(b) && innerRoom(b).translated(b->pos()).contains(a->geometry());
      if (aHolds || bHolds) continue;
      faults << QString("%1 overlaps %2").arg(describe(a), describe(b));
    }
}

// Every fault of a shown window. Controls named in `overlays` are meant to lie
// over others (an editor opened over part of a dialog): they may cover their
// siblings, and must still show their own texts whole.
inline QStringList layoutFaults(const QWidget* window, const QStringList& overlays = {}) {
  QStringList faults;
  collectFaults(window, faults, overlays);
  return faults;
}

// Saves the window's picture when VELMONT_LAYOUT_SHOTS names a directory.
inline void saveShot(QWidget* window, const QString& name) {
  const QString dir = qEnvironmentVariable("VELMONT_LAYOUT_SHOTS");
  if (dir.isEmpty()) return;
  QDir().mkpath(dir);
  window->grab().save(QDir(dir).filePath(name + ".png"));
}

}  // namespace velmont::testing
