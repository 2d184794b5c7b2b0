#pragma once
// The headless report commands run in-process on damaged copies of a demo school.
#include <string>
#include <vector>

#include "batch_test_helpers.h"

namespace velmont::testing {

// Runs a velmont-batch command line with "eot" and "list" among its commands.
CommandResult runReportCommand(const std::vector<std::string>& args);

// Writes the index anew over the table's records, as sound as before except
// that the entry at `rank` in key order names record `recno`.
void rebuildIndexPointing(const std::string& tablePath, const std::string& ntxPath, size_t rank, uint32_t recno);

}  // namespace velmont::testing
