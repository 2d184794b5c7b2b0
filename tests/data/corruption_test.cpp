// Damaged tables, memos and indexes: every cut, every broken header field and
// every failing or short read ends in an error that names the file, or in a
// complete and correct read. Never a crash, a hang or a silently wrong result.
#include <gtest/gtest.h>

#include <cstring>

#include "data/error.h"
#include "data/mem_env.h"
#include "data/table.h"

using namespace velmont::data;

namespace {

const char* kTable = "/school/ststuden.dbf";
const char* kMemo = "/school/ststuden.dbt";
const char* kIndex = "/school/ststname.ntx";

// A small school table with memos and a name index, made in memory.
MemEnv makeFixture() {
  MemEnv env;
  ScopedEnv scope(&env);
  DbfFile::create(kTable, {{"ST_NUMBER", 'N', 6, 0}, {"ST_SURNAME", 'C', 12, 0}, {"ST_DOB", 'D', 8, 0},
                           {"ST_NOTE", 'M', 10, 0}, {"ST_OK", 'L', 1, 0}});
  auto t = Table::open(kTable, "ST", OpenMode::kReadWrite);
  const char* names[] = {"Nguyen", "Abbot", "Okafor", "Smith", "Lund", "Berg", "Abbot", "Zhou"};
  for (int i = 0; i < 60; ++i) {
    t->appendBlank();
    t->replace("ST_NUMBER", 100 + i);
    t->replace("ST_SURNAME", std::string(names[i % 8]) + std::to_string(i % 5));
    t->replace("ST_DOB", Date::fromYmd(2008 + i % 6, 1 + i % 12, 1 + i % 27));
    if (i % 4 == 0) t->replaceMemo(t->requireField("ST_NOTE"), std::string(40 + i * 13, char('a' + i % 26)));
    t->replace("ST_OK", i % 3 == 0);
  }
  t->commit();
  t->createIndex(kIndex, "UPPER(ST_SURNAME)+STR(ST_NUMBER,6)");
  return env;
}

// Reads every record in natural and index order with every field and memo.
std::string readEverything() {
  auto t = Table::open(kTable, "ST");
  std::string seen;
  auto readRecord = [&] {
    seen += std::to_string(t->recno()) + ":";
    for (int f = 0; f < t->fieldCount(); ++f)
      seen += t->field(f).type == 'M' ? t->memoText(f) : std::string(t->fieldBytes(f));
    seen += "\n";
  };
  for (t->goTop(); !t->eof(); t->skip()) readRecord();
  t->addIndex(kIndex);
  for (t->goTop(); !t->eof(); t->skip()) readRecord();
  t->seek("OKAFOR");
  readRecord();
  return seen;
}

// Runs readEverything on `env`: "" when it ends in a proper DataError, the data
// when it completes. Any other exception fails the test.
std::string readOrError(MemEnv& env, std::string* error) {
  ScopedEnv scope(&env);
  try {
    std::string all = readEverything();
    error->clear();
    return all;
  } catch (const DataError& e) {
    *error = e.what();
    EXPECT_FALSE(e.file().empty()) << e.what();
    return "";
  }
}

void patch(MemEnv& env, const std::string& path, size_t offset, const std::string& bytes) {
  std::string data = env.get(path);
  ASSERT_LE(offset + bytes.size(), data.size());
  data.replace(offset, bytes.size(), bytes);
  env.put(path, data);
}

std::string le32(uint32_t v) {
  return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
}

}  // namespace

TEST(CorruptionTest, EveryTruncationIsReportedOrHarmless) {
  MemEnv clean = makeFixture();
  std::string error;
  const std::string expected = readOrError(clean, &error);
  ASSERT_EQ(error, "");
  for (const char* file : {kTable, kMemo, kIndex}) {
    const std::string whole = clean.get(file);
    for (size_t cut = 0; cut < whole.size(); ++cut) {
      MemEnv env = clean;
      env.put(file, whole.substr(0, cut));
      const std::string got = readOrError(env, &error);
      if (error.empty())
        ASSERT_EQ(got, expected) << file << " cut at " << cut << " read without error but wrongly";
      else
        ASSERT_NE(error.find(file), std::string::npos) << file << " cut at " << cut << ": " << error;
    }
  }
}

