#include <io.h>
#include <stdio.h>

#include "terminal.h"

namespace velmont::batch {

bool stderrIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

}  // namespace velmont::batch
