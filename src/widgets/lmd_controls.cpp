#include "lmd_controls.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <algorithm>

#include "cells.h"
#include "qtcore/gui_thread.h"
#include "lmd_dialog.h"
#include "picture_edit.h"

namespace velmont::widgets {
namespace {

// A text's box: its cells, but never lower than its font's line, and for a
// one-line text never narrower than the text (a font wider than the cells
// grows the box away from its aligned side, so the text shows whole).
void placeText(QLabel* label, double row, double column, const SayOptions& o, bool multiLine) {
  QRect r = cellRect(row, column, o.rows, o.columns);
  const QFontMetrics fm(label->font());
  if (o.columns <= 0) r.setWidth(label->sizeHint().width());
  if (r.height() < fm.height()) r.setHeight(fm.height());
  if (!multiLine) {
    int need = 0;
    for (const QString& line : label->text().split('\n')) need = std::max(need, fm.horizontalAdvance(line));
    need += 2 * label->margin() + 2 * label->frameWidth();
    if (need > r.width()) {
      if (o.align & Qt::AlignRight) r.setLeft(r.right() + 1 - need);
      else if (o.align & Qt::AlignHCenter) r.adjust(-(need - r.width()) / 2, 0, (need - r.width() + 1) / 2, 0);
      else r.setWidth(need);
    }
  }
  label->setGeometry(r);
}

QLabel* makeText(QWidget* parent, double row, double column, const QString& text, const SayOptions& o,
                 bool multiLine) {
  auto* label = new QLabel(parent);
  label->setTextFormat(Qt::PlainText);
  if (!o.font.isEmpty()) label->setFont(lmdFont(o.font));
  lmdSetColor(label, o.colours);
  label->setAlignment(o.align | (multiLine ? Qt::AlignTop : Qt::AlignVCenter));
  label->setWordWrap(multiLine);
  QString shown = text;
  shown.replace("\r\n", "\n");
  label->setText(shown);
  placeText(label, row, column, o, multiLine);
  label->show();
  return label;
}

LmdDialog* dialogOf(QWidget* w) {
  for (QWidget* p = w; p; p = p->parentWidget())
    if (auto* d = qobject_cast<LmdDialog*>(p)) return d;
  return nullptr;
}

QFrame* rule(QWidget* parent, QFrame::Shape shape, const QRect& r) {
  auto* line = new QFrame(parent);
  line->setFrameShape(shape);
  line->setFrameShadow(QFrame::Raised);
  line->setGeometry(r);
  line->show();
  return line;
}

}  // namespace

QLabel* lmdSay(QWidget* parent, double row, double column, const QString& text, const SayOptions& options) {
  return makeText(parent, row, column, text, options, false);
}

QLabel* lmdMSay(QWidget* parent, double row, double column, const QString& text, const SayOptions& options) {
  return makeText(parent, row, column, text, options, true);
}

void lmdReSay(QLabel* label, const QString& text) {
  qtcore::postToGui(label, [label, text] { label->setText(text); });
}

void lmdShow(QWidget* w, bool visible) {
  qtcore::postToGui(w, [w, visible] { w->setVisible(visible); });
}

void lmdEnable(QWidget* w, bool enabled) {
  qtcore::postToGui(w, [w, enabled] { w->setEnabled(enabled); });
}

QFrame* lmdLine(QWidget* parent, double row, double column, double length) {
  QRect r = cellRect(row, column, 0, length);
  return rule(parent, QFrame::HLine, QRect(r.x(), r.y() - 1, r.width(), 3));
}

QFrame* lmdVLine(QWidget* parent, double row, double column, double extent) {
  QRect r = cellRect(row, column, extent, 0);
  return rule(parent, QFrame::VLine, QRect(r.x() - 1, r.y(), 3, r.height()));
}

QPushButton* lmdPshBtn(QWidget* parent, double row, double column, double columns, const QString& text,
                       std::function<void()> action, double rows) {
  auto* button = new QPushButton(text, parent);
  button->setAutoDefault(false);
  placeInCells(button, row, column, rows, columns);
  // Never narrower or lower than its text needs.
  const QFontMetrics fm(button->font());
  const int frame = button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
  const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
  QString shown = text;
  shown.replace("&&", "\x01").remove('&');
  button->resize(std::max(button->width(), fm.horizontalAdvance(shown) + 2 * frame + margin + 2),
                 std::max(button->height(), fm.height() + 2 * frame + 2));
  if (action) QObject::connect(button, &QPushButton::clicked, button, [action] { action(); });
  button->show();
  return button;
}

PictureEdit* lmdXGet(QWidget* parent, double row, double column, int width, const QString& value,
                     const QString& picture, const GetOptions& options) {
  auto* edit = new PictureEdit(picture, width, parent);
  if (!options.font.isEmpty()) edit->setFont(lmdFont(options.font));
  edit->setValue(value);
  edit->setCheck(options.check);
  edit->setHelp(options.help);
  // Room for the characters plus the frame: a short code gets room for its
  // widest letters, a longer text for typical ones (capitals in a capitals
  // field) and scrolls when it is longer still.
  const QFontMetrics fm(edit->font());
  QRect r = cellRect(row, column, 1, 0);
  const QChar typical = edit->width() <= 4 ? QChar('M') : edit->picture().upper ? QChar('N') : QChar('n');
  r.setWidth(fm.horizontalAdvance(QString(qMax(edit->width(), 1), typical)) + 12);
  r.setHeight(qMax(r.height(), edit->sizeHint().height()));
  edit->setGeometry(r);
  if (LmdDialog* d = dialogOf(parent)) d->addField(edit);
  edit->show();
  return edit;
}

QAbstractButton* lmdRadChk(QWidget* parent, double row, double column, const QString& text, ButtonKind kind,
                           bool checked, std::function<void(bool)> changed, double columns) {
  QAbstractButton* b = kind == ButtonKind::kRadio ? static_cast<QAbstractButton*>(new QRadioButton(text, parent))
                                                  : static_cast<QAbstractButton*>(new QCheckBox(text, parent));
  b->setChecked(checked);
  placeInCells(b, row, column, 1, columns);
  b->resize(std::max(b->width(), b->sizeHint().width()), std::max(b->height(), b->sizeHint().height()));
  if (changed) QObject::connect(b, &QAbstractButton::toggled, b, [changed](bool on) { changed(on); });
  b->show();
  return b;
}

QGroupBox* lmdGBox(QWidget* parent, double row, double column, double rows, double columns, const QString& title) {
  auto* box = new QGroupBox(title, parent);
  box->setGeometry(cellRect(row, column, rows, columns));
  box->show();
  return box;
}

QFrame* lmdStat(QWidget* parent, double row, double column, double rows, double columns, bool recessed) {
  auto* box = new QFrame(parent);
  box->setFrameShape(QFrame::Panel);
  box->setFrameShadow(recessed ? QFrame::Sunken : QFrame::Raised);
  box->setGeometry(cellRect(row, column, rows, columns));
  box->show();
  return box;
}

QSpinBox* lmdSpin(QWidget* parent, double row, double column, double columns, int minimum, int maximum, int value,
                  std::function<void(int)> changed) {
  auto* spin = new QSpinBox(parent);
  spin->setRange(minimum, maximum);
  spin->setValue(value);
  placeInCells(spin, row, column, 1, columns);
  if (changed) QObject::connect(spin, &QSpinBox::valueChanged, spin, [changed](int v) { changed(v); });
  spin->show();
  return spin;
}

QLabel* lmdStatBar(QWidget* parent, const QString& text) {
  auto* bar = new QLabel(text, parent);
  bar->setFrameShape(QFrame::Panel);
  bar->setFrameShadow(QFrame::Sunken);
  const int h = cellSize(1, 0).height();
  bar->setGeometry(0, parent->height() - h, parent->width(), h);
  bar->show();
  return bar;
}

}  // namespace velmont::widgets
