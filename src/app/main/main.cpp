// velmont [TERM [YEAR]] [--data-dir DIR]: the school's report program.
#include <cstdio>
#include <string>
#include <vector>

#include "app/error_handler.h"
#include "app/startup.h"
#include "reports/eot/eot_dialog.h"
#include "reports/lists/list_dialog.h"

int main(int argc, char** argv) {
  velmont::app::GuardedApplication application(argc, argv);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  velmont::app::CommandLine commandLine = velmont::app::parseCommandLine(args);
  if (!commandLine.error.empty()) {
    std::fprintf(stderr, "velmont: %s\nusage: velmont [TERM [YEAR]] [--data-dir DIR]\n", commandLine.error.c_str());
    return 2;
  }
  velmont::lists::registerListDialog();
  velmont::eot::registerEotDialog();
  velmont::app::Program program(commandLine);
  if (!program.start()) return program.exitCode();
  return program.exec();
}
