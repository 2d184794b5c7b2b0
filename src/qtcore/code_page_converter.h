#pragma once
// The system's code page converter, one byte at a time: ICU (through Qt) on Linux,
// Windows' own code pages on Windows.

namespace velmont::qtcore {

// Fills table[0x80..0xFF] with the character each byte stands for in `codePage`,
// leaving U+FFFD for a byte the code page does not define. False when the system
// has no converter for the code page.
bool convertUpperHalf(int codePage, char16_t (&table)[256]);

}  // namespace velmont::qtcore
