#pragma once
// Windows only: how the file layer turns the engine's path strings into the
// wide-character paths that the system's file calls take.
#include <string>

namespace velmont::data {

// The bytes are read as UTF-8 when they are valid UTF-8, else in the ANSI code
// page (as command-line arguments and narrow std::filesystem paths come on
// Windows). A path too long for the ordinary calls becomes an absolute
// extended-length path ("\\?\C:\..." or "\\?\UNC\server\share\...").
std::wstring windowsPath(const std::string& path);

}  // namespace velmont::data
