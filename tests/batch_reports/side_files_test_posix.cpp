// A flag file that is a link to an endless device stops a report at once with
// a message naming it, instead of reading without end.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace velmont::testing
