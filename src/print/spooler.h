#pragma once
// What the system's print spooler says of a queue and of the job just sent to it, so
// that a print it did not take is a failure with its reason, never called sent.
#include <QString>

namespace velmont::print {

// Why the queue takes no job now ("it is not accepting jobs (Paper jam)"), or "" when
// it takes them or the platform cannot tell before a job is sent.
QString queueRefusal(const QString& queue);

// Why the spooler did not take the last job that this thread sent, or "" when it
// took it.
QString jobRefusal();

}  // namespace velmont::print
