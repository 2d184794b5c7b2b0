#include "ntx_test_helpers.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace velmont::data::testing {

ScratchDir::ScratchDir() {
  // A new directory of a random name; create_directory says whether it was new.
  std::random_device rd;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const auto candidate = std::filesystem::temp_directory_path() /
                           ("velmont-ntx-" + std::to_string(rd()) + std::to_string(rd()));
    if (std::filesystem::create_directory(candidate)) {
      path_ = candidate.string();
      return;
    }
  }
  throw std::runtime_error("cannot make a scratch directory");
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string paddedNumber(long value, int width) {
  std::string digits = std::to_string(value);
  return std::string(width > int(digits.size()) ? width - digits.size() : 0, '0') + digits;
}

void buildIndex(const std::string& path, const std::vector<Entry>& entries, int keySize,
                bool unique, const std::string& expression) {
  std::string keys;
  std::vector<uint32_t> recnos;
  for (const auto& [key, recno] : entries) {
    if (int(key.size()) != keySize) throw std::invalid_argument("test key of wrong size");
    keys += key;
    recnos.push_back(recno);
  }
  NtxDefinition definition;
  definition.keyExpression = expression;
  definition.keySize = keySize;
  definition.unique = unique;
  NtxIndex::build(path, definition, keys.data(), recnos.data(), entries.size());
}

std::vector<Entry> walkForward(NtxIndex& index) {
  std::vector<Entry> out;
  for (uint32_t r = index.first(); r != 0; r = index.next())
    out.emplace_back(std::string(index.currentKey()), r);
  return out;
}

std::vector<Entry> walkBackward(NtxIndex& index) {
  std::vector<Entry> out;
  for (uint32_t r = index.last(); r != 0; r = index.prev())
    out.emplace_back(std::string(index.currentKey()), r);
  std::reverse(out.begin(), out.end());
  return out;
}

std::vector<Entry> sortedEntries(std::vector<Entry> entries) {
  std::sort(entries.begin(), entries.end());
  return entries;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
}

}  // namespace velmont::data::testing
