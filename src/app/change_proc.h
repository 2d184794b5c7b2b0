#pragma once
// CHANGE_PROC: the processing date, and the term and year that follow from it.
class QWidget;

namespace velmont::school {
class Session;
}

namespace velmont::app {

// Asks for the processing date when `ask` (an empty or invalid answer keeps
// the date; Cancel or ESC leaves everything as it was), then derives the term from the control table's term start dates
// and registers term and year. False, with nothing changed, when the control
// table cannot be read (the user is told which file and why).
bool CHANGE_PROC(school::Session& session, bool ask, QWidget* owner = nullptr);

}  // namespace velmont::app
