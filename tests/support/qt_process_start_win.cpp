// A Windows test program sets Qt up as the programs do, before main and any test.
#include "qtcore/qt_process.h"

namespace {

const bool kPrepared = (velmont::qtcore::prepareQtProcess(), true);

}  // namespace
