#pragma once
// String services of the widget library.
#include <string>
#include <string_view>

namespace velmont::libs {

// lmdProper: each word with a capital first letter and the rest in small letters.
std::string lmdProper(std::string_view text);
// lmdStrNum: a number as text without leading or trailing blanks; whole
// numbers without decimals, others with up to `decimals` places, trailing
// zeros removed.
std::string lmdStrNum(double value, int decimals = 2);

}  // namespace velmont::libs
