#pragma once
// velmont-batch list: the student list with subjects, without windows.
#include <ostream>
#include <string>
#include <vector>

namespace velmont::batch {

// Runs "list" with the words after the command; returns the exit status.
int listCommand(const std::vector<std::string>& words, std::ostream& out, std::ostream& err, int todayYear);

// Makes "list" one of velmont-batch's commands.
void registerListCommand();

}  // namespace velmont::batch
