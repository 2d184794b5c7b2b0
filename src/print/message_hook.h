#pragma once
// Message boxes the page printer asks for. The printer runs on a report's worker thread
// and touches no widget: the GUI layer installs a hook that shows the box on its thread.
#include <QStringList>
#include <QVariant>
#include <functional>

namespace velmont::print {

struct MessageRequest {
  QStringList lines;
  int options = 0;  // the message box's display options
  QVariant owner;   // the window the box belongs to, when the caller gave one
};

using MessageHook = std::function<void(const MessageRequest&)>;

// Replaces the hook and returns the previous one. Without a hook, messages go to stderr.
MessageHook setMessageHook(MessageHook hook);

// Shows the message through the current hook; waits until it returns.
void showMessage(const MessageRequest& request);

}  // namespace velmont::print
