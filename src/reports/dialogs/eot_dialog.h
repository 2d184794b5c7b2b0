#pragma once
// The end-of-term options dialog, opened from "~Print End of Term Reports".
#include <string>

class QWidget;

namespace velmont::school {
class Session;
}

namespace velmont::eot {

// TAIL_PR2: builds and runs the modal dialog; returns when it is closed.
void TAIL_PR2(school::Session& session, QWidget* owner, const std::string& reportCode);

// Makes the menu item of report code "T_EOT_Rpt" open TAIL_PR2.
void registerEotDialog();

}  // namespace velmont::eot
