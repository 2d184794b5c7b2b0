// Another program appending to a table while we open and read it: its header
// count and its record arrive in two writes under its append lock, in either
// order, and neither moment may make a report fail; records it appended after
// we opened the table are read like the others.
#ifndef _WIN32  // the other program is a forked child; under Wine the lock probe covers appends
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <functional>

#include "data/dbf_file.h"
#include "data/error.h"
#include "data/table.h"
#include "temp_dir.h"

using namespace velmont::data;
using velmont::testing::TempDir;

namespace {

constexpr off_t kAppendLock = 1000000000;

void makeTable(const std::string& path, int records) {
  DbfFile::create(path, {{"NUM", 'N', 6, 0}, {"NAME", 'C', 20, 0}});
  auto t = Table::open(path, "T", OpenMode::kReadWrite);
  for (int i = 1; i <= records; ++i) {
    t->appendBlank();
    t->replace("NUM", i);
    t->replace("NAME", "name " + std::to_string(i));
  }
  t->commit();
}

bool appendLock(int fd, short type) {
  struct flock fl{};
  fl.l_type = type;
  fl.l_whence = SEEK_SET;
  fl.l_start = kAppendLock;
  fl.l_len = 1;
  return fcntl(fd, F_OFD_SETLKW, &fl) == 0;
}

// A writer of another program: under the append lock it writes the header's new
// count and the record 2 ms apart, header first or record first.
int foreignAppends(const std::string& path, int appends, bool headerFirst) {
  const int fd = open(path.c_str(), O_RDWR);
  if (fd < 0) return 1;
  for (int i = 0; i < appends; ++i) {
    if (!appendLock(fd, F_WRLCK)) return 2;
    unsigned char h[12];
    if (pread(fd, h, sizeof h, 0) != ssize_t(sizeof h)) return 3;
    const uint32_t count = h[4] | h[5] << 8 | h[6] << 16 | uint32_t(h[7]) << 24;
    const uint16_t headerLength = uint16_t(h[8] | h[9] << 8), recordLength = uint16_t(h[10] | h[11] << 8);
    std::string record(recordLength, ' ');
    const std::string number = std::to_string(count + 1);
    std::memcpy(&record[1 + 6 - number.size()], number.data(), number.size());
    record += '\x1A';
    const uint32_t next = count + 1;
    const unsigned char newCount[4] = {uint8_t(next), uint8_t(next >> 8), uint8_t(next >> 16), uint8_t(next >> 24)};
    auto writeHeader = [&] { return pwrite(fd, newCount, 4, 4) == 4; };
    auto writeRecord = [&] {
      const off_t at = off_t(headerLength) + off_t(count) * recordLength;
      return pwrite(fd, record.data(), record.size(), at) == ssize_t(record.size());
    };
    if (!(headerFirst ? writeHeader() : writeRecord())) return 4;
    usleep(2000);
    if (!(headerFirst ? writeRecord() : writeHeader())) return 4;
    if (!appendLock(fd, F_UNLCK)) return 5;
  }
  close(fd);
  return 0;
}

TEST(AppendInProgressTest, OpensDuringAnotherProgramsAppendsNeverFail) {
  for (const bool headerFirst : {true, false}) {
    SCOPED_TRACE(headerFirst ? "header first" : "record first");
    TempDir dir;
    const std::string path = dir.file("st.dbf");
    makeTable(path, 50);
    constexpr int kAppends = 150;
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      char start;
      if (read(go[0], &start, 1) != 1) _exit(9);
      _exit(foreignAppends(path, kAppends, headerFirst));
    }
    ASSERT_EQ(write(go[1], "g", 1), 1);
    int opens = 0;
    std::string failure;
    uint32_t last = 0;
    for (;;) {
      int status = 0;
      const bool ended = waitpid(child, &status, WNOHANG) == child;
      try {
        auto t = Table::open(path, "T");
        ++opens;
        // Every record the file holds reads whole, its number in its place.
        t->goBottom();
        const uint32_t n = t->reccount();
        if (n < last || (n > 0 && t->num("NUM") != double(t->recno()))) failure = "record " + std::to_string(n);
        last = n;
      } catch (const DataError& e) {
        failure = e.what();
      }
      if (!failure.empty()) break;
      if (ended) {
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        break;
      }
    }
    if (!failure.empty()) waitpid(child, nullptr, 0);
    close(go[0]);
    close(go[1]);
    EXPECT_EQ(failure, "") << "after " << opens << " opens";
    EXPECT_GT(opens, 0);
    EXPECT_EQ(Table::open(path, "T")->reccount(), 50u + kAppends);
  }
}

