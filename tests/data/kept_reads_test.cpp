// Reads during a report run: each part of a file is read once, in large reads,
// yet what another program writes meanwhile is never seen half-written.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "data/file.h"
#include "data/table.h"
#include "temp_dir.h"

using namespace velmont::data;
using velmont::testing::TempDir;

namespace {

constexpr int kLong = 300;

// 600 students of about 360 bytes (four 64 KB blocks), every fifth with a memo,
// and an index in name order, which visits the records out of file order.
std::string writeSchool(const TempDir& dir) {
  const std::string path = dir.file("st.dbf");
  DbfFile::create(path, {{"ST_NUMBER", 'N', 6}, {"ST_SURNAME", 'C', 20}, {"ST_LONG", 'C', kLong}, {"ST_NOTE", 'M', 10}});
  auto t = Table::open(path, "ST", OpenMode::kReadWrite);
  for (int i = 1; i <= 600; ++i) {
    t->appendBlank();
    t->replace("ST_NUMBER", i);
    t->replace("ST_SURNAME", "N" + std::to_string((i * 7919) % 1000));
    t->replace("ST_LONG", std::string(kLong, 'x'));
    if (i % 5 == 0) t->replaceMemo(t->requireField("ST_NOTE"), "Note " + std::to_string(i));
  }
  t->commit();
  t->createIndex(dir.file("stname.ntx"), "ST_SURNAME");
  return path;
}

uint64_t blocksOf(const std::string& path) { return (std::filesystem::file_size(path) + 65535) / 65536; }

TEST(KeptReadsTest, ARunReadsEachPartOfTableIndexAndMemosOnce) {
  TempDir dir;
  const std::string path = writeSchool(dir);
  const uint64_t least = blocksOf(path) + blocksOf(dir.file("stname.ntx")) + blocksOf(dir.file("st.dbt"));
  auto walk = [&] {
    auto t = Table::open(path, "ST");
    t->addIndex(dir.file("stname.ntx"));
    size_t notes = 0;
    for (int pass = 0; pass < 2; ++pass)
      for (t->goTop(); !t->eof(); t->skip()) notes += t->memo("ST_NOTE").empty() ? 0 : 1;
    for (int i = 0; i < 50; ++i) t->seekWhole("N" + std::to_string(i * 13));
    EXPECT_EQ(notes, 240u);
  };

  const ReadCounts before = readCounts();
  {
    KeepReadsScope run;
    walk();
  }
  const ReadCounts inRun = readCounts();
  // Each file once in 64 KB reads, plus the table's two header reads and the
  // index's and memo file's first looks.
  EXPECT_LE(inRun.calls - before.calls, least + 4);
  EXPECT_LE(inRun.bytes - before.bytes, least * 65536);

  walk();  // outside a run every record and page is read where it is needed
  EXPECT_GT(readCounts().calls - inRun.calls, 4 * (least + 4));
}

TEST(KeptReadsTest, ARunReadsRecordsAndMemosAddedAfterItsBlocksWereRead) {
  TempDir dir;
  const std::string path = writeSchool(dir);
  KeepReadsScope run;
  auto reader = Table::open(path, "ST");
  reader->goTo(600);
  EXPECT_EQ(reader->memo("ST_NOTE"), "Note 600");
  {
    std::thread other([&] {  // another program, with files of its own
      auto writer = Table::open(path, "W", OpenMode::kReadWrite);
      writer->appendBlank();
      writer->replace("ST_NUMBER", 601);
      writer->replaceMemo(writer->requireField("ST_NOTE"), "A late note");
      writer->commit();
    });
    other.join();
  }
  reader->goTo(601);
  ASSERT_FALSE(reader->eof());
  EXPECT_EQ(reader->num("ST_NUMBER"), 601);
  EXPECT_EQ(reader->memo("ST_NOTE"), "A late note");
}

TEST(KeptReadsTest, ARecordBeingRewrittenUnderItsLockIsReadWholeBeforeOrAfter) {
  TempDir dir;
  const std::string path = writeSchool(dir);
  auto writer = Table::open(path, "W", OpenMode::kReadWrite);
  writer->goTo(300);
  ASSERT_TRUE(writer->lockRecord());
  const int length = DbfFile::open(path, OpenMode::kRead)->recordLength();
  std::string image(size_t(length), ' ');
  image.replace(1, 6, "   300");
  image.replace(7, 20, "Rewritten           ");
  image.replace(27, kLong, std::string(kLong, 'y'));
  image.replace(27 + kLong, 10, std::string(10, ' '));
  // The writer's own raw writes: the first half now, the rest once the run reads.
  auto raw = Env::current()->open(path, OpenMode::kReadWrite);
  const uint64_t at = raw->size() - 1 - uint64_t(600 - 300 + 1) * uint64_t(length);
  raw->writeAt(at, image.data(), image.size() / 2);

  std::atomic<bool> reading{false};
  std::string surname, longField;
  std::thread run([&] {
    KeepReadsScope keep;
    auto t = Table::open(path, "ST");
    reading = true;
    t->goTo(300);
    surname = t->text("ST_SURNAME");
    longField = t->text("ST_LONG");
  });
  while (!reading) std::this_thread::yield();
  raw->writeAt(at + image.size() / 2, image.data() + image.size() / 2, image.size() - image.size() / 2);
  writer->unlockRecord();
  run.join();

  const bool before = longField == std::string(kLong, 'x') && surname != "Rewritten";
  const bool after = longField == std::string(kLong, 'y') && surname == "Rewritten";
  EXPECT_TRUE(before || after) << surname << " / " << longField.substr(kLong / 2 - 20, 40);
}

}  // namespace