TEST(CorruptionTest, BrokenHeadersAndPointersAreNamed) {
  const MemEnv clean = makeFixture();
  struct Case {
    const char* what;
    const char* file;
    size_t offset;
    std::string bytes;
    const char* expectedReason;
    const char* named = nullptr;  // the file the message names, when not the damaged one
  };
  const std::string dbf = clean.get(kTable);
  const size_t headerLength = uint8_t(dbf[8]) | uint8_t(dbf[9]) << 8;
  const size_t firstMemoField = headerLength + 1 + 6 + 12 + 8;  // record 1's ST_NOTE
  const Case cases[] = {
      {"count beyond the file", kTable, 4, le32(5000), "truncated"},
      {"count of 2^31", kTable, 4, le32(0x80000000u), "truncated"},
      {"header length one too large", kTable, 8, std::string{char((headerLength + 1) & 0xFF), char((headerLength + 1) >> 8)},
       "past the end of the field descriptors"},
      {"header length one too small", kTable, 8, std::string{char((headerLength - 1) & 0xFF), char((headerLength - 1) >> 8)},
       "does not lead to the first record"},
      {"record length disagrees", kTable, 10, std::string{char(40), 0}, "disagrees with the fields"},
      {"no terminator", kTable, headerLength - 2, std::string(1, 'X'), "no terminator"},
      {"header length past the end", kTable, 8, std::string{char(0xFF), char(0x7F)}, "past the end"},
      {"unknown field type", kTable, 32 + 11, "Q", "unsupported type"},
      {"zero width", kTable, 32 + 16, std::string(1, '\0'), "width 0"},
      {"not a table", kTable, 0, std::string(1, char(0x30)), "not a dBASE III table"},
      {"memo block past the end", kTable, firstMemoField, "    999999", "past the end", kMemo},
      {"memo pointer not a number", kTable, firstMemoField, "    12x4  ", "not a block number"},
      {"key expression that does not parse", kIndex, 22, std::string("UPPER((ST_SURNAME") + '\0', "parse"},
      {"key expression naming a missing field", kIndex, 22, std::string("NO_SUCH") + '\0', "NO_SUCH"},
  };
  for (const Case& c : cases) {
    MemEnv env = clean;
    patch(env, c.file, c.offset, c.bytes);
    std::string error;
    readOrError(env, &error);
    EXPECT_NE(error.find(c.named ? c.named : c.file), std::string::npos) << c.what << ": " << error;
    EXPECT_NE(error.find(c.expectedReason), std::string::npos) << c.what << ": " << error;
  }
}

TEST(CorruptionTest, EveryFailingOrShortReadIsReported) {
  MemEnv clean = makeFixture();
  std::string error;
  const std::string expected = readOrError(clean, &error);
  ASSERT_EQ(error, "");
  const long reads = clean.reads();
  ASSERT_GT(reads, 10);
  for (MemEnv::Fault fault : {MemEnv::Fault::kFail, MemEnv::Fault::kShort}) {
    for (long k = 1; k <= reads; ++k) {
      MemEnv env = clean;
      env.injectFault(fault, k);
      const std::string got = readOrError(env, &error);
      if (error.empty()) {
        ASSERT_EQ(got, expected) << "read " << k << " went wrong silently";
      }
    }
  }
}

TEST(CorruptionTest, ReadingNeverWrites) {
  MemEnv env = makeFixture();
  const long writesBefore = env.writes();
  std::string error;
  readOrError(env, &error);
  EXPECT_EQ(env.writes(), writesBefore);
}
