#include "error_handler.h"

#include <QDateTime>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <new>
#include <sstream>
#include <system_error>

#include "data/error.h"
#include "data/file.h"
#include "print/print_font.h"
#include "qtcore/gui_thread.h"
#include "stack_trace.h"

namespace velmont::app {
namespace {

std::mutex gMutex;
std::string gLogDir = ".";

constexpr const char* kErrorLogFile = "velmont-error.log";

std::string threadName() {
  if (qtcore::onGuiThread()) return "GUI thread";
  std::ostringstream s;
  s << "worker thread " << QThread::currentThreadId();
  return s.str();
}

void endProgram() {
  qtcore::later(nullptr, [] { QApplication::exit(2); });
}

}  // namespace

ErrorInfo describeException(std::exception_ptr error, const std::string& operation, const std::string& arguments) {
  ErrorInfo info;
  info.operation = operation;
  info.arguments = arguments;
  info.thread = threadName();
  info.stack = lastThrowStack();
  if (info.stack.empty()) info.stack = captureStack();
  try {
    std::rethrow_exception(error);
  } catch (const data::DataError& e) {
    info.subsystem = "tables";
    info.genCode = 1;
    info.file = e.file();
    info.description = e.reason();
  } catch (const std::system_error& e) {
    info.subsystem = "system";
    info.genCode = 2;
    info.osCode = e.code().value();
    info.description = e.what();
  } catch (const std::bad_alloc&) {
    info.subsystem = "memory";
    info.genCode = 3;
    info.description = "Out of memory";
  } catch (const std::exception& e) {
    info.subsystem = "program";
    info.genCode = 4;
    info.description = e.what();
  } catch (...) {
    info.subsystem = "program";
    info.genCode = 5;
    info.description = "An unknown failure";
  }
  return info;
}

ErrorChoice showErrorBox(const ErrorInfo& info, bool allowIgnore) {
  return qtcore::callOnGui([&] {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName() + " - Error",
                    QString::fromStdString(info.description), QMessageBox::NoButton, QApplication::activeWindow());
    box.setObjectName("errorBox");
    QString details = "While: " + QString::fromStdString(info.operation);
    if (!info.file.empty()) details += "\nFile: " + QString::fromStdString(info.file);
    box.setInformativeText(details);
    QPushButton* retry = box.addButton("Retry", QMessageBox::AcceptRole);
    QPushButton* ignore = allowIgnore ? box.addButton("Ignore", QMessageBox::AcceptRole) : nullptr;
    QPushButton* cancel = box.addButton("Cancel", QMessageBox::RejectRole);
    QPushButton* quit = box.addButton("Exit", QMessageBox::DestructiveRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    QAbstractButton* chosen = box.clickedButton();
    if (chosen == retry) return ErrorChoice::kRetry;
    if (ignore && chosen == ignore) return ErrorChoice::kIgnore;
    if (chosen == quit) return ErrorChoice::kExit;
    return ErrorChoice::kCancel;
  });
}

std::string errorLogText(const ErrorInfo& info) {
  std::ostringstream s;
  s << "=== " << QDateTime::currentDateTime().toString(Qt::ISODate).toStdString() << " "
    << QApplication::applicationDisplayName().toStdString() << "\r\n"
    << "Description: " << info.description << "\r\n"
    << "Operation:   " << info.operation << "\r\n"
    << "Subsystem:   " << info.subsystem << "\r\n"
    << "Codes:       " << info.genCode << " (program), " << info.osCode << " (system)\r\n"
    << "File:        " << info.file << "\r\n"
    << "Arguments:   " << info.arguments << "\r\n"
    << "Thread:      " << info.thread << "\r\n"
    << "Call stack:\r\n";
  std::istringstream lines(info.stack);
  for (std::string line; std::getline(lines, line);) s << line << "\r\n";
  return s.str();
}

std::string writeErrorLog(const ErrorInfo& info) {
  std::lock_guard lock(gMutex);
  const std::string text = errorLogText(info);
  for (const std::string& dir : {gLogDir, QDir::tempPath().toStdString()}) {
    const std::string path = data::pathIn(dir, kErrorLogFile);
    std::ofstream out(data::fsPath(path), std::ios::binary | std::ios::app);
    if (out && (out << text).flush()) return path;
  }
  std::fputs(text.c_str(), stderr);
  return "";
}

void installErrorHandler(const std::string& dataDir) {
  {
    std::lock_guard lock(gMutex);
    gLogDir = dataDir;
  }
  installCrashLog(data::pathIn(dataDir, kErrorLogFile));
}

bool runGuarded(const std::string& operation, const std::function<void()>& work, bool allowIgnore) {
  for (;;) {
    try {
      work();
      return true;
    } catch (...) {
      const ErrorInfo info = describeException(std::current_exception(), operation);
      switch (showErrorBox(info, allowIgnore)) {
        case ErrorChoice::kRetry:
          continue;
        case ErrorChoice::kExit: {
          const std::string path = writeErrorLog(info);
          if (!path.empty()) std::fprintf(stderr, "The error log is %s\n", path.c_str());
          endProgram();
          return false;
        }
        case ErrorChoice::kIgnore:
        case ErrorChoice::kCancel:
          return false;
      }
    }
  }
}

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {
  print::installFontSubstitutions();
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
  bool result = false;
  const std::string operation = "handling an event of " + std::string(receiver->metaObject()->className());
  const std::string arguments = "event type " + std::to_string(int(event->type())) + " to \"" +
                                receiver->objectName().toStdString() + "\"";
  for (;;) {
    try {
      return QApplication::notify(receiver, event);
    } catch (...) {
      const ErrorInfo info = describeException(std::current_exception(), operation, arguments);
      const ErrorChoice choice = showErrorBox(info, true);
      if (choice == ErrorChoice::kRetry) continue;
      if (choice == ErrorChoice::kExit) {
        const std::string path = writeErrorLog(info);
        if (!path.empty()) std::fprintf(stderr, "The error log is %s\n", path.c_str());
        endProgram();
      }
      return result;
    }
  }
}

}  // namespace velmont::app
