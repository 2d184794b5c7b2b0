// Stopping velmont-batch from the terminal: the real program runs on a pseudo
// terminal, so that it draws its progress bar, and gets the signal as soon as
// the bar shows cards printed, far from the run's end.
#include <gtest/gtest.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <filesystem>
#include <fstream>
#include <regex>

#include "report_commands.h"

namespace velmont::testing {
namespace {

namespace fs = std::filesystem;

struct StoppedRun {
  int status = -1;      // the exit status, or -1 when the program did not exit
  std::string screen;   // what the terminal showed
  bool signalled = false;
};

// Cards or students printed, one or more.
const char* const kSomePrinted = R"( [1-9][0-9]* of [0-9]+)";
// Every card printed: the run is writing what is left of its files.
const char* const kAllPrinted = R"( ([1-9][0-9]*) of \1,)";

// Runs velmont-batch with `args` on a terminal and sends `signal` once the bar
// shows what `when` matches.
StoppedRun runAndStop(const std::vector<std::string>& args, int signal, const char* when = kSomePrinted) {
  StoppedRun run;
  int terminal = -1;
  const pid_t pid = forkpty(&terminal, nullptr, nullptr, nullptr);
  if (pid < 0) {
    ADD_FAILURE() << "forkpty failed";
    return run;
  }
  if (pid == 0) {
    std::vector<char*> argv;
    static const std::string program = VELMONT_BINARY_DIR "/src/velmont-batch";
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  const std::regex printed(when);
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(terminal, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;  // the program has ended (EIO on Linux)
    const size_t from = run.screen.size() > 80 ? run.screen.size() - 80 : 0;  // a count cut by the last read
    run.screen.append(buffer, size_t(n));
    if (!run.signalled && std::regex_search(run.screen.begin() + long(from), run.screen.end(), printed)) {
      kill(pid, signal);
      run.signalled = true;
    }
  }
  close(terminal);
  int status = 0;
  waitpid(pid, &status, 0);
  if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
  return run;
}

class StopSignal : public ::testing::Test {
 protected:
  // Enough students that the run is far from its end when the bar first counts.
  StopSignal() { makeDemo(school(), 600, 3); }
  std::string school() const { return dir.file("school"); }
  std::vector<std::string> outputs() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.path()))
      if (e.path().filename() != "school") names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  TempDir dir;
};

TEST_F(StopSignal, CtrlCAfterTheFirstCardsLeavesTheEarlierPdfAsItWasAndExits130) {
  const std::string pdf = dir.file("cards.pdf"), pictures = dir.file("pictures");
  std::ofstream(pdf) << "the cards printed last week";
  fs::create_directories(pictures);
  std::ofstream(pictures + "/page-0001.png") << "last week's page";
  const StoppedRun run = runAndStop(
      {"eot", "--data-dir", school(), "--year", std::to_string(kTestYear), "--pdf", pdf, "--png", pictures}, SIGINT);
  ASSERT_TRUE(run.signalled) << run.screen;
  EXPECT_EQ(run.status, 130) << run.screen;
  EXPECT_TRUE(std::regex_search(run.screen, std::regex(R"(The report was stopped after card [1-9][0-9]* of [0-9]+ \()")))
      << run.screen;
  EXPECT_NE(run.screen.find("nothing was sent to " + pdf), std::string::npos) << run.screen;
  EXPECT_EQ(readFile(pdf), "the cards printed last week");
  EXPECT_EQ(outputs(), (std::vector<std::string>{"cards.pdf", "pictures"})) << "no temporary file is left";
  EXPECT_EQ(readDirectory(pictures), (std::map<std::string, std::string>{{"page-0001.png", "last week's page"}}));
}

TEST_F(StopSignal, SigtermStopsTheCardsWithoutWritingTheTextFileAndExits143) {
  const std::string text = dir.file("cards.txt");
  const StoppedRun run = runAndStop(
      {"eot", "--data-dir", school(), "--year", std::to_string(kTestYear), "--text", text}, SIGTERM);
  ASSERT_TRUE(run.signalled) << run.screen;
  EXPECT_EQ(run.status, 143) << run.screen;
  EXPECT_NE(run.screen.find("The report was stopped after card"), std::string::npos) << run.screen;
  EXPECT_TRUE(outputs().empty()) << "neither the cards nor a temporary file";
}

TEST_F(StopSignal, SigtermWhileTheFamilyFilesAreWrittenLeavesTheEarlierFolderAsItWas) {
  const std::string cards = dir.file("cards");
  fs::create_directories(cards);
  std::ofstream(cards + "/cards.csv") << "file,pages\r\nOLD0001-Old.pdf,1\r\n";
  std::ofstream(cards + "/OLD0001-Old.pdf") << "last week's card";
  const auto before = readDirectory(cards);
  // Sent once every card is drawn, while the last files are being written.
  const StoppedRun run = runAndStop(
      {"eot", "--data-dir", school(), "--year", std::to_string(kTestYear), "--pdf-dir", cards}, SIGTERM, kAllPrinted);
  ASSERT_TRUE(run.signalled) << run.screen;
  EXPECT_EQ(run.status, 143) << run.screen;
  EXPECT_NE(run.screen.find("The report was stopped after card"), std::string::npos) << run.screen;
  EXPECT_TRUE(readDirectory(cards) == before) << "neither a new file nor a work folder";
}

}  // namespace
}  // namespace velmont::testing
