// velmont [TERM [YEAR]] [--data-dir DIR]: the school's report program.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/error_handler.h"
#include "app/startup.h"
#include "print/pdf_folder.h"
#include "qtcore/qt_process.h"
#include "reports/dialogs/eot_dialog.h"
#include "reports/dialogs/list_dialog.h"
#include "school/session.h"

namespace {

const char* const kHelp =
    "usage: velmont [TERM [YEAR]] [--data-dir DIR]\n"
    "\n"
    "Prints a school's end-of-term report cards and home-class lists with subjects from\n"
    "the school administration system's tables, to a printer, a PDF or plain-text file,\n"
    "or an interactive preview. It works in the school's data directory and changes\n"
    "none of the school's records beyond its own print settings.\n"
    "\n"
    "  TERM            the term to print for, 1 to 4 (default 3)\n"
    "  YEAR            the school year (default this year)\n"
    "  --data-dir DIR  the school's data directory (default: the current directory)\n"
    "  --help          print this help and exit\n"
    "  --version       print the version and exit\n"
    "\n"
    "velmont-batch prints the same reports without windows.\n";

}  // namespace

int main(int argc, char** argv) {
  // Answered before any window system is needed, so they work over ssh too.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) return std::printf("velmont %s\n", velmont::school::programVersion()) < 0;
    if (std::strcmp(argv[i], "--help") == 0) return std::fputs(kHelp, stdout) < 0;
  }
  velmont::qtcore::prepareQtProcess();
  velmont::app::GuardedApplication application(argc, argv);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  velmont::app::CommandLine commandLine = velmont::app::parseCommandLine(args);
  if (!commandLine.error.empty()) {
    std::fprintf(stderr, "velmont: %s\nusage: velmont [TERM [YEAR]] [--data-dir DIR] | --help | --version\n", commandLine.error.c_str());
    return 2;
  }
  // The folders the user saved reports to are offered again after a restart.
  velmont::print::keepSaveFoldersIn(velmont::print::userSettingsFile());
  velmont::lists::registerListDialog();
  velmont::eot::registerEotDialog();
  velmont::app::Program program(commandLine);
  if (!program.start()) return program.exitCode();
  return program.exec();
}
