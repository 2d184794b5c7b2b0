// Fuzz target: the input is the table file; its memo and indexes are intact.
#include <cstddef>
#include <cstdint>

#include "data/error.h"
#include "fuzz_fixture.h"

using namespace velmont;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  data::MemEnv env = fuzz::fixture();
  env.put(fuzz::kTable, std::string(reinterpret_cast<const char*>(data), size));
  try {
    fuzz::readEverything(env, true);
  } catch (const data::DataError&) {
  }
  return 0;
}
