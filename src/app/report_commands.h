#pragma once
// The report items of the main menu open their options dialogs through this
// registry, by report code ("T_EOT_Rpt", "L_Rpt_001"). A report's module
// registers its dialog before the main window is built; an item whose code has
// no dialog does nothing.
#include <functional>
#include <string>

class QWidget;

namespace velmont::school {
class Session;
}

namespace velmont::app {

// Opens a report's options dialog (modal) over the main window.
using ReportDialog = std::function<void(school::Session& session, QWidget* mainWindow, const std::string& reportCode)>;

void registerReportDialog(const std::string& reportCode, app::ReportDialog dialog);
// The dialog registered for the code, or an empty function.
app::ReportDialog reportDialog(const std::string& reportCode);

// Asked before the program ends (Exit, or the main window's close button):
// false keeps the program running. The reports register the check that asks
// whether to stop a run still working; without one the program may always end.
using LeaveCheck = std::function<bool(QWidget* mainWindow)>;
void registerLeaveCheck(LeaveCheck check);
bool mayLeave(QWidget* mainWindow);

}  // namespace velmont::app
