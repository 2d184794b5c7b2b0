#pragma once
// The options every command that reads a school's text takes:
//   --codepage N          the code page of every table for this run, whatever
//                         the tables' driver bytes and codepage.$vl say;
//   --text-encoding E     a text file in "utf-8" for reading on screen, or in
//                         the school's code page ("codepage", the default).
#include <string>

#include "arguments.h"

namespace velmont::batch {

inline constexpr const char* kCodePageHelp =
    "  --codepage N       the code page of the school's text for this run (437, 850, 852, 865,\n"
    "                     866, 1250, 1251, 1252, ...); default: each table's language driver,\n"
    "                     else codepage.$vl in DIR, else 850\n";
inline constexpr const char* kTextEncodingHelp =
    "  --text-encoding E  with --text: \"utf-8\" for reading on screen; default \"codepage\",\n"
    "                     the school's code page, as a text printer expects\n"
    "  --line-ends E      with --text: \"lf\" ends each line with LF alone; default \"crlf\",\n"
    "                     CR LF, as a text printer and Windows programs expect\n";

// The value of --codepage, checked; 0 when absent. Throws UsageError.
int codePageOption(const Arguments& a);
// Makes --codepage the code page of every table for this run; without it each
// table's own code page is in force.
void applyCodePageOption(const Arguments& a);
// True for --text-encoding utf-8. Throws UsageError for an unknown encoding.
bool textUtf8Option(const Arguments& a);
// True for --line-ends lf. Throws UsageError for another value, or with no --text.
bool textLfOption(const Arguments& a);

}  // namespace velmont::batch
