#include "message_hook.h"

#include <QTextStream>
#include <mutex>

namespace velmont::print {

namespace {
std::mutex hookMutex;
MessageHook currentHook;
}  // namespace

MessageHook setMessageHook(MessageHook hook) {
  std::lock_guard lock(hookMutex);
  std::swap(currentHook, hook);
  return hook;
}

void showMessage(const MessageRequest& request) {
  MessageHook hook;
  {
    std::lock_guard lock(hookMutex);
    hook = currentHook;
  }
  if (hook) {
    hook(request);
    return;
  }
  QTextStream err(stderr);
  err << "velmont: " << request.lines.join(" / ") << Qt::endl;
}

}  // namespace velmont::print
