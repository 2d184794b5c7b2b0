// Building, walking, seeking and inserting into NTX indexes written by this engine.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "data/error.h"
#include "data/ntx.h"
#include "data/ntx_format.h"
#include "ntx_test_helpers.h"

using namespace velmont::data;
using namespace velmont::data::testing;

namespace {

// Levels of the tree, following child 0 from the root.
int treeHeight(const std::string& path) {
  const std::string bytes = readFile(path);
  uint32_t page = ntx::get32(bytes.data() + 4);
  int height = 1;
  for (;;) {
    const char* p = bytes.data() + page;
    const uint32_t child = ntx::get32(p + ntx::get16(p + 2));
    if (child == 0) return height;
    page = child;
    ++height;
  }
}

// Even numbers 0, 2, 4, ... as 10-byte keys, in shuffled order, record i + 1 for 2i.
std::vector<Entry> evenKeys(int count, unsigned seed) {
  std::vector<Entry> entries;
  for (int i = 0; i < count; ++i) entries.emplace_back(paddedNumber(2L * i, 10), i + 1);
  std::shuffle(entries.begin(), entries.end(), std::mt19937(seed));
  return entries;
}

class NtxSizeTest : public ::testing::TestWithParam<std::pair<int, int>> {
 protected:
  ScratchDir dir_;
};

TEST_P(NtxSizeTest, BuildsTreeThatWalksAndSeeksInKeyOrder) {
  const auto [count, height] = GetParam();
  const std::string path = dir_.file("even.ntx");
  const std::vector<Entry> entries = evenKeys(count, 7);
  buildIndex(path, entries, 10);
  EXPECT_EQ(treeHeight(path), height);

  NtxIndex index(path);
  const std::vector<Entry> expected = sortedEntries(entries);
  EXPECT_EQ(walkForward(index), expected);
  EXPECT_EQ(walkBackward(index), expected);
  EXPECT_EQ(index.verify(), size_t(count));

  std::mt19937 random(11);
  for (int probe = 0; probe < 300; ++probe) {
    const long value = long(random() % (2 * count + 2));
    const uint32_t r = index.seek(paddedNumber(value, 10));
    if (value % 2 == 0 && value < 2L * count) {
      EXPECT_TRUE(index.found());
      EXPECT_EQ(r, uint32_t(value / 2 + 1));
    } else if (value + 1 < 2L * count) {  // a miss lands on the next higher key
      EXPECT_FALSE(index.found());
      EXPECT_EQ(index.currentKey(), paddedNumber(value + 1, 10));
    } else {
      EXPECT_FALSE(index.found());
      EXPECT_EQ(r, 0u);
      EXPECT_TRUE(index.eof());
    }
  }
}

INSTANTIATE_TEST_SUITE_P(OneTwoThreeLevels, NtxSizeTest,
                         ::testing::Values(std::pair{1, 1}, std::pair{50, 1}, std::pair{51, 2},
                                           std::pair{2000, 2}, std::pair{2601, 3},
                                           std::pair{9000, 3}));

TEST(NtxTest, RandomWalkInBothDirectionsMatchesSortedOrder) {
  ScratchDir dir;
  const std::string path = dir.file("walk.ntx");
  const std::vector<Entry> entries = evenKeys(5000, 3);
  buildIndex(path, entries, 10);
  const std::vector<Entry> expected = sortedEntries(entries);

  NtxIndex index(path);
  std::mt19937 random(5);
  long at = long(expected.size()) / 2;
  ASSERT_EQ(index.seek(expected[at].first), expected[at].second);
  for (int step = 0; step < 20000; ++step) {
    const bool forward = random() % 2 == 0;
    const uint32_t r = forward ? index.next() : index.prev();
    at += forward ? 1 : -1;
    if (at < 0 || at >= long(expected.size())) {
      EXPECT_EQ(r, 0u);
      EXPECT_TRUE(at < 0 ? index.bof() : index.eof());
      at = at < 0 ? 0 : long(expected.size()) - 1;
      ASSERT_EQ(at == 0 ? index.first() : index.last(), expected[at].second);
      continue;
    }
    ASSERT_EQ(r, expected[at].second) << "step " << step;
    ASSERT_EQ(index.currentKey(), expected[at].first);
  }
}

TEST(NtxTest, EndsAreStickyAndReenterFromTheOtherSide) {
  ScratchDir dir;
  const std::string path = dir.file("ends.ntx");
  buildIndex(path, {{"B", 2}, {"A", 1}, {"C", 3}}, 1);
  NtxIndex index(path);
  EXPECT_EQ(index.last(), 3u);
  EXPECT_EQ(index.next(), 0u);
  EXPECT_EQ(index.next(), 0u);
  EXPECT_TRUE(index.eof());
  EXPECT_EQ(index.prev(), 3u);  // from the end, back onto the last entry
  EXPECT_EQ(index.first(), 1u);
  EXPECT_EQ(index.prev(), 0u);
  EXPECT_TRUE(index.bof());
  EXPECT_EQ(index.next(), 1u);
  EXPECT_EQ(index.currentKey(), "A");
}

TEST(NtxTest, DuplicatesKeepRecordOrderAcrossPages) {
  ScratchDir dir;
  const std::string path = dir.file("dups.ntx");
  std::vector<Entry> entries;
  for (uint32_t r = 1; r <= 600; ++r)
    entries.emplace_back(r % 3 == 0 ? "SMITH     " : r % 3 == 1 ? "JONES     " : "BROWN     ", r);
  std::shuffle(entries.begin(), entries.end(), std::mt19937(1));
  buildIndex(path, entries, 10);

  NtxIndex index(path);
  EXPECT_EQ(walkForward(index), sortedEntries(entries));

  EXPECT_EQ(index.seek("JONES"), 1u);
  EXPECT_TRUE(index.found());
  EXPECT_EQ(index.seek("K"), 3u);  // next higher key: SMITH, lowest record first
  EXPECT_FALSE(index.found());

  EXPECT_EQ(index.seekPair("JONES", 298), 298u);
  EXPECT_TRUE(index.found());
  EXPECT_EQ(index.next(), 301u);
  EXPECT_EQ(index.seekPair("JONES", 299), 1u);  // not a JONES record: lands as seek does
  EXPECT_FALSE(index.found());
}

TEST(NtxTest, SeeksComparePrefixesOnly) {
  ScratchDir dir;
  const std::string path = dir.file("names.ntx");
  buildIndex(path,
             {{"ADAMS   JO", 4}, {"ADAMSON AL", 2}, {"BAKER   KI", 1}, {"BAKERS  EM", 3}},
             10);
  NtxIndex index(path);
  EXPECT_EQ(index.seek("ADAMS"), 4u);
  EXPECT_TRUE(index.found());
  EXPECT_EQ(index.seek("ADAMSO"), 2u);
  EXPECT_TRUE(index.found());
  EXPECT_EQ(index.seek("BAKER "), 1u);  // trailing blanks are part of the search
  EXPECT_TRUE(index.found());
  EXPECT_EQ(index.seek("BAKERS"), 3u);
  EXPECT_EQ(index.seek("BAKERSFIELD-TOO-LONG"), 0u);  // cut to the key size first
  EXPECT_EQ(index.seek(""), 4u);
  EXPECT_TRUE(index.found());
  EXPECT_EQ(index.seek("C"), 0u);
  EXPECT_FALSE(index.found());
  EXPECT_TRUE(index.eof());
  EXPECT_EQ(index.currentKey(), "");
}

TEST(NtxTest, EmptyIndexHasNoEntriesUntilInserted) {
  ScratchDir dir;
  const std::string path = dir.file("empty.ntx");
  buildIndex(path, {}, 4);
  NtxIndex index(path, OpenMode::kReadWrite);
  EXPECT_EQ(index.first(), 0u);
  EXPECT_EQ(index.last(), 0u);
  EXPECT_EQ(index.seek("A"), 0u);
  EXPECT_EQ(index.verify(), 0u);
  index.insert("KEY1", 9);
  EXPECT_EQ(index.first(), 9u);
  EXPECT_EQ(index.next(), 0u);
}

TEST(NtxTest, HeaderDescribesTheDefinition) {
  ScratchDir dir;
  const std::string path = dir.file("def.ntx");
  NtxDefinition definition;
  definition.keyExpression = "str(stsub_numb)+str(stsub_term)+'t'";
  definition.keySize = 20;
  definition.unique = true;
  definition.forCondition = "STSUB_TERM > 0";
  const std::string keys = "00000000010000000001";
  const uint32_t recno = 1;
  NtxIndex::build(path, definition, keys.data(), &recno, 1);

  NtxIndex index(path);
  EXPECT_EQ(index.keyExpression(), "STR(STSUB_NUMB)+STR(STSUB_TERM)+'t'");  // text stays
  EXPECT_EQ(index.keySize(), 20);
  EXPECT_EQ(index.keyDecimals(), 0);
  EXPECT_EQ(index.maxKeys(), 32);
  EXPECT_TRUE(index.unique());
  EXPECT_FALSE(index.descending());
  EXPECT_EQ(index.forCondition(), "STSUB_TERM > 0");
  const std::string bytes = readFile(path);
  EXPECT_EQ(ntx::get16(bytes.data()), 0x0007);
  EXPECT_EQ(ntx::get16(bytes.data() + 2), 1);
  EXPECT_EQ(ntx::get16(bytes.data() + 20), 16);  // half page

  // Only the index itself is left in the directory: no temporary file.
  int files = 0;
  for (const auto& item : std::filesystem::directory_iterator(dir.path())) (void)item, ++files;
  EXPECT_EQ(files, 1);
}

TEST(NtxTest, UniqueIndexKeepsFirstRecordOfEachKey) {
  ScratchDir dir;
  const std::string path = dir.file("unique.ntx");
  buildIndex(path, {{"B", 7}, {"A", 5}, {"B", 3}, {"A", 9}}, 1, /*unique=*/true);
  NtxIndex index(path, OpenMode::kReadWrite);
  EXPECT_EQ(walkForward(index), (std::vector<Entry>{{"A", 5}, {"B", 3}}));
  index.insert("A", 1);
  index.insert("C", 2);
  EXPECT_EQ(walkForward(index), (std::vector<Entry>{{"A", 5}, {"B", 3}, {"C", 2}}));
}

TEST(NtxTest, BuildRejectsUnusableDefinitions) {
  ScratchDir dir;
  const std::string path = dir.file("bad.ntx");
  const std::string keys = "AB";
  const uint32_t recnos[] = {1, 0};
  NtxDefinition definition;
  definition.keyExpression = "NAME";
  definition.keySize = 0;
  EXPECT_THROW(NtxIndex::build(path, definition, keys.data(), recnos, 1), DataError);
  definition.keySize = 257;
  EXPECT_THROW(NtxIndex::build(path, definition, keys.data(), recnos, 1), DataError);
  definition.keySize = 1;
  definition.keyExpression = "";
  EXPECT_THROW(NtxIndex::build(path, definition, keys.data(), recnos, 1), DataError);
  definition.keyExpression = "NAME";
  EXPECT_THROW(NtxIndex::build(path, definition, keys.data(), recnos, 2), DataError);  // recno 0
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(NtxTest, InsertsSplitPagesAndRootAndKeepOrder) {
  ScratchDir dir;
  const std::string path = dir.file("grow.ntx");
  buildIndex(path, {}, 10);
  std::vector<Entry> inserted;
  {
    NtxIndex index(path, OpenMode::kReadWrite);
    std::mt19937 random(9);
    // Few distinct keys, so equal keys straddle split points; records rise, so
    // insertion order and record order agree.
    for (uint32_t r = 1; r <= 4000; ++r) {
      const std::string key = paddedNumber(long(random() % 700), 10);
      index.insert(key, r);
      inserted.emplace_back(key, r);
    }
    EXPECT_EQ(index.verify(), inserted.size());
  }
  EXPECT_EQ(treeHeight(path), 3);
  NtxIndex index(path);
  EXPECT_EQ(walkForward(index), sortedEntries(inserted));
  EXPECT_EQ(walkBackward(index), sortedEntries(inserted));
  // Pages are only ever added at the end, one per split.
  EXPECT_EQ(std::filesystem::file_size(path) % ntx::kPageSize, 0u);
}

TEST(NtxTest, InsertsIntoBuiltTreeOfThreeLevels) {
  ScratchDir dir;
  const std::string path = dir.file("built.ntx");
  std::vector<Entry> entries = evenKeys(3000, 2);
  buildIndex(path, entries, 10);
  NtxIndex index(path, OpenMode::kReadWrite);
  for (int i = 0; i < 3000; ++i) {
    entries.emplace_back(paddedNumber(2L * i + 1, 10), 3001 + i);
    index.insert(entries.back().first, entries.back().second);
  }
  EXPECT_EQ(walkForward(index), sortedEntries(entries));
  EXPECT_EQ(index.seek(paddedNumber(4001, 10)), 3001u + 2000);
}

TEST(NtxTest, InsertRefusesReadOnlyAndWrongKeySize) {
  ScratchDir dir;
  const std::string path = dir.file("ro.ntx");
  buildIndex(path, {{"AA", 1}}, 2);
  NtxIndex reader(path);
  EXPECT_THROW(reader.insert("BB", 2), DataError);
  NtxIndex writer(path, OpenMode::kReadWrite);
  EXPECT_THROW(writer.insert("B", 2), DataError);
  EXPECT_THROW(writer.insert("BB", 0), DataError);
  EXPECT_EQ(walkForward(reader), (std::vector<Entry>{{"AA", 1}}));
}

TEST(NtxTest, ReaderFindsItsPlaceAfterAnotherWriterChangedTheFile) {
  ScratchDir dir;
  const std::string path = dir.file("shared.ntx");
  std::vector<Entry> entries = evenKeys(2000, 4);
  buildIndex(path, entries, 10);
  NtxIndex reader(path);
  NtxIndex writer(path, OpenMode::kReadWrite);

  ASSERT_EQ(reader.seek(paddedNumber(1000, 10)), 501u);
  // Enough inserts before the reader's entry to split its page and the root.
  for (int i = 0; i < 1500; ++i) writer.insert(paddedNumber(999, 10), 5000 + i);
  writer.insert(paddedNumber(1001, 10), 9999);
  EXPECT_EQ(reader.next(), 9999u);
  EXPECT_EQ(reader.next(), 502u);
  EXPECT_EQ(reader.prev(), 9999u);
  EXPECT_EQ(reader.prev(), 501u);
  EXPECT_EQ(reader.prev(), 6499u);  // the last of the records inserted before it
}

TEST(NtxTest, StepWaitsForWriterLockAndGivesUp) {
  ScratchDir dir;
  const std::string path = dir.file("locked.ntx");
  buildIndex(path, {{"A", 1}}, 1);
  NtxIndex reader(path);
  reader.setLockTimeoutMs(30);
  std::unique_ptr<File> other = Env::current()->open(path, OpenMode::kReadWrite);
  ASSERT_TRUE(other->tryLock(ntx::kLockOffset, 1, LockKind::kExclusive));
  try {
    reader.first();
    ADD_FAILURE() << "no error while another writer held the lock";
  } catch (const DataError& e) {
    EXPECT_EQ(e.file(), path);
    EXPECT_EQ(e.reason(), "index is locked");
  }
  other->unlock(ntx::kLockOffset, 1);
  EXPECT_EQ(reader.first(), 1u);
}

TEST(NtxTest, ReadBatchHoldsTheLockAcrossSteps) {
  ScratchDir dir;
  const std::string path = dir.file("batch.ntx");
  buildIndex(path, {{"A", 1}, {"B", 2}}, 1);
  NtxIndex reader(path, OpenMode::kReadWrite);
  NtxIndex writer(path, OpenMode::kReadWrite);
  writer.setLockTimeoutMs(20);
  {
    NtxIndex::ReadBatch batch(reader);
    NtxIndex::ReadBatch nested(reader);
    EXPECT_EQ(reader.seek("B"), 2u);
    EXPECT_EQ(reader.prev(), 1u);
    EXPECT_THROW(writer.insert("C", 3), DataError);  // waits for the batch, then gives up
    EXPECT_THROW(reader.insert("C", 3), DataError);
    EXPECT_EQ(reader.recno(), 1u);
  }
  writer.insert("C", 3);
  EXPECT_EQ(reader.next(), 2u);
  EXPECT_EQ(reader.next(), 3u);
}

}  // namespace
