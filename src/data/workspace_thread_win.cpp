// Each thread's work areas, closed when the thread ends. Not a C++ thread_local: the
// mingw runtime frees a thread's thread_local storage before it runs their destructors,
// so closing the tables there would write into freed memory. A fiber-local slot's
// callback runs while the thread still lives, on the thread's own pointer.
#include <windows.h>

#include "workspace.h"

namespace velmont::data {

namespace {

void NTAPI closeThreadWorkspace(void* workspace) { delete static_cast<Workspace*>(workspace); }

DWORD workspaceSlot() {
  static const DWORD slot = FlsAlloc(closeThreadWorkspace);
  return slot;
}

}  // namespace

Workspace& Workspace::forThisThread() {
  const DWORD slot = workspaceSlot();
  if (auto* workspace = static_cast<Workspace*>(FlsGetValue(slot))) return *workspace;
  auto* workspace = new Workspace;
  FlsSetValue(slot, workspace);
  return *workspace;
}

}  // namespace velmont::data
