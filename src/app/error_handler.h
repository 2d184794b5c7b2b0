#pragma once
// The handler of unexpected run-time failures: an error box with the error's
// description offering Retry, Ignore (where allowed), Cancel and Exit; Exit
// writes an error log with the error's attributes and the call stack and ends
// the program. Failures that users cause never come here: they get messages.
#include <QApplication>
#include <exception>
#include <functional>
#include <string>

namespace velmont::app {

struct ErrorInfo {
  std::string description;
  std::string operation;  // what the program was doing
  std::string subsystem;  // "tables", "program", ...
  int genCode = 0;        // the program's own code of the error kind
  int osCode = 0;         // the operating system's code, when one caused it
  std::string file;       // the file concerned, if any
  std::string arguments;  // what the operation worked on
  std::string thread;
  std::string stack;      // where the error was raised
};

// The attributes of an exception caught while doing `operation`.
ErrorInfo describeException(std::exception_ptr error, const std::string& operation,
                            const std::string& arguments = "");

enum class ErrorChoice { kRetry, kIgnore, kCancel, kExit };

// Shows the error box and waits for the choice; from a worker thread the box
// opens on the GUI thread while the worker waits.
ErrorChoice showErrorBox(const ErrorInfo& info, bool allowIgnore);

// Writes the error log (appending) and returns its path: velmont-error.log in
// the data directory, or in the temporary directory when that is not writable.
std::string writeErrorLog(const ErrorInfo& info);
std::string errorLogText(const ErrorInfo& info);

// Makes `dataDir` the place of the error log and installs the crash log.
void installErrorHandler(const std::string& dataDir);

// Runs `work`; an exception shows the error box: Retry runs it again, Ignore
// and Cancel give up (false), Exit writes the log and ends the program (false).
// For report runs on worker threads: a failure there never ends the program
// unless the user chooses Exit.
bool runGuarded(const std::string& operation, const std::function<void()>& work, bool allowIgnore = false);

// The application object whose event handlers all run under the error handler. It maps
// the faces the windows name to their metric twins where the system lacks them.
class GuardedApplication : public QApplication {
 public:
  GuardedApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace velmont::app
