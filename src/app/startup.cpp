#include "startup.h"

#include <QApplication>
#include <QLocale>
#include <QMessageBox>

#include "data/mem_env.h"
#include "data/ntx.h"
#include "data/table.h"
#include "data_errors.h"
#include "error_handler.h"
#include "libs/date_text.h"
#include "libs/lmd_tables.h"
#include "libs/usage_log.h"
#include "widgets/lmd_app.h"
#include "widgets/lmd_messages.h"
#include "main_window.h"
#include "print/message_hook.h"
#include "preview/preview_dialogs.h"
#include "preview/preview_level.h"
#include "school/school_settings.h"
#include "school/term_rules.h"

namespace velmont::app {

CommandLine parseCommandLine(const std::vector<std::string>& args) {
  CommandLine cl;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--data-dir") {
      if (i + 1 >= args.size()) {
        cl.error = "--data-dir needs a directory";
        return cl;
      }
      cl.dataDir = args[++i];
    } else if (a.rfind("--data-dir=", 0) == 0) {
      cl.dataDir = a.substr(11);
    } else if (a.size() > 1 && a[0] == '-' && !(a[1] >= '0' && a[1] <= '9')) {
      cl.error = "unknown option " + a;
      return cl;
    } else if (cl.positional.size() < 2) {
      cl.positional.push_back(a);
    } else {
      cl.error = "too many arguments";
      return cl;
    }
  }
  return cl;
}

std::vector<std::string> tableEngineFailures() {
  std::vector<std::string> failures;
  data::MemEnv env;
  data::ScopedEnv scoped(&env);
  bool dbf = false, ntx = false;
  try {
    data::DbfFile::create("probe.dbf", {{"K", 'C', 4}});
    auto t = data::Table::open("probe.dbf", "probe", data::OpenMode::kReadWrite);
    t->appendBlank();
    t->replace("K", "b");
    t->commit();
    dbf = true;
    t->createIndex("probe.ntx", "K");
    ntx = true;
    t->addIndex("probe.ntx");
    if (!t->seek("b")) throw data::DataError("probe.ntx", "seek failed");
  } catch (const std::exception&) {
    if (!dbf) failures.push_back("Database engine DBFDBE not loaded");
    if (!ntx) failures.push_back("Database engine NTXDBE not loaded");
    failures.push_back("DBFNTX database engine could not be created");
  }
  return failures;
}

void takeSystemDateOrder() {
  const QLocale locale;
  if (locale.language() == QLocale::C) return;  // no real setting: keep day, month, year
  const QString format = locale.dateFormat(QLocale::ShortFormat);
  const qsizetype d = format.indexOf('d'), m = format.indexOf('M'), y = format.indexOf('y');
  if (d < 0 || m < 0 || y < 0) return;
  if (y < m && m < d) libs::setDateOrder(libs::DateOrder::kYearMonthDay);
  else if (m < d) libs::setDateOrder(libs::DateOrder::kMonthDayYear);
  else libs::setDateOrder(libs::DateOrder::kDayMonthYear);
}

Program::Program(CommandLine commandLine) : commandLine_(std::move(commandLine)) {}

Program::~Program() {
  // The zoom level goes back to the preview's own store before the session goes.
  preview::setPreviewZoomLevelStore({}, {});
}

void Program::setUpTableEngine() {
  for (const std::string& message : tableEngineFailures()) widgets::lmdMsg({QString::fromStdString(message)});
}

bool Program::start() {
  // 1, 2: the table layer; no console of our own.
  setUpTableEngine();
  takeSystemDateOrder();

  // 3: session values, year names and the school's words.
  session_ = std::make_unique<school::Session>(freshSessionValues(school::SchoolFolder(commandLine_.dataDir), data::Date::today()));
  school::SessionValues v = session_->values();
  QApplication::setApplicationDisplayName(QString::fromStdString(v.title));
  installErrorHandler(v.folder.dir());
  showDataErrors(nullptr, [&] { school::readSchoolWords(v); });

  // 4, 5, 6: the outside libraries are linked in; the school's name and the
  // control table's values. A file that cannot be read is told, and start-up
  // goes on without its values.
  showDataErrors(nullptr, [&] { school::readSchoolName(v); });
  showDataErrors(nullptr, [&] { school::readControlValues(v); });
  session_->update([&](school::SessionValues& values) { values = v; });

  // 7: one copy per title, the usage log.
  if (commandLine_.singleInstance && !widgets::lmdOneInst(QString::fromStdString(v.title))) {
    widgets::lmdMsg({QString::fromStdString(v.title) + " is already running."});
    exitCode_ = 1;
    return false;
  }
  libs::lmdSetUserLog(v.folder.path(libs::kUsageLogFile), false);
  // The page printer's messages (it runs on report threads) become message boxes.
  print::setMessageHook([](const print::MessageRequest& m) { widgets::lmdMsg(m.lines, m.options); });
  // The preview's questions use the same boxes, and its zoom level is the session's c_Level.
  preview::setPreviewDialogs({[](const QString& q, QWidget* owner) { return widgets::lmdYesNo({q}, owner); },
                            [](const QStringList& lines, QWidget* owner) { widgets::lmdMsg(lines, 0, owner); },
                            {}});
  school::Session* session = session_.get();
  preview::setPreviewZoomLevelStore([session] { return session->get(&school::SessionValues::zoomLevel); },
                                  [session](int level) { session->set(&school::SessionValues::zoomLevel, level); });

  // 8: the session settings (four-digit years, 1951-2050, exact comparisons,
  // deleted records hidden, soft seeks) are the table layer's own rules.

  // 9: the main window and its captions; the arguments.
  window_ = std::make_unique<MainWindow>(*session_);
  bool anyArgument = false;
  session_->update([&](school::SessionValues& values) { anyArgument = school::applyArguments(values, commandLine_.positional); });
  if (anyArgument) window_->updateCaptions();

  // 10, 11: menu and banner.
  window_->buildMenu();
  window_->drawBanner();

  // 12: no students table, no program.
  if (!v.folder.has("ststuden.dbf")) {
    widgets::lmdMsg({"STUDENT files are not here", "We cannot continue!"}, 14, window_->window());
    exitCode_ = 1;
    return false;
  }
  return true;
}

int Program::exec() { return QApplication::exec(); }

}  // namespace velmont::app
