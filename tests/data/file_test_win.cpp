// The table engine on Windows: locks that belong to the handle, file names in
// any case, drive letters and backslashes, long and non-ASCII paths, and files
// another program holds open with or without sharing.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "data/dbf_file.h"
#include "data/error.h"
#include "data/file.h"
#include "data/file_win.h"
#include "data/table.h"
#include "temp_dir.h"

using namespace velmont::data;
using velmont::testing::TempDir;

namespace {

// A small table with a memo and a number index, made through the engine.
void makeTable(const std::string& table, const std::string& index) {
  DbfFile::create(table, {{"NUM", 'N', 4, 0}, {"NAME", 'C', 10, 0}, {"NOTE", 'M', 10, 0}});
  auto t = Table::open(table, "T", OpenMode::kReadWrite);
  for (int n : {30, 10, 20}) {
    t->appendBlank();
    t->replace("NUM", n);
    t->replace("NAME", "N" + std::to_string(n));
    t->replaceMemo(t->requireField("NOTE"), "note " + std::to_string(n));
  }
  t->commit();
  t->createIndex(index, "NUM");
}

// Opens the table with its index and reads it in index order: "N10:note 10,...".
std::string readInOrder(const std::string& table, const std::string& index) {
  auto t = Table::open(table, "T");
  t->addIndex(index);
  std::string out;
  for (t->goTop(); !t->eof(); t->skip()) out += t->text("NAME") + ":" + t->memo("NOTE") + ",";
  return out;
}

const char* const kInOrder = "N10:note 10,N20:note 20,N30:note 30,";

std::string backslashed(std::string p) {
  for (char& c : p)
    if (c == '/') c = '\\';
  return p;
}

}  // namespace

TEST(FileWinTest, RecordLockBelongsToTheHandleThatTookIt) {
  TempDir dir;
  makeTable(dir.file("t.dbf"), dir.file("t.ntx"));
  auto holder = Table::open(dir.file("t.dbf"), "H", OpenMode::kReadWrite);
  holder->goTo(2);
  ASSERT_TRUE(holder->lockRecord());
  { auto passer = Table::open(dir.file("t.dbf"), "P"); }  // opened and closed again in this process
  auto other = Env::current()->open(dir.file("t.dbf"), OpenMode::kReadWrite);
  EXPECT_FALSE(other->tryLock(1000000000ull + 2, 1, LockKind::kExclusive)) << "another handle took a held lock";
  EXPECT_TRUE(other->tryLock(1000000000ull + 3, 1, LockKind::kExclusive));
  other->unlock(1000000000ull + 3, 1);
  holder->unlockRecord();
  EXPECT_TRUE(other->tryLock(1000000000ull + 2, 1, LockKind::kExclusive)) << "the lock outlived its release";
  other->unlock(1000000000ull + 2, 1);
}

TEST(FileWinTest, FileNamesInAnyCaseDriveLettersAndBackslashes) {
  TempDir dir;
  // A directory with a dot in its name: the memo's name comes from the table's,
  // not from the first dot of the path.
  std::filesystem::create_directory(dir.path() / "Data.V1");
  const std::string base = backslashed(std::filesystem::absolute(dir.path()).string()) + "\\Data.V1\\";
  ASSERT_EQ(base[1], ':') << "expected a drive letter: " << base;
  makeTable(base + "ststuden.dbf", base + "ststuden.ntx");
  EXPECT_TRUE(Env::current()->exists(base + "ststuden.dbt"));

  EXPECT_EQ(readInOrder(base + "STSTUDEN.DBF", base + "STSTUDEN.NTX"), kInOrder);
  EXPECT_EQ(readInOrder(base + "StStuden.Dbf", base + "ststuden.ntx"), kInOrder);
  std::string forward = base;
  for (char& c : forward)
    if (c == '\\') c = '/';
  EXPECT_EQ(readInOrder(forward + "ststuden.dbf", base + "..\\Data.V1\\ststuden.ntx"), kInOrder);
  EXPECT_TRUE(Env::current()->exists(base + "STSTUDEN.DBT"));
  EXPECT_FALSE(Env::current()->exists(base)) << "a directory is not a table file";
  try {
    Table::open(base + "..\\Data.V1", "D");
    FAIL() << "a directory opened as a table";
  } catch (const DataError& e) {
    EXPECT_NE(std::string(e.what()).find("is a directory, not a file"), std::string::npos) << e.what();
  }
  try {
    Table::open(base + "MISSING.DBF", "M");
    FAIL() << "a missing table opened";
  } catch (const DataError& e) {
    EXPECT_NE(std::string(e.what()).find("MISSING.DBF"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("not found"), std::string::npos) << e.what();
  }
}

TEST(FileWinTest, PathsLongerThanTheOrdinaryLimit) {
  TempDir dir;
  std::string deep = std::filesystem::absolute(dir.path()).string();
  while (deep.size() < 300) {
    deep += "\\a-directory-of-the-school-office";
    ASSERT_TRUE(CreateDirectoryW(windowsPath(deep).c_str(), nullptr)) << deep.size() << ": " << GetLastError();
  }

  const std::string table = deep + "\\stsub26.dbf";
  ASSERT_GT(table.size(), size_t(MAX_PATH));
  makeTable(table, deep + "\\stsub26.ntx");  // the index is built beside and renamed into place
  EXPECT_EQ(readInOrder(table, deep + "\\STSUB26.NTX"), kInOrder);
  EXPECT_TRUE(Env::current()->exists(deep + "\\stsub26.dbt"));
  Env::current()->remove(deep + "\\stsub26.ntx");
  EXPECT_FALSE(Env::current()->exists(deep + "\\stsub26.ntx"));
  // The directory tree goes with the test's; remove_all needs the long form here.
  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::path(L"\\\\?\\" + windowsPath(dir.path().string())), ignored);
}

