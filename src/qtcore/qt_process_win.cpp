#include <cstdlib>

#include "qt_process.h"

namespace velmont::qtcore {

// Windows has no run-time folder to name: Qt keeps its files under the user's profile.
void prepareQtProcess() {
  if (!std::getenv("QT_ENABLE_REGEXP_JIT")) _putenv_s("QT_ENABLE_REGEXP_JIT", "0");
}

}  // namespace velmont::qtcore
