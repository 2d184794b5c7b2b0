#pragma once
// YOUR_REPT: a plain-text form on which a school describes a report it would
// like added, kept in the data directory and opened in a text editor.
#include <functional>
#include <string>

class QWidget;

namespace velmont::commands {

inline constexpr const char* kRequestFile = "Velmont_Request.txt";

// The 13 lines of a new form, each ended by CR LF.
std::string requestFormText();

// Writes a new form in `dir` unless one exists (a started form is never
// overwritten). Returns the form's path; "" when it could not be written.
std::string ensureRequestForm(const std::string& dir);

// Opens a file in the desktop's plain-text editor, without a shell command
// line; false when no editor could be started.
bool openInTextEditor(const std::string& path, const std::string& workingDir);

using FileOpener = std::function<bool(const std::string& path, const std::string& workingDir)>;

// Asks for confirmation, makes sure the form exists and opens it. A form that
// cannot be written, or a desktop that cannot open it, is told in a message
// that names the file.
void YOUR_REPT(const std::string& dataDir, QWidget* owner, const FileOpener& open = openInTextEditor);

}  // namespace velmont::commands
