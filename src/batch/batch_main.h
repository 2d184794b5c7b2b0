#pragma once
// The batch companion's commands: demo, check and dump, and those registered.
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace velmont::batch {

// Exit statuses of velmont-batch.
inline constexpr int kExitOk = 0;
inline constexpr int kExitDataProblem = 1;  // a file is missing or damaged, or check found a fault
inline constexpr int kExitUsage = 2;        // a wrong or missing argument
inline constexpr int kExitNothingMatched = 3;  // a report matched no student: nothing was printed

// A command added by a part of the program that the batch library does not
// link (the report runs need the page printer): given the words after the
// command name, it returns the exit status and may throw UsageError.
using BatchCommand = std::function<int(const std::vector<std::string>& words, std::ostream& out, std::ostream& err,
                                       int todayYear)>;
// Adds a command; `summary` is its line in the general usage text.
void registerBatchCommand(const std::string& name, const std::string& summary, BatchCommand command);

// Runs one command line (without the program name); normal output goes to
// `out`, messages to `err`. `todayYear` is the default school year.
int runBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, int todayYear);

}  // namespace velmont::batch
