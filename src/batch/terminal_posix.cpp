#include <unistd.h>

#include "terminal.h"

namespace velmont::batch {

bool stderrIsTerminal() { return isatty(STDERR_FILENO) == 1; }

}  // namespace velmont::batch
