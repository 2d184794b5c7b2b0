// A flag file that is a link to an endless device stops a report at once with
// a message naming it, instead of reading without end; an output that is a
// pipe or a device is refused, never replaced by a file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>

#include "report_commands.h"

namespace velmont::testing {
namespace {

TEST(SideFiles, AFlagFileLinkedToAnEndlessDeviceIsNamedAndNotRead) {
  TempDir dir;
  makeDemo(dir.file("school"), 40, 2);
  std::filesystem::create_symlink("/dev/zero", dir.file("school") + "/homecl.$vl");
  const CommandResult r = runReportCommand({"eot", "--data-dir", dir.file("school"), "--year",
                                            std::to_string(kTestYear), "--pdf", dir.file("cards.pdf")});
  EXPECT_EQ(r.status, 1) << r.out;
  EXPECT_NE(r.err.find("homecl.$vl: is a device, not a file"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(dir.file("cards.pdf")));
}

TEST(SideFiles, AnOutputThatIsAPipeOrADeviceIsRefusedAndKept) {
  TempDir dir;
  makeDemo(dir.file("school"), 40, 2);
  ASSERT_EQ(mkfifo(dir.file("pipe").c_str(), 0600), 0);
  // A device of our own, where the test may make one (as root): /dev/null itself is never risked.
  const bool device = mknod(dir.file("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
  for (const std::string& output : {dir.file("pipe"), dir.file("null")})
    for (const char* option : {"--text", "--pdf"}) {
      if (output == dir.file("null") && !device) continue;
      const CommandResult r = runReportCommand({"eot", "--data-dir", dir.file("school"), "--year",
                                                std::to_string(kTestYear), option, output});
      EXPECT_EQ(r.status, 2) << r.out;
      EXPECT_NE(r.err.find("it is a device or a pipe, not a file"), std::string::npos) << r.err;
    }
  EXPECT_TRUE(std::filesystem::is_fifo(dir.file("pipe")));
  if (device) {
    EXPECT_TRUE(std::filesystem::is_character_file(dir.file("null")));
  }
}

}  // namespace
}  // namespace velmont::testing