TEST(FileWinTest, WindowsPathsFromTheEnginesPathStrings) {
  EXPECT_EQ(windowsPath("C:\\DATA\\ststuden.dbf"), L"C:\\DATA\\ststuden.dbf") << "short paths stay as given";
  EXPECT_EQ(windowsPath("ststuden.dbf"), L"ststuden.dbf");
  EXPECT_EQ(windowsPath("C:\\Sch\xC3\xBCler\\a.dbf"), L"C:\\Sch\u00FCler\\a.dbf") << "UTF-8";
  // The same name in the ANSI code page, as a command-line argument brings it.
  const wchar_t* wide = L"C:\\Sch\u00FCler\\a.dbf";
  char ansi[64] = {};
  BOOL lossy = FALSE;
  WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof ansi, nullptr, &lossy);
  if (GetACP() != CP_UTF8 && !lossy) {
    EXPECT_EQ(windowsPath(ansi), wide);
  }

  const std::string longTail = std::string(140, 'x') + "\\" + std::string(140, 'y') + "\\t.dbf";
  EXPECT_EQ(windowsPath("C:\\data/" + longTail), L"\\\\?\\C:\\data\\" + std::wstring(140, L'x') + L"\\" +
                                                     std::wstring(140, L'y') + L"\\t.dbf");
  EXPECT_EQ(windowsPath("\\\\server\\share\\" + longTail),
            L"\\\\?\\UNC\\server\\share\\" + std::wstring(140, L'x') + L"\\" + std::wstring(140, L'y') + L"\\t.dbf");
  const std::string extended = "\\\\?\\C:\\" + longTail;
  EXPECT_EQ(windowsPath(extended).substr(0, 7), L"\\\\?\\C:\\") << "an extended path is left alone";

  // Joining and splitting keep national letters as UTF-8 (a narrow std::filesystem path
  // would read them in the ANSI code page and hand them back as UTF-8, twice encoded).
  EXPECT_EQ(pathIn("C:\\Sch\xC3\xBCler", "\xC3\xA9" "cusson.png"), "C:\\Sch\xC3\xBCler\\\xC3\xA9" "cusson.png");
  EXPECT_EQ(directoryOf("C:\\Sch\xC3\xBCler\\\xC3\xA9" "cusson.png"), "C:\\Sch\xC3\xBCler");
  EXPECT_EQ(fileNameOf("C:/Sch\xC3\xBCler/\xC3\xA9" "cusson.png"), "\xC3\xA9" "cusson.png");
}

TEST(FileWinTest, NonAsciiDirectoryInEitherEncoding) {
  TempDir dir;
  const std::wstring name = L"Sch\u00FCler";
  const std::filesystem::path school = dir.path() / name;
  std::filesystem::create_directory(school);
  const std::string utf8 = dir.path().string() + "\\Sch\xC3\xBCler\\";
  makeTable(utf8 + "t.dbf", utf8 + "t.ntx");
  EXPECT_TRUE(std::filesystem::exists(school / L"t.dbt"));
  char ansi[MAX_PATH] = {};
  BOOL lossy = FALSE;
  WideCharToMultiByte(CP_ACP, 0, (school.wstring() + L"\\").c_str(), -1, ansi, sizeof ansi, nullptr, &lossy);
  if (GetACP() == CP_UTF8 || lossy) GTEST_SKIP() << "the ANSI code page has no u-umlaut of its own";
  EXPECT_EQ(readInOrder(std::string(ansi) + "t.dbf", std::string(ansi) + "T.NTX"), kInOrder);
}

TEST(FileWinTest, TablesThatAnotherProgramHoldsOpen) {
  TempDir dir;
  makeTable(dir.file("t.dbf"), dir.file("t.ntx"));
  const std::wstring table = windowsPath(dir.file("t.dbf"));
  {
    // Open for writing and shared, as the administration system keeps its tables:
    // we read, lock and append beside it.
    HANDLE admin = CreateFileW(table.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(admin, INVALID_HANDLE_VALUE);
    auto t = Table::open(dir.file("t.dbf"), "T", OpenMode::kReadWrite);
    t->addIndex(dir.file("t.ntx"));
    t->appendBlank();
    t->replace("NUM", 5);
    t->replace("NAME", "N5");
    t->commit();
    EXPECT_EQ(t->reccount(), 4u);
    t->goTop();
    EXPECT_EQ(t->text("NAME"), "N5");
    CloseHandle(admin);
  }
  {
    // Open without sharing (an exclusive use of the table): a clear refusal that
    // names the file, and the file is left as it was.
    HANDLE exclusive = CreateFileW(table.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
    try {
      Table::open(dir.file("t.dbf"), "T");
      FAIL() << "a table held without sharing opened";
    } catch (const DataError& e) {
      const std::string what = e.what();
      EXPECT_NE(what.find("t.dbf"), std::string::npos) << what;
      EXPECT_NE(what.find("another program has it open and does not share it"), std::string::npos) << what;
    }
    CloseHandle(exclusive);
  }
  EXPECT_EQ(Table::open(dir.file("t.dbf"), "T")->reccount(), 4u);
}
