#pragma once
// The year-level entry check of the report dialogs, with its message.
#include <string>

class QWidget;

namespace velmont::school {
class Session;
}

namespace velmont::app {

// CHK_YR_NO_AM: the fees message for the year-level word in force.
void CHK_YR_NO_AM(const school::Session& session, QWidget* owner = nullptr);

// chk_yrin: true when the typed code names a year level in use; a level
// without fees gets the fees message, a blank entry or an unknown code a
// message that says so.
// `level` (optional) receives the level, 0 for an unknown code. A control
// table that cannot be read is told and the entry refused.
bool chk_yrin(const school::Session& session, const std::string& typed, int* level = nullptr, QWidget* owner = nullptr);

}  // namespace velmont::app
