#include "preview_keys.h"

#include <QKeyEvent>

namespace velmont::preview::pkey {

int keyCodeOf(const QKeyEvent& event) {
  const Qt::KeyboardModifiers mods = event.modifiers();
  const bool ctrl = mods & Qt::ControlModifier, shift = mods & Qt::ShiftModifier;
  const bool alt = mods & Qt::AltModifier;
  const int key = event.key();
  auto withMods = [&](int code) { return code + (ctrl ? kCtrl : 0) + (shift ? kShift : 0); };
  switch (key) {
    case Qt::Key_Escape: return kEsc;
    case Qt::Key_Return:
    case Qt::Key_Enter: return kEnter;
    case Qt::Key_Tab: return kTab;
    case Qt::Key_Backtab: return kTab + kShift;
    case Qt::Key_Up: return withMods(kUp);
    case Qt::Key_Down: return withMods(kDown);
    case Qt::Key_Left: return withMods(kLeft);
    case Qt::Key_Right: return withMods(kRight);
    case Qt::Key_PageUp: return withMods(kPgUp);
    case Qt::Key_PageDown: return withMods(kPgDn);
    default: break;
  }
  if (ctrl && (key == Qt::Key_Comma || key == Qt::Key_Less)) return kCtrlComma;
  if (ctrl && (key == Qt::Key_Period || key == Qt::Key_Greater)) return kCtrlPeriod;
  if (alt && key >= Qt::Key_A && key <= Qt::Key_Z) return kAlt + ('A' + (key - Qt::Key_A));
  if (ctrl || alt) return 0;
  const QString text = event.text();
  if (text.size() == 1 && text[0].unicode() >= 32 && text[0].unicode() < 127)
    return text[0].unicode();
  // Events made without text (synthesised keys): letters, digits and signs by key.
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return (shift ? 'A' : 'a') + (key - Qt::Key_A);
  if (key >= 32 && key < 127) return key;
  return 0;
}

}  // namespace velmont::preview::pkey
