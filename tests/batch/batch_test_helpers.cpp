#include "batch_test_helpers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "batch/batch_main.h"
#include "data/file.h"

namespace velmont::testing {

namespace fs = std::filesystem;

CommandResult runCommand(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = batch::runBatch(args, out, err, kTestYear);
  return {status, out.str(), err.str()};
}

void makeDemo(const std::string& dir, int students, int seed, const std::string& flags) {
  std::vector<std::string> args = {"demo", dir, "--students", std::to_string(students), "--year",
                                   std::to_string(kTestYear), "--seed", std::to_string(seed)};
  if (!flags.empty()) args.insert(args.end(), {"--flags", flags});
  const CommandResult r = runCommand(args);
  ASSERT_EQ(r.status, 0) << r.err;
}

const std::string& sharedDemoDir() {
  static TempDir* dir = [] {
    auto* d = new TempDir();  // kept for the whole test program
    makeDemo(d->file("school"), 40, 1, "all");
    return d;
  }();
  static const std::string path = dir->file("school");
  return path;
}

std::unique_ptr<data::Table> openTable(const std::string& dir, const std::string& file) {
  return data::Table::open(data::pathIn(dir, file), "T");
}

std::string readFile(const std::string& path) {
  std::ifstream in(data::fsPath(path), std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::map<std::string, std::string> readDirectory(const std::string& dir) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::directory_iterator(data::fsPath(dir)))
    files[data::pathText(e.path().filename())] = readFile(data::pathText(e.path()));
  return files;
}

void copyDirectory(const std::string& from, const std::string& to) {
  fs::create_directories(data::fsPath(to));
  for (const auto& e : fs::directory_iterator(data::fsPath(from))) fs::copy_file(e.path(), data::fsPath(to) / e.path().filename());
}

void overwrite(const std::string& path, uint64_t offset, const std::string& bytes) {
  std::fstream f(data::fsPath(path), std::ios::binary | std::ios::in | std::ios::out);
  f.seekp(std::streamoff(offset));
  f.write(bytes.data(), std::streamsize(bytes.size()));
  ASSERT_TRUE(bool(f)) << path;
}

uint64_t fieldOffset(const std::string& tablePath, const std::string& field, uint32_t recno) {
  const std::string bytes = readFile(tablePath);
  const uint16_t headerLength = uint16_t(uint8_t(bytes[8]) | uint8_t(bytes[9]) << 8);
  const uint16_t recordLength = uint16_t(uint8_t(bytes[10]) | uint8_t(bytes[11]) << 8);
  uint64_t inRecord = 1;
  for (size_t d = 32; d + 32 <= headerLength && bytes[d] != 0x0D; d += 32) {
    const std::string name(bytes.c_str() + d);
    if (name == field)
      return recno == 0 ? d : headerLength + uint64_t(recno - 1) * recordLength + inRecord;
    inRecord += uint8_t(bytes[d + 16]) | (bytes[d + 11] == 'C' ? uint8_t(bytes[d + 17]) << 8 : 0);
  }
  ADD_FAILURE() << tablePath << " has no field " << field;
  return 0;
}

void keepRecords(const std::string& tablePath, uint32_t records) {
  const std::string bytes = readFile(tablePath);
  const uint16_t headerLength = uint16_t(uint8_t(bytes[8]) | uint8_t(bytes[9]) << 8);
  const uint16_t recordLength = uint16_t(uint8_t(bytes[10]) | uint8_t(bytes[11]) << 8);
  fs::resize_file(data::fsPath(tablePath), headerLength + uint64_t(records) * recordLength);
  std::string count(4, '\0');
  for (int i = 0; i < 4; ++i) count[size_t(i)] = char((records >> (8 * i)) & 0xFF);
  overwrite(tablePath, 4, count);
}

}  // namespace velmont::testing
