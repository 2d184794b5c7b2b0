#include "data_errors.h"

#include "widgets/lmd_messages.h"

namespace velmont::app {

QStringList dataErrorLines(const data::DataError& error) {
  if (error.file().empty()) return {QString::fromStdString(error.reason())};
  return {"The file " + QString::fromStdString(error.file()) + " cannot be used:",
          QString::fromStdString(error.reason())};
}

bool showDataErrors(QWidget* owner, const std::function<void()>& work) {
  try {
    work();
    return true;
  } catch (const data::DataError& e) {
    widgets::lmdMsg(dataErrorLines(e), 0, owner);
    return false;
  }
}

}  // namespace velmont::app
