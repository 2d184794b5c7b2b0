#pragma once
// The batch companion's commands: demo, check and dump.
#include <ostream>
#include <string>
#include <vector>

namespace velmont::batch {

// Exit statuses of velmont-batch.
inline constexpr int kExitOk = 0;
inline constexpr int kExitDataProblem = 1;  // a file is missing or damaged, or check found a fault
inline constexpr int kExitUsage = 2;        // a wrong or missing argument

// Runs one command line (without the program name); normal output goes to
// `out`, messages to `err`. `todayYear` is the default school year.
int runBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, int todayYear);

}  // namespace velmont::batch
