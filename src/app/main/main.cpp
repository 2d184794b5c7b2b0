// velmont [TERM [YEAR]] [--data-dir DIR]: the school's report program.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/error_handler.h"
#include "app/startup.h"
#include "reports/eot/eot_dialog.h"
#include "reports/lists/list_dialog.h"
#include "velmont_version.h"

int main(int argc, char** argv) {
  // Answered before any window system is needed, so it works over ssh too.
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--version") == 0) return std::printf("velmont %s\n", VELMONT_VERSION) < 0;
  velmont::app::GuardedApplication application(argc, argv);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  velmont::app::CommandLine commandLine = velmont::app::parseCommandLine(args);
  if (!commandLine.error.empty()) {
    std::fprintf(stderr, "velmont: %s\nusage: velmont [TERM [YEAR]] [--data-dir DIR] | --version\n", commandLine.error.c_str());
    return 2;
  }
  velmont::lists::registerListDialog();
  velmont::eot::registerEotDialog();
  velmont::app::Program program(commandLine);
  if (!program.start()) return program.exitCode();
  return program.exec();
}
