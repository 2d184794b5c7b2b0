// Fuzz target: the input is the memo file; the table and indexes are intact.
#include <cstddef>
#include <cstdint>

#include "data/error.h"
#include "fuzz_fixture.h"

using namespace velmont;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  data::MemEnv env = fuzz::fixture();
  env.put(fuzz::kMemo, std::string(reinterpret_cast<const char*>(data), size));
  try {
    fuzz::readEverything(env, false);
  } catch (const data::DataError&) {
  }
  return 0;
}
