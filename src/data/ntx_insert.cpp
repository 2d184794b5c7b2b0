// Adding one entry to an existing index, splitting full pages on the way up.
#include <cstring>

#include "error.h"
#include "ntx.h"

namespace velmont::data {

using ntx::kPageSize;
using ntx::Page;

namespace {

struct Item {
  uint32_t child;
  uint32_t recno;
  const char* key;
};

void writePage(File& file, uint32_t offset, const ntx::PageBuilder& page) {
  file.writeAt(offset, page.bytes(), kPageSize);
}

void fill(ntx::PageBuilder& page, const std::vector<Item>& items, size_t begin, size_t end,
          uint32_t lastChild) {
  page.clear();
  for (size_t j = begin; j < end; ++j) page.add(items[j].child, items[j].recno, items[j].key);
  page.setLastChild(lastChild);
}

}  // namespace

void NtxIndex::insert(std::string_view key, uint32_t recno) {
  if (mode_ != OpenMode::kReadWrite) throw DataError(path(), "index is open read-only");
  if (static_cast<int>(key.size()) != header_.keySize)
    throw DataError(path(), "key of " + std::to_string(key.size()) +
                                " bytes for an index with key size " +
                                std::to_string(header_.keySize));
  if (recno == 0) throw DataError(path(), "record number 0 cannot be indexed");
  run(LockKind::kExclusive, [&] {
    const int keySize = header_.keySize;
    const int maxKeys = header_.maxKeys;
    if (static_cast<int>(key.size()) != keySize)
      throw DataError(path(), "index key size changed while it was open");

    // Descend to the position after every key equal to the new one, so that equal
    // keys stay in insertion order.
    std::vector<Frame> trail;
    uint32_t offset = header_.root;
    for (;;) {
      checkDescent(trail, offset);
      const Page& p = page(offset);
      const int i = upperBound(p, key);
      if (header_.unique && i > 0 && std::memcmp(p.key(i - 1), key.data(), keySize) == 0)
        return;
      trail.push_back({offset, i});
      if (p.isLeaf()) break;
      offset = p.child(i);
    }

    // New pages go at the end of the file; a free list, if another writer keeps
    // one, is left alone because its link format differs between engines.
    uint64_t end = (file_->size() + kPageSize - 1) / kPageSize * kPageSize;
    if (end + (trail.size() + 1) * kPageSize > ntx::kLockOffset)
      throw DataError(path(), "index file would grow into the lock region");

    ntx::PageBuilder builder(keySize, maxKeys);
    std::vector<Item> items;
    items.reserve(maxKeys + 1);
    std::string carryKey(key);
    uint32_t carryChild = 0, carryRecno = recno;
    uint32_t root = header_.root;
    bool placed = false;
    for (size_t level = trail.size(); level-- > 0 && !placed;) {
      const Page& p = page(trail[level].page);
      items.clear();
      for (int j = 0; j < p.count(); ++j) items.push_back({p.child(j), p.recno(j), p.key(j)});
      const uint32_t lastChild = p.child(p.count());
      // The new item points at the new lower page; the item that pointed at the
      // split page moves one to the right and still does.
      items.insert(items.begin() + trail[level].index, {carryChild, carryRecno, carryKey.data()});

      if (static_cast<int>(items.size()) <= maxKeys) {
        fill(builder, items, 0, items.size(), lastChild);
        writePage(*file_, trail[level].page, builder);
        placed = true;
        break;
      }
      // Lower half to a new page, upper half stays, the middle item moves up.
      const size_t middle = items.size() / 2;
      const auto lowerAt = static_cast<uint32_t>(end);
      end += kPageSize;
      fill(builder, items, 0, middle, items[middle].child);
      writePage(*file_, lowerAt, builder);
      fill(builder, items, middle + 1, items.size(), lastChild);
      writePage(*file_, trail[level].page, builder);
      std::string up(items[middle].key, keySize);
      carryRecno = items[middle].recno;
      carryKey.swap(up);
      carryChild = lowerAt;
    }
    if (!placed) {
      root = static_cast<uint32_t>(end);
      builder.clear();
      builder.add(carryChild, carryRecno, carryKey.data());
      builder.setLastChild(header_.root);
      writePage(*file_, root, builder);
    }

    char change[6];
    ntx::put16(change, static_cast<uint16_t>(header_.version + 1));
    ntx::put32(change + 2, root);
    file_->writeAt(2, change, sizeof change);
    // The next step reads the new header, drops the cache and finds its place again.
    dropCache();
  });
}

}  // namespace velmont::data
