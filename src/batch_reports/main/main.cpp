// velmont-batch: the headless companion of the program.
#include <iostream>
#include <string>
#include <vector>

#include "batch/batch_main.h"
#include "data/date.h"
#include "velmont_version.h"
#ifdef VELMONT_BATCH_EOT
#include "batch_reports/eot/eot_command.h"
#endif
#ifdef VELMONT_BATCH_LIST
#include "batch_reports/list/list_command.h"
#endif

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
#ifdef VELMONT_BATCH_EOT
  velmont::batch::registerEotCommand();
#endif
#ifdef VELMONT_BATCH_LIST
  velmont::batch::registerListCommand();
#endif
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 1 && args[0] == "--version") {
    std::cout << "velmont-batch " << VELMONT_VERSION << "\n";
    return 0;
  }
  const int status = velmont::batch::runBatch(args, std::cout, std::cerr, velmont::data::Date::today().year());
  std::cout.flush();
  return status;
}
