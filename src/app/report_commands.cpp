#include "report_commands.h"

#include <map>
#include <mutex>

namespace velmont::app {
namespace {

std::mutex gMutex;
std::map<std::string, app::ReportDialog>& registry() {
  static std::map<std::string, app::ReportDialog> dialogs;
  return dialogs;
}

}  // namespace

void registerReportDialog(const std::string& reportCode, app::ReportDialog dialog) {
  std::lock_guard lock(gMutex);
  registry()[reportCode] = std::move(dialog);
}

static LeaveCheck& leaveCheck() {
  static LeaveCheck check;
  return check;
}

void registerLeaveCheck(LeaveCheck check) {
  std::lock_guard lock(gMutex);
  leaveCheck() = std::move(check);
}

bool mayLeave(QWidget* mainWindow) {
  LeaveCheck check;
  {
    std::lock_guard lock(gMutex);
    check = leaveCheck();
  }
  return !check || check(mainWindow);
}

app::ReportDialog reportDialog(const std::string& reportCode) {
  std::lock_guard lock(gMutex);
  auto it = registry().find(reportCode);
  return it == registry().end() ? ReportDialog() : it->second;
}

}  // namespace velmont::app
