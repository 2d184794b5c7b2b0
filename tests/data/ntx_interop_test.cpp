// Indexes written here, read back by an independent NTX reader (Perl's XBase).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>

#include "data/ntx.h"
#include "data/numeric.h"
#include "ntx_test_helpers.h"

using namespace velmont::data;
using namespace velmont::data::testing;

namespace {

const char kReader[] = R"(use strict;
use XBase::Index;
my $index = XBase::Index->new($ARGV[0], type => 'C') or die XBase::Index->errstr;
$index->prepare_select;
while (my ($key, $recno) = $index->fetch) { print "[$key] $recno\n"; }
)";

// The entries as Perl's reader lists them, in its order.
std::vector<Entry> readWithPerl(const ScratchDir& dir, const std::string& index) {
  const std::string script = dir.file("read_ntx.pl");
  writeFile(script, kReader);
  const std::string output = dir.file("perl.out");
  const std::string command =
      "/usr/bin/perl '" + script + "' '" + index + "' > '" + output + "' 2>&1";
  const int status = std::system(command.c_str());
  const std::string text = readFile(output);
  if (status != 0) {
    ADD_FAILURE() << "perl failed (" << status << "): " << text;
    return {};
  }
  std::vector<Entry> entries;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = text.find('\n', at);
    const std::string line = text.substr(at, end - at);
    at = end == std::string::npos ? text.size() : end + 1;
    const size_t close = line.rfind("] ");
    if (line.empty() || line[0] != '[' || close == std::string::npos) {
      ADD_FAILURE() << "unexpected perl output: " << line;
      continue;
    }
    entries.emplace_back(line.substr(1, close - 1), uint32_t(std::stoul(line.substr(close + 2))));
  }
  return entries;
}

class NtxInteropTest : public ::testing::TestWithParam<int> {
 protected:
  ScratchDir dir_;
};

TEST_P(NtxInteropTest, PerlReadsBuiltIndexInTheSameOrder) {
  const int count = GetParam();
  std::vector<Entry> entries;
  std::mt19937 random{unsigned(count)};
  for (int i = 0; i < count; ++i) {
    // Surname-like keys with plenty of duplicates across page boundaries.
    std::string key = "N" + paddedNumber(long(random() % (count / 3 + 1)), 5) + "    ";
    entries.emplace_back(key, uint32_t(i + 1));
  }
  const std::string path = dir_.file("names.ntx");
  buildIndex(path, entries, 10);

  NtxIndex index(path);
  const std::vector<Entry> ours = walkForward(index);
  EXPECT_EQ(ours, sortedEntries(entries));
  EXPECT_EQ(readWithPerl(dir_, path), ours);
}

// 1, 2 and 3 levels with 50 keys a page.
INSTANTIATE_TEST_SUITE_P(Levels, NtxInteropTest, ::testing::Values(40, 2000, 6000));

TEST(NtxInteropTest, PerlReadsNumericKeysAndGrownIndex) {
  ScratchDir dir;
  const std::string path = dir.file("amounts.ntx");
  buildIndex(path, {}, 8);
  std::vector<Entry> entries;
  {
    NtxIndex index(path, OpenMode::kReadWrite);
    std::mt19937 random(3);
    for (uint32_t r = 1; r <= 1500; ++r) {
      const double value = (long(random() % 20001) - 10000) / 4.0;
      entries.emplace_back(encodeNumericKey(value, 8, 2), r);
      index.insert(entries.back().first, r);
    }
  }
  const std::vector<Entry> perl = readWithPerl(dir, path);
  EXPECT_EQ(perl, sortedEntries(entries));
  // Byte order is number order, negatives first.
  for (size_t i = 1; i < perl.size(); ++i)
    EXPECT_LE(decodeNumericKey(perl[i - 1].first), decodeNumericKey(perl[i].first));
}

}  // namespace
