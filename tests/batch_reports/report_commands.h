#pragma once
// The headless report commands run in-process on damaged copies of a demo school.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "batch_test_helpers.h"

namespace velmont::testing {

// Runs a velmont-batch command line with "eot" and "list" among its commands.
CommandResult runReportCommand(const std::vector<std::string>& args);

// Writes the index anew over the table's records, its entries (key, record) in
// key order changed by `edit` first.
using IndexEntries = std::vector<std::pair<std::string, uint32_t>>;
void rebuildIndex(const std::string& tablePath, const std::string& ntxPath,
                  const std::function<void(IndexEntries&)>& edit);

// Writes the index anew over the table's records, as sound as before except
// that the entry at `rank` in key order names record `recno`.
void rebuildIndexPointing(const std::string& tablePath, const std::string& ntxPath, size_t rank, uint32_t recno);

// A demo school of 40 students in a folder of its own, and the two report
// commands run on it with the test year and the given options after.
class DemoSchoolCommands : public ::testing::Test {
 protected:
  DemoSchoolCommands() { makeDemo(school(), 40, 5); }
  std::string school() const { return dir.file("school"); }
  CommandResult eot(std::vector<std::string> more) {
    std::vector<std::string> args = {"eot", "--data-dir", school(), "--year", std::to_string(kTestYear)};
    args.insert(args.end(), more.begin(), more.end());
    return runReportCommand(args);
  }
  CommandResult list(std::vector<std::string> more) {
    std::vector<std::string> args = {"list", "--data-dir", school(), "--year", std::to_string(kTestYear), "--level", "7"};
    args.insert(args.end(), more.begin(), more.end());
    return runReportCommand(args);
  }

  TempDir dir;
};

}  // namespace velmont::testing
