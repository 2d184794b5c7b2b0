#pragma once
// velmont-batch eot: the end-of-term cards of a school, printed by the same run
// procedure as the program's dialog, with no windows.
#include <ostream>
#include <string>
#include <vector>

namespace velmont::batch {

// Runs "eot" with the words after the command; returns the exit status.
int eotCommand(const std::vector<std::string>& words, std::ostream& out, std::ostream& err, int todayYear);

// Makes "eot" one of velmont-batch's commands.
void registerEotCommand();

}  // namespace velmont::batch
