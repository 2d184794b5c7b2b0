#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "qt_process.h"

namespace velmont::qtcore {

void prepareQtProcess() {
  const char* given = std::getenv("XDG_RUNTIME_DIR");
  if (given && *given) return;
  const char* tmp = std::getenv("TMPDIR");
  const std::string dir = std::string(tmp && *tmp ? tmp : "/tmp") + "/velmont-runtime-" + std::to_string(getuid());
  // Only a folder of this user's, closed to everyone else, will do (as Qt requires).
  mkdir(dir.c_str(), 0700);
  struct stat st {};
  if (lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid()) return;
  if ((st.st_mode & 0777) != 0700 && chmod(dir.c_str(), 0700) != 0) return;
  setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
}

}  // namespace velmont::qtcore
