#include "session.h"

#include <cstdlib>

namespace velmont::school {

namespace {

// The user who runs the program, from the environment: the key of the user's
// saved report options and the user in the usage log.
std::string currentUser() {
  for (const char* name : {"USER", "USERNAME", "LOGNAME"})
    if (const char* value = std::getenv(name); value && *value) return value;
  return "0";
}

}  // namespace

const char* programVersion() { return VELMONT_PROGRAM_VERSION; }

SessionValues freshSessionValues(const school::SchoolFolder& folder, const data::Date& today) {
  SessionValues v;
  v.folder = folder;
  v.date = today;
  v.year = today.empty() ? 0 : today.year();
  v.userId = currentUser();
  v.yearNames.names.fill(std::string());
  return v;
}

}  // namespace velmont::school