TEST(AppendInProgressTest, ACountThatStaysAheadIsACutFileAndOneBehindIsRead) {
  TempDir dir;
  const std::string path = dir.file("st.dbf");
  makeTable(path, 10);
  const int fd = open(path.c_str(), O_RDWR);
  ASSERT_GE(fd, 0);
  const unsigned char twelve[4] = {12, 0, 0, 0}, eight[4] = {8, 0, 0, 0};
  ASSERT_EQ(pwrite(fd, twelve, 4, 4), 4);
  try {
    Table::open(path, "T");
    ADD_FAILURE() << "a count two records ahead of the file opened";
  } catch (const DataError& e) {
    EXPECT_NE(std::string(e.what()).find("counts 12 records but the file holds only 10"), std::string::npos)
        << e.what();
  }
  // Behind: the records in the file are read, and the header says less.
  ASSERT_EQ(pwrite(fd, eight, 4, 4), 4);
  close(fd);
  auto dbf = DbfFile::open(path, OpenMode::kRead);
  EXPECT_EQ(dbf->recordCount(), 10u);
  const DbfFile::Counts counts = dbf->settledCounts();
  EXPECT_EQ(counts.header, 8u);
  EXPECT_TRUE(counts.settled);
}

// A writer that takes no lock and writes the header before the record: an open
// between the two looks once more, and a file that stays a record short is
// named with both of its possible causes.
TEST(AppendInProgressTest, AHeaderOneAheadIsLookedAtTwiceBeforeItIsCalledDamaged) {
  TempDir dir;
  const std::string path = dir.file("st.dbf");
  makeTable(path, 10);
  std::string record;
  {
    auto dbf = DbfFile::open(path, OpenMode::kRead);
    record.resize(size_t(dbf->recordLength()));
    ASSERT_TRUE(dbf->readRecord(10, record.data()));
  }
  const int fd = open(path.c_str(), O_RDWR);
  ASSERT_GE(fd, 0);
  struct stat st {};
  ASSERT_EQ(fstat(fd, &st), 0);
  const unsigned char eleven[4] = {11, 0, 0, 0};
  ASSERT_EQ(pwrite(fd, eleven, 4, 4), 4);
  const std::function<void()> sleep = DbfFile::secondLookPause();
  // The writer puts its record in place while the open looks away.
  DbfFile::secondLookPause() = [&] {
    const std::string image = record + '\x1a';
    ASSERT_EQ(pwrite(fd, image.data(), image.size(), st.st_size - 1), ssize_t(image.size()));
  };
  EXPECT_EQ(Table::open(path, "T")->reccount(), 11u);
  // Still one short at the second look.
  ASSERT_EQ(ftruncate(fd, st.st_size), 0);
  DbfFile::secondLookPause() = [] {};
  try {
    Table::open(path, "T");
    ADD_FAILURE() << "a count that stays one record ahead opened";
  } catch (const DataError& e) {
    const std::string what = e.what();
    EXPECT_NE(what.find("counts 11 records but the file holds only 10"), std::string::npos) << what;
    EXPECT_NE(what.find("without locking"), std::string::npos) << what;
    EXPECT_NE(what.find("backup"), std::string::npos) << what;
  }
  DbfFile::secondLookPause() = sleep;
  close(fd);
}

TEST(AppendInProgressTest, RecordsAppendedAfterTheOpenAreReadInIndexOrder) {
  TempDir dir;
  const std::string path = dir.file("st.dbf"), index = dir.file("st.ntx");
  makeTable(path, 5);
  Table::open(path, "T")->createIndex(index, "NAME");
  auto reader = Table::open(path, "R");
  reader->addIndex(index);
  {
    auto writer = Table::open(path, "W", OpenMode::kReadWrite);
    writer->addIndex(index);
    writer->appendBlank();
    writer->replace("NUM", 6);
    writer->replace("NAME", "a first name");
    writer->commit();
  }
  std::vector<double> numbers;
  for (reader->goTop(); !reader->eof(); reader->skip()) numbers.push_back(reader->num("NUM"));
  EXPECT_EQ(numbers, (std::vector<double>{6, 1, 2, 3, 4, 5}));
}

}  // namespace
#endif
