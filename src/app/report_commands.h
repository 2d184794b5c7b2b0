#pragma once
// The report items of the main menu open their options dialogs through this
// registry, by report code ("T_EOT_Rpt", "L_Rpt_001"). A report's module
// registers its dialog before the main window is built; an item whose code has
// no dialog does nothing.
#include <functional>
#include <string>

class QWidget;

namespace velmont::app {

class Session;

// Opens a report's options dialog (modal) over the main window.
using ReportDialog = std::function<void(Session& session, QWidget* mainWindow, const std::string& reportCode)>;

void registerReportDialog(const std::string& reportCode, ReportDialog dialog);
// The dialog registered for the code, or an empty function.
ReportDialog reportDialog(const std::string& reportCode);

}  // namespace velmont::app
