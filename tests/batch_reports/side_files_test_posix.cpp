// A flag file that is a link to an endless device stops a report at once with
// a message naming it, instead of reading without end; an output that is a
// pipe or a device is refused, never replaced by a file.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/sysmacros.h>

#include <filesystem>
#include <string>
#include <vector>

#include "report_commands.h"

extern char** environ;

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

TEST(SideFiles, RunsStartedTogetherOnANewSchoolAllPrintTheirCardsWithHeadings) {
  TempDir dir;
  makeDemo(dir.file("school"), 30, 4);
  // A school that has never had a card run: the headings and letterhead tables are missing.
  std::filesystem::remove(dir.file("school") + "/headeots.dbf");
  std::filesystem::remove(dir.file("school") + "/rvhplogo.dbf");
  const std::string program = VELMONT_BINARY_DIR "/src/velmont-batch";
  std::vector<pid_t> runs;
  for (int i = 0; i < 6; ++i) {
    const std::vector<std::string> args = {program, "eot", "--data-dir", dir.file("school"), "--year",
                                           std::to_string(kTestYear), "--term", "3", "--text",
                                           dir.file("cards" + std::to_string(i) + ".txt")};
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ), 0);
    runs.push_back(pid);
  }
  for (size_t i = 0; i < runs.size(); ++i) {
    int status = 0;
    waitpid(runs[i], &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "run " << i;
    EXPECT_NE(readFile(dir.file("cards" + std::to_string(i) + ".txt")).find("REPORT OF:"), std::string::npos)
        << "run " << i << " printed cards without their headings";
  }
  for (const auto& e : std::filesystem::directory_iterator(dir.file("school")))
    EXPECT_EQ(e.path().filename().string().find(".new"), std::string::npos) << e.path() << " was left behind";
}

}  // namespace
}  // namespace velmont::testing
