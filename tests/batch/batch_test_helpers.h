#pragma once
// Shared pieces of the batch command tests: small demo schools, running a
// command line, and damaging table files on purpose.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "data/table.h"
#include "temp_dir.h"

namespace velmont::testing {

inline constexpr int kTestYear = 2024;

struct CommandResult {
  int status;
  std::string out, err;
};

// Runs velmont-batch's command line in-process.
CommandResult runCommand(const std::vector<std::string>& args);

// Writes a demo school into `dir` (which must not exist or be empty); fails the
// test when the command does.
void makeDemo(const std::string& dir, int students = 40, int seed = 1, const std::string& flags = "");

// A demo school of 40 students made once for all tests that only read it.
const std::string& sharedDemoDir();

// Opens a table of a directory for reading.
std::unique_ptr<data::Table> openTable(const std::string& dir, const std::string& file);

// Every file of a directory with its bytes.
std::map<std::string, std::string> readDirectory(const std::string& dir);

// Copies every file of one directory into another (created).
void copyDirectory(const std::string& from, const std::string& to);

// Byte-level damage: overwrite at an offset; the offset of a field's bytes in
// record `recno` (1-based), or of its 32-byte descriptor when recno is 0.
void overwrite(const std::string& path, uint64_t offset, const std::string& bytes);
uint64_t fieldOffset(const std::string& tablePath, const std::string& field, uint32_t recno);
// Cuts a table down to its first `records` records.
void keepRecords(const std::string& tablePath, uint32_t records);

std::string readFile(const std::string& path);

}  // namespace velmont::testing
