// Damaged index files: each must give a DataError naming the file, never a crash
// or a hang.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "data/error.h"
#include "data/ntx.h"
#include "data/ntx_format.h"
#include "ntx_test_helpers.h"

using namespace velmont::data;
using namespace velmont::data::testing;
using ::testing::HasSubstr;

namespace {

// Offsets into a file built with key size 10 (50 keys a page) and three levels.
struct Tree {
  std::string bytes;
  uint32_t root() const { return ntx::get32(bytes.data() + 4); }
  // Byte offset of logical item i of the page at `page`.
  uint32_t item(uint32_t page, int i) const { return page + ntx::get16(bytes.data() + page + 2 + 2 * i); }
  uint32_t child(uint32_t page, int i) const { return ntx::get32(bytes.data() + item(page, i)); }
  uint32_t firstLeaf() const { return child(child(root(), 0), 0); }
  void set16(uint32_t at, unsigned v) { ntx::put16(bytes.data() + at, uint16_t(v)); }
  void set32(uint32_t at, uint32_t v) { ntx::put32(bytes.data() + at, v); }
};

struct Damage {
  const char* name;
  std::function<void(Tree&)> apply;
  const char* reason;
};

// Opens the file and walks it in every way; exactly one DataError must come out.
void expectDataError(const std::string& path, const std::string& reason) {
  try {
    NtxIndex index(path);
    index.verify();
    for (uint32_t r = index.last(); r != 0; r = index.prev()) {
    }
    index.seek("0000001234");
    ADD_FAILURE() << "no error";
  } catch (const DataError& e) {
    EXPECT_EQ(e.file(), path);
    EXPECT_THAT(e.reason(), HasSubstr(reason));
  }
}

TEST(NtxCorruptionTest, EveryDamageGivesCleanError) {
  ScratchDir dir;
  const std::string good = dir.file("good.ntx");
  std::vector<Entry> entries;
  for (int i = 0; i < 3000; ++i) entries.emplace_back(paddedNumber(i, 10), i + 1);
  buildIndex(good, entries, 10);
  const Tree tree{readFile(good)};
  ASSERT_EQ(tree.child(tree.firstLeaf(), 0), 0u);  // three levels down is a leaf

  const std::vector<Damage> damages = {
      {"root outside the file", [](Tree& t) { t.set32(4, uint32_t(t.bytes.size())); },
       "root page offset"},
      {"root not on a page boundary", [](Tree& t) { t.set32(4, 1000); }, "root page offset"},
      {"child outside the file",
       [](Tree& t) { t.set32(t.item(t.root(), 0), 0x7FFFFC00); }, "child page offset"},
      {"child not on a page boundary",
       [](Tree& t) { t.set32(t.item(t.root(), 1), t.child(t.root(), 1) + 8); },
       "child page offset"},
      {"more keys than a page holds", [](Tree& t) { t.set16(t.firstLeaf(), 51); },
       "more than the maximum"},
      {"key size that does not fit the page",
       [](Tree& t) {
         t.set16(12, 208);
         t.set16(14, 200);
       },
       "does not fit a page"},
      {"key size zero",
       [](Tree& t) {
         t.set16(12, 8);
         t.set16(14, 0);
       },
       "key size 0"},
      {"item size not key size + 8", [](Tree& t) { t.set16(12, 20); }, "item size"},
      {"fewer than two keys a page", [](Tree& t) { t.set16(18, 1); }, "does not fit a page"},
      {"empty key expression", [](Tree& t) { t.bytes[22] = '\0'; }, "no key expression"},
      {"key expression starting with a control byte", [](Tree& t) { t.bytes[22] = '\x01'; },
       "no key expression"},
      {"compound-file signature", [](Tree& t) { t.set16(0, 0x8006); }, "not an NTX"},
      {"signature without base bits", [](Tree& t) { t.set16(0, 0x0004); }, "not an NTX"},
      {"page-number pointers", [](Tree& t) { t.set16(0, 0x0206); }, "page-number"},
      {"page that is its own child",
       [](Tree& t) { t.set32(t.item(t.root(), 1), t.root()); }, "index page cycle"},
      {"cycle through two pages",
       [](Tree& t) {
         const uint32_t middle = t.child(t.root(), 0);
         t.set32(t.item(middle, 3), t.root());
       },
       "index page cycle"},
      {"two items in one slot",
       [](Tree& t) { t.set16(t.firstLeaf() + 4, ntx::get16(t.bytes.data() + t.firstLeaf() + 2)); },
       "share slot"},
      {"slot offset between slots", [](Tree& t) { t.set16(t.firstLeaf() + 2, 105); },
       "invalid slot offset"},
      {"slot offset past the last slot",
       [](Tree& t) { t.set16(t.firstLeaf() + 2, 104 + 51 * 18); }, "invalid slot offset"},
      {"leaf item in a branch page", [](Tree& t) { t.set32(t.item(t.root(), 1), 0); },
       "mixes leaf and branch"},
      {"keys out of order",
       [](Tree& t) { t.bytes.replace(t.item(t.firstLeaf(), 0) + 8, 10, "9999999999"); },
       "out of order"},
      {"file shorter than its header", [](Tree& t) { t.bytes.resize(1000); }, "truncated"},
      {"file cut in the middle of a page", [](Tree& t) { t.bytes.resize(t.bytes.size() - 100); },
       "root page offset"},
      {"file cut before its leaves end",
       [](Tree& t) {
         // Keep the root but move it forward over the first leaves.
         const uint32_t root = t.root();
         std::string rootPage = t.bytes.substr(root, ntx::kPageSize);
         t.bytes.resize(3 * ntx::kPageSize);
         t.bytes.replace(2 * ntx::kPageSize, ntx::kPageSize, rootPage);
         t.set32(4, 2 * ntx::kPageSize);
       },
       "child page offset"},
  };

  for (const Damage& d : damages) {
    SCOPED_TRACE(d.name);
    Tree damaged = tree;
    d.apply(damaged);
    const std::string path = dir.file("damaged.ntx");
    writeFile(path, damaged.bytes);
    expectDataError(path, d.reason);
  }
}

TEST(NtxCorruptionTest, PageReachedFromTwoParentsIsRefused) {
  // Equal keys keep the order check quiet, so only the sharing itself can tell.
  ScratchDir dir;
  const std::string path = dir.file("shared.ntx");
  std::vector<Entry> entries;
  for (uint32_t r = 1; r <= 3000; ++r) entries.emplace_back("SAMESAME", r);
  buildIndex(path, entries, 8);
  Tree tree{readFile(path)};
  tree.set32(tree.item(tree.root(), 0), tree.child(tree.root(), 1));
  writeFile(path, tree.bytes);
  expectDataError(path, "shared by two parent pages");
}

TEST(NtxCorruptionTest, DeepChainOfPagesIsCutOff) {
  // 100 branch pages, each the only child of the one before: deeper than any
  // sound tree, yet no page repeats.
  ScratchDir dir;
  const int pages = 100;
  std::string file(ntx::kPageSize * (pages + 1), '\0');
  ntx::Header header;
  header.keySize = 1;
  header.maxKeys = ntx::maxKeysFor(1);
  header.keyExpression = "K";
  header.root = ntx::kPageSize;
  ntx::encodeHeader(header, file.data());
  for (int p = 1; p <= pages; ++p) {
    ntx::PageBuilder page(1, header.maxKeys);
    page.setLastChild(p < pages ? (p + 1) * ntx::kPageSize : 0);
    file.replace(p * ntx::kPageSize, ntx::kPageSize, page.bytes(), ntx::kPageSize);
  }
  const std::string path = dir.file("deep.ntx");
  writeFile(path, file);
  expectDataError(path, "index page cycle");
}

}  // namespace
