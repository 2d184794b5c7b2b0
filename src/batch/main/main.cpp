// velmont-batch: the headless companion of the program.
#include <iostream>
#include <string>
#include <vector>

#include "batch/batch_main.h"
#include "data/date.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + 1, argv + argc);
  const int status = velmont::batch::runBatch(args, std::cout, std::cerr, velmont::data::Date::today().year());
  std::cout.flush();
  return status;
}
