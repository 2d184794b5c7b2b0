#pragma once
// The key codes of the preview window: plain keys are their character codes; the
// others are fixed numbers, with Ctrl, Shift and Alt as added offsets.
class QKeyEvent;

namespace velmont::preview::pkey {

inline constexpr int kTab = 9;
inline constexpr int kEnter = 13;
inline constexpr int kEsc = 27;
inline constexpr int kPgUp = 65569;
inline constexpr int kPgDn = 65570;
inline constexpr int kLeft = 65573;
inline constexpr int kUp = 65574;
inline constexpr int kRight = 65575;
inline constexpr int kDown = 65576;
inline constexpr int kCommaKey = 65724;   // the comma key (<) as a key number
inline constexpr int kPeriodKey = 65726;  // the period key (>)

inline constexpr int kShift = 131072;
inline constexpr int kCtrl = 524288;
inline constexpr int kAlt = 327680;  // Alt+letter: kAlt + the capital letter's code

inline constexpr int kCtrlComma = kCtrl + kCommaKey;    // 590012
inline constexpr int kCtrlPeriod = kCtrl + kPeriodKey;  // 590014

inline constexpr int alt(char capital) { return kAlt + capital; }

// The letter 'A' to 'Z' that a key stands for, in capitals, small letters or with Alt;
// 0 for any other key.
inline constexpr int letterOf(int key) {
  if (key >= 'A' && key <= 'Z') return key;
  if (key >= 'a' && key <= 'z') return key - 'a' + 'A';
  if (key >= kAlt + 'A' && key <= kAlt + 'Z') return key - kAlt;
  return 0;
}

// The code of a key press, or 0 when the window has no use for it.
int keyCodeOf(const QKeyEvent& event);

}  // namespace velmont::preview::pkey
