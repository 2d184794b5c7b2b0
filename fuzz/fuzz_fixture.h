#pragma once
// The small school table that the fuzz targets pair with their input: made once,
// in memory, with the engine itself.
#include <string>

#include "data/mem_env.h"

namespace velmont::fuzz {

inline const char* kTable = "/f/ststuden.dbf";
inline const char* kMemo = "/f/ststuden.dbt";
inline const char* kIndex = "/f/ststname.ntx";
inline const char* kNumberIndex = "/f/stnumber.ntx";

// A memory file system holding the fixture's table, memo and two indexes.
const data::MemEnv& fixture();

// Reads every record of the fixture's table (as currently in `env`) in natural
// and index order with all fields and memos; DataError on damage.
void readEverything(data::MemEnv& env, bool withIndex);

}  // namespace velmont::fuzz
