#pragma once
// Runs a tool of the machine the tests run on (pdftotext, pdfinfo, diff) and collects
// its output. The Windows build's tests run under Wine on Linux and start the Linux
// tool itself: file names among the arguments become the Unix paths the tool can open,
// and since Wine hands back no exit status of a Linux program, a shell reports it on
// the last line of the tool's error output.
#include <QByteArray>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#ifdef _WIN32
#include <QDeadlineTimer>
#include <QTemporaryFile>
#include <QThread>
#include <algorithm>
#include <windows.h>
#endif

namespace velmont::testing {

struct HostToolRun {
  bool ended = false;  // ran to its end within the time allowed
  int exitCode = -1;
  QByteArray out, err;
};

#ifdef _WIN32
// A Windows file name ("C:/x" or "C:\x") as Wine's Unix path; other arguments as they are.
inline QString hostArgument(const QString& argument) {
  static const QRegularExpression drivePath("^[A-Za-z]:[/\\\\]");
  if (!drivePath.match(argument).hasMatch()) return argument;
  using ToUnix = char*(CDECL*)(LPCWSTR);
  static const auto toUnix =
      reinterpret_cast<ToUnix>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
  if (!toUnix) return argument;
  char* unix = toUnix(reinterpret_cast<LPCWSTR>(argument.utf16()));
  if (!unix) return argument;
  const QString path = QString::fromUtf8(unix);
  HeapFree(GetProcessHeap(), 0, unix);
  return path;
}
#endif

inline HostToolRun runHostTool(const QString& program, const QStringList& arguments, int waitMs = 60000) {
  QProcess process;
#ifdef _WIN32
  // The tool's output and error output go to files, with the shell's report of its exit
  // status last in the error file: a Linux program's standard streams do not always
  // reach a Windows pipe under Wine, and Wine hands back no exit status of its own.
  QTemporaryFile output, errors;
  if (!output.open() || !errors.open()) return {};
  output.close();
  errors.close();
  QStringList shellArguments{"-c",
                             "out=$1; err=$2; shift 2; \"$@\" >\"$out\" 2>\"$err\"; echo \"exit status $?\" >>\"$err\"",
                             "sh", hostArgument(QDir::toNativeSeparators(output.fileName())),
                             hostArgument(QDir::toNativeSeparators(errors.fileName())), program};
  for (const QString& argument : arguments) shellArguments << hostArgument(argument);
  process.start("Z:/bin/sh", shellArguments);
  // Wine may call the shell ended before it is: the status line is what says it has.
  HostToolRun run;
  QDeadlineTimer deadline(waitMs);
  qsizetype status = -1;
  while (status < 0) {
    process.waitForFinished(int(std::min<qint64>(deadline.remainingTime(), 50)));
    if (errors.open()) {
      run.err = errors.readAll();
      errors.close();
    }
    status = run.err.lastIndexOf("exit status ");
    if (status < 0 && deadline.hasExpired()) break;
    if (status < 0 && process.state() == QProcess::NotRunning) QThread::msleep(20);
  }
  if (output.open()) run.out = output.readAll();
  run.exitCode = status >= 0 ? run.err.mid(status + 12).trimmed().toInt() : -1;
  // Wine reports a Linux program's end as a crash: the shell's last line tells it ended.
  run.ended = status >= 0;
  if (status >= 0) run.err.truncate(status);
#else
  process.start(program, arguments);
  HostToolRun run;
  run.ended = process.waitForFinished(waitMs) && process.exitStatus() == QProcess::NormalExit;
  run.out = process.readAllStandardOutput();
  run.err = process.readAllStandardError();
  run.exitCode = process.exitCode();
#endif
  return run;
}

}  // namespace velmont::testing
