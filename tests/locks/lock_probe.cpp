// A small program of the table engine, built for Linux and for Windows, that
// takes or tries the engine's locks on request. Run as two processes on two
// systems at once (the Windows build under Wine), it shows whether each side
// sees the other's locks on the same files. tests/locks/locks_across_systems.sh
// drives it.
//
//   lock_probe make DIR                    t.dbf + t.ntx, and x.dbf + x.ntx whose index
//                                          carries the extended-lock flag
//   lock_probe hold WHAT...                takes the lock, prints "held", waits for a
//                                          line on standard input, releases it
//   lock_probe try WHAT...                 exit 0 when the lock was free, 3 when held
//   lock_probe append TABLE INDEX          appends a record (and its key) and prints the count
//   lock_probe save-options DIR TAG N up|down
//                                          saves the options of N users, in either order
//   lock_probe count-options DIR           prints "users records" of prntpref.dbf
//
// WHAT is one of
//   record TABLE INDEX RECNO   the engine's record lock (INDEX "-" for none)
//   append TABLE INDEX         the engine's append (header) lock
//   index-read INDEX           the index read lock, as every navigation step takes it
//   raw FILE OFFSET            an exclusive lock of the one byte at OFFSET
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "data/dbf_file.h"
#include "data/error.h"
#include "data/file.h"
#include "data/ntx.h"
#include "school/saved_options.h"
#include "data/table.h"

using namespace velmont::data;

namespace {

constexpr int kFree = 0;
constexpr int kUsage = 2;
constexpr int kBusy = 3;

[[noreturn]] void usage() {
  std::fprintf(stderr, "usage: lock_probe make|hold|try|append|save-options|count-options ...\n");
  std::exit(kUsage);
}

std::unique_ptr<Table> openTable(const std::string& table, const std::string& index) {
  auto t = Table::open(table, "T", OpenMode::kReadWrite);
  if (index != "-") t->addIndex(index);
  return t;
}

void make(const std::string& dir) {
  for (const char* name : {"t", "x"}) {
    const std::string table = dir + "/" + name + ".dbf";
    DbfFile::create(table, {{"NUM", 'N', 6, 0}, {"NAME", 'C', 12, 0}});
    auto t = Table::open(table, "T", OpenMode::kReadWrite);
    for (int i = 1; i <= 5; ++i) {
      t->appendBlank();
      t->replace("NUM", i * 10);
      t->replace("NAME", "Row " + std::to_string(i));
    }
    t->commit();
    t->createIndex(dir + "/" + name + ".ntx", "NUM");
  }
  // The flag is bit 4 of the index header's signature word.
  auto ntx = Env::current()->open(dir + "/x.ntx", OpenMode::kReadWrite);
  unsigned char signature[2];
  if (ntx->readAt(0, signature, 2) != 2) throw DataError(ntx->path(), "too short");
  signature[0] |= 0x10;
  ntx->writeAt(0, signature, 2);
}

// A lock taken on request; the destructor releases it by closing its files.
struct Held {
  std::unique_ptr<Table> table;
  std::unique_ptr<NtxIndex> index;
  std::unique_ptr<NtxIndex::ReadBatch> batch;
  std::unique_ptr<File> file;
};

// Takes (hold) or tries (try) the lock that args name; true when it was had.
bool takeLock(const std::vector<std::string>& a, bool wait, Held& held) {
  if (a.empty()) usage();
  const std::string& what = a[0];
  if (what == "record" && a.size() == 4) {
    held.table = openTable(a[1], a[2]);
    held.table->goTo(uint32_t(std::stoul(a[3])));
    return held.table->lockRecord(wait ? 3000 : 0);
  }
  if (what == "append" && a.size() == 3) {
    held.table = openTable(a[1], a[2]);
    return held.table->lockAppend(wait ? 5000 : 0);
  }
  if (what == "index-read" && a.size() == 2) {
    held.index = std::make_unique<NtxIndex>(a[1]);
    held.index->setLockTimeoutMs(wait ? 5000 : 0);
    try {
      held.batch = std::make_unique<NtxIndex::ReadBatch>(*held.index);
    } catch (const DataError&) {
      return false;
    }
    return true;
  }
  if (what == "raw" && a.size() == 3) {
    held.file = Env::current()->open(a[1], OpenMode::kReadWrite);
    const uint64_t offset = std::stoull(a[2]);
    return wait ? lockWithRetry(*held.file, offset, 1, LockKind::kExclusive, 5000)
                : held.file->tryLock(offset, 1, LockKind::kExclusive);
  }
  usage();
}

int run(const std::vector<std::string>& args) {
  if (args.empty()) usage();
  const std::string& command = args[0];
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (command == "make" && rest.size() == 1) {
    make(rest[0]);
    return kFree;
  }
  if (command == "hold") {
    Held held;
    if (!takeLock(rest, true, held)) {
      std::fprintf(stderr, "lock_probe: the lock is held elsewhere\n");
      return kBusy;
    }
    std::printf("held\n");
    std::fflush(stdout);
    std::string line;
    std::getline(std::cin, line);
    return kFree;
  }
  if (command == "try") {
    Held held;
    return takeLock(rest, false, held) ? kFree : kBusy;
  }
  if (command == "append" && rest.size() == 2) {
    auto t = openTable(rest[0], rest[1]);
    t->appendBlank();
    t->replace("NUM", 999);
    t->replace("NAME", "Appended");
    t->commit();
    std::printf("%u\n", t->reccount());
    return kFree;
  }
  if (command == "save-options" && rest.size() == 4) {
    // "saving" tells the driver to start the other program; going the other way
    // round the users, the two meet on the same user somewhere in the middle.
    std::printf("saving\n");
    std::fflush(stdout);
    const int n = std::stoi(rest[2]);
    const bool down = rest[3] == "down";
    for (int k = 0; k < n; ++k) {
      const int i = down ? n - 1 - k : k;
      saveOptions(velmont::school::SchoolFolder(rest[0]), "USER" + std::to_string(i), velmont::school::kEndOfTermReportCode, "0712    1211" + rest[1] + "  ");
    }
    return kFree;
  }
  if (command == "count-options" && rest.size() == 1) {
    std::map<std::string, int> counts;
    auto t = Table::open(rest[0] + "/prntpref.dbf", "P");
    int records = 0;
    for (t->goTop(); !t->eof(); t->skip(), ++records) ++counts[t->text("USERNAME") + "|" + t->text("RPT_CODE")];
    std::printf("%zu %d\n", counts.size(), records);
    return kFree;
  }
  usage();
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "lock_probe: %s\n", e.what());
    return kUsage;
  }
}
