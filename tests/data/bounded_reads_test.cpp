// Reads that a damaged or strange file cannot make endless: flag files that are
// links to devices, FIFOs or folders, and memos past the size a report reads.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <fstream>

#include "school/school_folder.h"
#include "data/error.h"
#include "data/file.h"
#include "data/table.h"
#include "school/year_names.h"
#include "temp_dir.h"

using namespace velmont::data;
using velmont::testing::TempDir;

namespace {

namespace fs = std::filesystem;

std::string errorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const DataError& e) {
    return e.what();
  }
  return "";
}

TEST(BoundedReadsTest, SideFilesAreReadUpToTheirBoundAndOnlyWhenTheyAreFiles) {
  TempDir dir;
#ifndef _WIN32  // devices and FIFOs as side files are a POSIX matter
  fs::create_symlink("/dev/zero", dir.file("homecl.$vl"));  // endless
  ASSERT_EQ(mkfifo(dir.file("house.$vl").c_str(), 0600), 0);  // would block
  fs::create_directory(dir.file("grade.$vl"));
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"homecl.$vl", "is a device"}, {"house.$vl", "is a named pipe (FIFO)"}, {"grade.$vl", "is a directory"}};
  for (const auto& [name, kind] : cases) {
    const std::string message = errorOf([&] { readSideFile(dir.file(name), 4096); });
    EXPECT_NE(message.find(name), std::string::npos) << message;
    EXPECT_NE(message.find(kind), std::string::npos) << message;
    // Opening one as a table says the same, instead of waiting on it.
    EXPECT_NE(errorOf([&] { Table::open(dir.file(name), "T"); }).find(kind), std::string::npos) << name;
  }
  EXPECT_NE(errorOf([&] { YEAR_NAMES(velmont::school::SchoolFolder(dir.path().string())); }).find("is a directory"), std::string::npos);
#endif

  // A regular file far longer than a side file: only the bound is read.
  std::ofstream(dir.file("big.$vl")) << "Tutor Group\r\n" << std::string(8 * 1024 * 1024, 'x');
  const std::string head = readSideFile(dir.file("big.$vl"), 4096);
  EXPECT_EQ(head.size(), 4096u);
  EXPECT_EQ(head.substr(0, 11), "Tutor Group");
}

TEST(BoundedReadsTest, AMemoPastTheLimitIsTooLargeAndOneWithoutEndMarkIsCutShort) {
  TempDir dir;
  const std::string path = dir.file("notes.dbf");
  DbfFile::create(path, {{"NOTE", 'M', 10, 0}});
  {
    auto t = Table::open(path, "T", OpenMode::kReadWrite);
    for (size_t size : {size_t(900 * 1024), size_t(20 * 1024 * 1024)}) {
      t->appendBlank();
      t->replaceMemo(0, std::string(size, 'n'));
    }
    t->commit();
  }
  auto t = Table::open(path, "T");
  EXPECT_EQ(t->memo("NOTE").size(), 900u * 1024) << "a long note within the limit reads whole";
  t->goTo(2);
  const std::string large = errorOf([&] { t->memo("NOTE"); });
  EXPECT_NE(large.find("is 20971520 bytes long, more than the 1 MB a report reads"), std::string::npos) << large;
  // The same memo with its end marks gone runs into the end of the file.
  const std::string memo = DbfFile::memoPathFor(path);
  fs::resize_file(memo, fs::file_size(memo) - 512);
  auto cut = Table::open(path, "T");
  cut->goTo(2);
  EXPECT_NE(errorOf([&] { cut->memo("NOTE"); }).find("cut short (no end mark)"), std::string::npos);
}

}  // namespace
