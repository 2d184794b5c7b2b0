// Fuzz target: the input is the name index; the table and memo are intact.
#include <cstddef>
#include <cstdint>

#include "data/error.h"
#include "fuzz_fixture.h"

using namespace velmont;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  data::MemEnv env = fuzz::fixture();
  env.put(fuzz::kIndex, std::string(reinterpret_cast<const char*>(data), size));
  try {
    fuzz::readEverything(env, true);
  } catch (const data::DataError&) {
  }
  return 0;
}
