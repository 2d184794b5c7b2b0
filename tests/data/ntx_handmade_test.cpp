// Index files laid out byte by byte from the documented format, as another engine
// may write them: pages out of order, slots shuffled through the offset table,
// free slots holding stale items, negative numeric keys, duplicates in insertion order.
#include <gtest/gtest.h>

#include "data/error.h"
#include "data/ntx.h"
#include "data/numeric.h"
#include "ntx_test_helpers.h"

using namespace velmont::data;
using namespace velmont::data::testing;

namespace {

void put16(std::string& b, size_t at, unsigned v) {
  b[at] = char(v & 0xFF);
  b[at + 1] = char((v >> 8) & 0xFF);
}

void put32(std::string& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = char((v >> (8 * i)) & 0xFF);
}

struct Item {
  uint32_t child;
  uint32_t recno;
  std::string key;
};

struct Layout {
  int keySize;
  int maxKeys;
};

std::string headerPage(const Layout& l, unsigned signature, uint32_t root,
                       const std::string& expression, bool descending = false,
                       const std::string& forCondition = "") {
  std::string b(1024, '\0');
  put16(b, 0, signature);
  put16(b, 2, 17);  // some writer's update count
  put32(b, 4, root);
  put16(b, 12, l.keySize + 8);
  put16(b, 14, l.keySize);
  put16(b, 18, l.maxKeys);
  put16(b, 20, l.maxKeys / 2);
  b.replace(22, expression.size(), expression);
  b[280] = descending ? 1 : 0;
  b.replace(282, forCondition.size(), forCondition);
  b.replace(538, 6, "MYTAG\0", 6);
  return b;
}

// A tree page whose logical item i sits in physical slot slots[i]; slots past the
// items (free slots) get a stale item that must never be read.
std::string treePage(const Layout& l, const std::vector<Item>& items, uint32_t lastChild,
                     const std::vector<int>& slots) {
  std::string b(1024, '\0');
  const int first = 2 * (l.maxKeys + 2), size = l.keySize + 8;
  put16(b, 0, unsigned(items.size()));
  for (int j = 0; j <= l.maxKeys; ++j) {
    const size_t slot = first + slots[j] * size;
    put16(b, 2 + 2 * j, unsigned(slot));
    if (j < int(items.size())) {
      put32(b, slot, items[j].child);
      put32(b, slot + 4, items[j].recno);
      b.replace(slot + 8, l.keySize, items[j].key);
    } else if (j == int(items.size())) {
      put32(b, slot, lastChild);
    } else {
      put32(b, slot + 4, 999);
      b.replace(slot + 8, l.keySize, std::string(l.keySize, '9'));
    }
  }
  return b;
}

std::string numericKey(double v) { return encodeNumericKey(v, 6, 0); }

class HandmadeNtxTest : public ::testing::Test {
 protected:
  ScratchDir dir_;
};

TEST_F(HandmadeNtxTest, TwoLevelNumericTreeWithShuffledSlots) {
  const Layout l{6, 4};
  // Pages: root at 1024, then the leaves in the file out of key order.
  const uint32_t root = 1024, leafC = 2048, leafA = 3072, leafB = 4096;
  ASSERT_EQ(numericKey(-7), ",,,,,%");
  ASSERT_EQ(numericKey(-42), ",,,,(*");
  ASSERT_EQ(numericKey(-1000), ",,+,,,");
  std::string file = headerPage(l, 0x0006, root, "FIELD->amount");
  file += treePage(l, {{leafA, 2, ",,,,,%"}, {leafB, 4, "000042"}}, leafC, {3, 0, 4, 1, 2});
  file += treePage(l, {{0, 6, "000100"}, {0, 8, "001234"}}, 0, {1, 4, 0, 2, 3});
  file += treePage(l, {{0, 9, ",,+,,,"}, {0, 5, ",,,,(*"}}, 0, {0, 1, 2, 3, 4});
  // Equal keys in insertion order, not record order.
  file += treePage(l, {{0, 7, "000000"}, {0, 1, "000000"}, {0, 3, "000005"}}, 0,
                   {4, 2, 0, 3, 1});
  const std::string path = dir_.file("amount.ntx");
  writeFile(path, file);

  NtxIndex index(path);
  EXPECT_EQ(index.keyExpression(), "FIELD->amount");
  EXPECT_EQ(index.maxKeys(), 4);
  const std::vector<Entry> expected = {{",,+,,,", 9}, {",,,,(*", 5}, {",,,,,%", 2},
                                       {"000000", 7}, {"000000", 1}, {"000005", 3},
                                       {"000042", 4}, {"000100", 6}, {"001234", 8}};
  EXPECT_EQ(walkForward(index), expected);
  EXPECT_EQ(walkBackward(index), expected);
  EXPECT_EQ(index.verify(), expected.size());

  EXPECT_EQ(index.seek(numericKey(-8)), 2u);
  EXPECT_FALSE(index.found());
  EXPECT_EQ(index.seek(numericKey(0)), 7u);
  EXPECT_TRUE(index.found());
  EXPECT_EQ(index.seek(numericKey(43)), 6u);
  EXPECT_EQ(index.seek(numericKey(2000)), 0u);
  EXPECT_EQ(index.seekPair("000000", 1), 1u);
  EXPECT_TRUE(index.found());
  EXPECT_EQ(index.prev(), 7u);
  EXPECT_EQ(index.prev(), 2u);  // up into the root
  EXPECT_EQ(index.prev(), 5u);  // down into the rightmost item of the first leaf
}

TEST_F(HandmadeNtxTest, ThreeLevelTreeOfSmallPages) {
  const Layout l{1, 2};
  auto leaf = [&](std::string keys, std::vector<int> slots) {
    std::vector<Item> items;
    for (char c : keys) items.push_back({0, uint32_t(c - 'a' + 1), std::string(1, c)});
    return treePage(l, items, 0, slots);
  };
  // Branches at 1024 and 2048, leaves from 3072 to 7168, the root last at 8192.
  std::string file = headerPage(l, 0x0006, 8192, "LETTER");
  file += treePage(l, {{3072, 3, "c"}, {4096, 6, "f"}}, 5120, {2, 0, 1});  // left branch
  file += treePage(l, {{6144, 11, "k"}}, 7168, {1, 2, 0});                 // right branch
  file += leaf("ab", {1, 0, 2});
  file += leaf("de", {0, 2, 1});
  file += leaf("g", {2, 1, 0});
  file += leaf("ij", {0, 1, 2});
  file += leaf("lm", {2, 0, 1});
  file += treePage(l, {{1024, 8, "h"}}, 2048, {0, 2, 1});  // root
  const std::string path = dir_.file("letters.ntx");
  writeFile(path, file);

  NtxIndex index(path);
  std::string order;
  for (uint32_t r = index.first(); r != 0; r = index.next()) {
    order += index.currentKey();
    EXPECT_EQ(r, uint32_t(index.currentKey()[0] - 'a' + 1));
  }
  EXPECT_EQ(order, "abcdefghijklm");
  std::string backwards;
  for (uint32_t r = index.last(); r != 0; r = index.prev()) backwards += index.currentKey();
  EXPECT_EQ(backwards, "mlkjihgfedcba");
  EXPECT_EQ(index.seek("h"), 8u);  // a key of the root page
  EXPECT_EQ(index.next(), 9u);
  EXPECT_EQ(index.seek("f"), 6u);  // a key of a branch page
  EXPECT_EQ(index.prev(), 5u);
}

TEST_F(HandmadeNtxTest, DescendingIndexSeeksInReverseOrder) {
  const Layout l{2, 4};
  std::string file = headerPage(l, 0x0006, 1024, "CODE", /*descending=*/true);
  file += treePage(l, {{0, 3, "CC"}, {0, 2, "BB"}, {0, 1, "AA"}}, 0, {2, 3, 0, 1, 4});
  const std::string path = dir_.file("desc.ntx");
  writeFile(path, file);

  NtxIndex index(path);
  EXPECT_TRUE(index.descending());
  EXPECT_EQ(walkForward(index), (std::vector<Entry>{{"CC", 3}, {"BB", 2}, {"AA", 1}}));
  EXPECT_EQ(index.seek("B"), 2u);
  EXPECT_TRUE(index.found());
  EXPECT_EQ(index.seek("BZ"), 2u);  // next in index order is the lower key
  EXPECT_FALSE(index.found());
  EXPECT_EQ(index.seek("A"), 1u);
  EXPECT_EQ(index.verify(), 3u);
}

TEST_F(HandmadeNtxTest, ReadsOldSignatureAndForCondition) {
  const Layout l{3, 4};
  const std::string page = treePage(l, {{0, 1, "ABC"}}, 0, {0, 1, 2, 3, 4});

  writeFile(dir_.file("old.ntx"), headerPage(l, 0x0003, 1024, "CODE") + page);
  NtxIndex old(dir_.file("old.ntx"));
  EXPECT_EQ(old.first(), 1u);
  EXPECT_EQ(old.forCondition(), "");

  writeFile(dir_.file("for.ntx"), headerPage(l, 0x0007, 1024, "CODE", false, "AMT>0") + page);
  EXPECT_EQ(NtxIndex(dir_.file("for.ntx")).forCondition(), "AMT>0");

  // Without the FOR bit the text there is not a condition.
  writeFile(dir_.file("nofor.ntx"), headerPage(l, 0x0006, 1024, "CODE", false, "AMT>0") + page);
  EXPECT_EQ(NtxIndex(dir_.file("nofor.ntx")).forCondition(), "");
}

}  // namespace
