#pragma once
// The program's start-up, in its fixed order, and its event loop.
#include <memory>
#include <string>
#include <vector>

#include "school/session.h"

namespace velmont::app {

class MainWindow;

struct CommandLine {
  std::vector<std::string> positional;  // TERM and YEAR, both optional
  std::string dataDir = ".";
  bool singleInstance = true;  // tests run several programs at once
  std::string error;           // a malformed command line, for the usage message
};

// velmont [TERM [YEAR]] [--data-dir DIR]
CommandLine parseCommandLine(const std::vector<std::string>& args);

class Program {
 public:
  explicit Program(CommandLine commandLine);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Runs start-up up to the event loop; false when the program must end, with
  // exitCode() telling how.
  bool start();
  // The event loop, until E~xit or the close button.
  int exec();
  int exitCode() const { return exitCode_; }

  school::Session& session() { return *session_; }
  MainWindow* window() { return window_.get(); }

 private:
  void setUpTableEngine();
  void readOutsideLibraries();

  CommandLine commandLine_;
  std::unique_ptr<school::Session> session_;
  std::unique_ptr<MainWindow> window_;
  int exitCode_ = 0;
};

// The table layer's set-up (DBFDBE, NTXDBE, DBFNTX): each part is tried on a
// table in memory; the message of each part that fails.
std::vector<std::string> tableEngineFailures();

// The date order of the system's date setting.
void takeSystemDateOrder();

}  // namespace velmont::app
