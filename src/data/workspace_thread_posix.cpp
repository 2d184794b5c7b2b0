// Each thread's work areas, closed when the thread ends (the main thread's at exit).
#include "workspace.h"

namespace velmont::data {

Workspace& Workspace::forThisThread() {
  thread_local Workspace workspace;
  return workspace;
}

}  // namespace velmont::data
