#pragma once
// The usage log: a plain text file in the data directory with one line per
// report printed (time, user, access value and action). Nothing in the program
// reads it; a log that cannot be written never stops a report.
#include <string>

namespace velmont::libs {

inline constexpr const char* kUsageLogFile = "velmont-usage.log";

// lmdSetUserLog: the log is the file at `logPath` (kUsageLogFile in the data
// directory) from now on; with `logStart` a line records the program's start.
void lmdSetUserLog(const std::string& logPath, bool logStart, const std::string& user = "");
// lmdLog: appends "YYYY-MM-DD hh:mm:ss<TAB>user<TAB>access<TAB>action" and a
// line end. False when there is no log or it cannot be written. Thread-safe.
bool lmdLog(const std::string& action, const std::string& user, const std::string& access);

}  // namespace velmont::libs
