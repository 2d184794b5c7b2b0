#include "spooler.h"

namespace velmont::print {

// The Windows spooler answers through the print job itself: a job it does not take
// fails when the document starts or ends, which the printer device reports.
QString queueRefusal(const QString&) { return {}; }
QString jobRefusal() { return {}; }

}  // namespace velmont::print
