#pragma once
// What the batch commands need to know about where their output goes.

namespace velmont::batch {

// True when standard error is an interactive terminal (progress bars go there only then).
bool stderrIsTerminal();

}  // namespace velmont::batch
