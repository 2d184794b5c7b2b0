#include "runtime_dir.h"

namespace velmont::qtcore {

// Windows has no such folder to name: Qt keeps its files under the user's profile.
void prepareRuntimeDirectory() {}

}  // namespace velmont::qtcore
