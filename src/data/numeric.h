#pragma once
// Numbers as xBase tables store them: right-aligned ASCII text of a fixed width.
#include <string>
#include <string_view>

namespace velmont::data {

// Reads an N field's text: leading blanks skipped, optional '-', digits, optional
// '.' and digits, stopping at the first other character. All blanks read as 0.
// A field full of '*' (an engine's overflow mark) reads as 0 and sets *overflow.
double parseNumeric(std::string_view text, bool* overflow = nullptr);

// STR(value, width, decimals): right-aligned, rounded half away from zero, '-'
// directly before the first digit, at least one digit before the point; width
// asterisks when the value does not fit. Writes exactly `width` bytes to `out`.
void formatStrInto(char* out, double value, int width, int decimals);
std::string formatStr(double value, int width, int decimals);

// True when formatStr would fit the value into the width without asterisks.
bool fitsWidth(double value, int width, int decimals);

// The key bytes of a numeric NTX key of size `width` with `decimals`: STR text
// with leading blanks as '0', and for negative values the '-' turned into '0'
// and every digit d replaced by the byte 44 - d so that byte order is number order.
void encodeNumericKey(char* out, double value, int width, int decimals);
std::string encodeNumericKey(double value, int width, int decimals);
// The value of a numeric key written by encodeNumericKey (or by another engine).
double decodeNumericKey(std::string_view key);

}  // namespace velmont::data
