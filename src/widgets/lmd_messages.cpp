#include "lmd_messages.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <QTimer>

#include "cells.h"
#include "qtcore/gui_thread.h"
#include "lmd_controls.h"
#include "lmd_dialog.h"
#include "picture_edit.h"

namespace velmont::widgets {
namespace {

QWidget* ownerOr(QWidget* owner) { return owner ? owner : QApplication::activeWindow(); }

QString title() {
  const QString name = QApplication::applicationDisplayName();
  return name.isEmpty() ? QStringLiteral("Velmont Program") : name;
}

QPointer<QLabel> gNotice;

// Each line of a message shows as one line: the box would otherwise wrap a
// long line onto the next (up to the screen's width).
void keepLinesWhole(QMessageBox& box, const QStringList& lines) {
  auto* label = box.findChild<QLabel*>("qt_msgbox_label");
  if (!label) return;
  const QFontMetrics fm(label->font());
  int widest = 0;
  for (const QString& line : lines) widest = std::max(widest, fm.horizontalAdvance(line));
  int limit = widest;
  if (const QScreen* screen = box.screen()) limit = screen->availableGeometry().width() - 60;
  label->setMinimumWidth(std::min(widest + 2, limit));
}

// The input boxes: prompts on the left, fields on the right, OK and Cancel.
struct InputBox {
  LmdDialog dialog;
  std::vector<PictureEdit*> edits;

  InputBox(QWidget* owner, const QStringList& prompts, const QStringList& values, const QList<int>& widths,
           const QStringList& pictures)
      : dialog(ownerOr(owner), prompts.size() * 1.6 + 2.6, 10, title()) {
    double promptWidth = 0;
    const QFontMetrics fm(dialog.font());
    for (const QString& p : prompts)
      promptWidth = qMax(promptWidth, fm.horizontalAdvance(p) / cellMetric().width + 1);
    double row = 1.5;
    double right = 0;
    for (int i = 0; i < prompts.size(); ++i) {
      SayOptions label;
      label.columns = promptWidth;
      label.align = Qt::AlignRight;
      lmdSay(&dialog, row, 2, prompts[i], label);
      PictureEdit* e = lmdXGet(&dialog, row, 3 + promptWidth, widths[i], values[i], pictures[i]);
      edits.push_back(e);
      right = qMax(right, (e->geometry().right() / cellMetric().width) + 2);
      row += 1.6;
    }
    const double buttons = qMax(right, 18.0);
    QPushButton* ok = lmdPshBtn(&dialog, row + 0.3, buttons - 15, 6.5, QObject::tr("OK"), [this] { dialog.accept(); });
    lmdPshBtn(&dialog, row + 0.3, buttons - 8, 6.5, QObject::tr("Cancel"), [this] { dialog.reject(); });
    ok->setDefault(true);
    ok->setAutoDefault(true);
    dialog.resize(cellSize(row + 1.8, buttons + 1));
    // Enter moves on from a field to the next; on the last one it confirms.
    dialog.setKeyHandler([this](int key, QWidget* field) {
      if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
      for (size_t i = 0; i + 1 < edits.size(); ++i)
        if (field == edits[i]) {
          edits[i + 1]->setFocus(Qt::TabFocusReason);
          return true;
        }
      return false;
    });
    if (!edits.empty()) edits.front()->setFocus();
  }
};

}  // namespace

void lmdMsg(const QStringList& lines, int options, QWidget* owner) {
  qtcore::callOnGui([&] {
    QPointer<QWidget> back = ownerOr(owner);
    QMessageBox box(options == 14 ? QMessageBox::Critical : QMessageBox::Information, title(), lines.join('\n'),
                    QMessageBox::Ok, back);
    keepLinesWhole(box, lines);
    box.exec();
    // The window the message was about takes the keys again (its field keeps the focus).
    if (back) back->window()->activateWindow();
  });
}

void lmdQMsg(const QString& text, QWidget* owner) {
  QPointer<QWidget> o(owner);
  auto show = [text, o] {
    if (!gNotice) {
      gNotice = new QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint);
      gNotice->setAttribute(Qt::WA_DeleteOnClose);
      gNotice->setFrameShape(QFrame::Box);
      gNotice->setMargin(12);
      gNotice->setFont(lmdFont("10.Arial Bold"));
    }
    gNotice->setText(text);
    gNotice->adjustSize();
    QWidget* anchor = o ? o.data() : QApplication::activeWindow();
    if (anchor) {
      const QRect frame = anchor->geometry();
      gNotice->move(frame.center() - QPoint(gNotice->width() / 2, gNotice->height() / 2));
    }
    gNotice->show();
    gNotice->raise();
    QPointer<QLabel> shown = gNotice;
    QTimer::singleShot(4000, shown, [shown, text] {
      if (shown && shown->text() == text) shown->close();
    });
  };
  if (qtcore::onGuiThread()) show();
  else qtcore::later(nullptr, show);
}

void lmdQMsgClose() {
  qtcore::callOnGui([] {
    if (gNotice) gNotice->close();
  });
}

QWidget* lmdQMsgWindow() { return gNotice && gNotice->isVisible() ? gNotice.data() : nullptr; }

bool lmdYesNo(const QStringList& lines, QWidget* owner) {
  return qtcore::callOnGui([&] {
    QMessageBox box(QMessageBox::Question, title(), lines.join('\n'), QMessageBox::Yes | QMessageBox::No,
                    ownerOr(owner));
    box.setDefaultButton(QMessageBox::Yes);
    keepLinesWhole(box, lines);
    return box.exec() == QMessageBox::Yes;
  });
}

QString lmdGetStr(const QString& prompt, int width, const QString& picture, const QString& value, QWidget* owner,
                  bool* cancelled) {
  return qtcore::callOnGui([&] {
    InputBox box(owner, {prompt}, {value}, {width}, {picture});
    const bool confirmed = box.dialog.exec() == QDialog::Accepted;
    if (cancelled) *cancelled = !confirmed;
    return confirmed ? box.edits[0]->value() : QString();
  });
}

bool lmdGet2Str(const QString& prompt1, const QString& prompt2, QString& value1, QString& value2, int width1,
                int width2, const QString& picture1, const QString& picture2, QWidget* owner) {
  return qtcore::callOnGui([&] {
    InputBox box(owner, {prompt1, prompt2}, {value1, value2}, {width1, width2}, {picture1, picture2});
    if (box.dialog.exec() != QDialog::Accepted) return false;
    value1 = box.edits[0]->value();
    value2 = box.edits[1]->value();
    return true;
  });
}

}  // namespace velmont::widgets
