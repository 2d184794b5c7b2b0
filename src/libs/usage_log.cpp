#include "usage_log.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <mutex>

#include "data/file.h"

namespace velmont::libs {
namespace {

std::mutex gMutex;
std::string gPath;

std::string now() {
  const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm tm{};
#ifdef _WIN32
  localtime_s(&tm, &t);
#else
  localtime_r(&t, &tm);
#endif
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
  return buf;
}

// Tabs and line ends inside a value would break the one-line-per-entry form.
std::string oneLine(std::string s) {
  for (char& c : s)
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  return s;
}

}  // namespace

void lmdSetUserLog(const std::string& logPath, bool logStart, const std::string& user) {
  {
    std::lock_guard lock(gMutex);
    gPath = logPath;
  }
  if (logStart) lmdLog("program started", user, "");
}

bool lmdLog(const std::string& action, const std::string& user, const std::string& access) {
  std::lock_guard lock(gMutex);
  if (gPath.empty()) return false;
  std::ofstream out(data::fsPath(gPath), std::ios::binary | std::ios::app);
  if (!out) return false;
  out << now() << '\t' << oneLine(user) << '\t' << oneLine(access) << '\t' << oneLine(action) << "\r\n";
  return bool(out.flush());
}

}  // namespace velmont::libs
