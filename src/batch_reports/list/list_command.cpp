#include "list_command.h"

#include <sstream>

#include "batch/arguments.h"
#include "batch/batch_main.h"
#include "batch/code_page_option.h"
#include "data/code_page.h"
#include "qtcore/school_text.h"

#include <filesystem>

#include "school/school_settings.h"
#include "school/session.h"
#include "school/term_rules.h"
#include "data/table.h"
#include "data/workspace.h"
#include "school/year_names.h"
#include "batch_reports/common/console_run.h"
#include "batch_reports/common/output_choices.h"
#include "reports/common/output_paths.h"
#include "reports/lists/list_grid.h"
#include "batch_reports/common/report_options.h"
#include "reports/lists/list_request.h"
#include "reports/lists/list_run.h"

namespace velmont::batch {

namespace {

const char* const kListUsage =
    "usage: velmont-batch list [--data-dir DIR] [--term T] [--year YYYY] --level CODE [--class C]\n"
    "                          [--as-at YYYY-MM-DD] [--weight N] [--names] [--birthdates] [--marks]\n"
    "                          [--shading] (--pdf FILE | --text FILE | --printer NAME) [--png DIR]\n"
    "                          [--pdf-a] [--pages LIST] [--codepage N] [--text-encoding utf-8]\n"
    "                          [--line-ends lf] [--copies N] [--duplex long|short|off]\n"
    "\n"
    "Prints the home-class list with subjects of one year level, as the program's\n"
    "\"List with Subjects\" does, without windows.\n"
    "\n"
    "  --data-dir DIR   the school's data directory (default: the current directory)\n"
    "  --term T         the term, 1 to 4 (default: the term the --as-at date falls in)\n"
    "  --year YYYY      the school year (default this year)\n"
    "  --level CODE     the year level as the school names it (7, 12, K1, ...)\n"
    "  --class C        one home class (default: every class of the level)\n"
    "  --as-at DATE     list the students enrolled on this date (default today)\n"
    "  --weight N       the exam mark's weight in per cent, 0 to 100 (default 100)\n"
    "  --names          subject names as headings (default: subject codes)\n"
    "  --birthdates     show dates of birth\n"
    "  --marks          show marks as percentages (default: an asterisk per subject)\n"
    "  --shading        shade every other band of rows\n"
    "  --pdf FILE       write a PDF file\n"
    "  --text FILE      write plain text\n"
    "  --printer NAME   print on that printer\n"
    "  --copies N       with --printer: the number of copies\n"
    "  --duplex SIDE    with --printer: long or short (edge) for both sides of the paper, off for one\n"
    "  --png DIR        also write each page as DIR/page-0001.png, ... (not with --text)\n"
    "\n";
const std::string kListHelp = std::string(kListUsage) + kExitStatusHelp + kOutputChoicesHelp + kStopHelp + kCodePageHelp + kTextEncodingHelp;

}  // namespace

int listCommand(const std::vector<std::string>& words, std::ostream& out, std::ostream& err, int todayYear) {
  Arguments a(words, {"data-dir", "term", "year", "level", "class", "as-at", "weight", "pdf", "text", "printer", "png",
               "codepage", "text-encoding", "line-ends", "copies", "duplex", "pages"},
              {"names", "birthdates", "marks", "shading", "pdf-a"});
  if (a.helpAsked()) return out << kListHelp, kExitOk;
  a.expectPositionals(0, "options only (velmont-batch list --help)");
  oneDestination(a, {"pdf", "text", "printer"});
  pngGoesWithPages(a);
  const OutputChoices choices = outputChoices(a);
  if (choices.archival && !a.has("pdf")) throw UsageError("--pdf-a goes with --pdf");
  if (choices.pages && a.has("text")) throw UsageError("--pages goes with --pdf or --printer");
  if (!a.has("level")) throw UsageError("--level is required (the year level's code, e.g. 7)");

  const school::SchoolFolder folder = dataFolderOption(a);
  applyCodePageOption(a);
  const bool textUtf8 = textUtf8Option(a);
  const bool textLf = textLfOption(a);
  school::SessionValues v = school::freshSessionValues(folder, data::Date::today());
  v.year = int(a.number("year", todayYear, 1991, 2050));
  school::readSchoolWords(v);
  school::readSchoolName(v);
  school::readControlValues(v);

  lists::ListEntries asked;
  asked.level = *a.value("level");
  asked.homeClass = QString::fromStdString(a.value("class").value_or(""));
  asked.asAt = asAtOption(a);
  if (asked.asAt.empty()) asked.asAt = v.date;
  v.term = termOption(a, folder, asked.asAt);
  asked.weight = int(a.number("weight", 100, 0, 100));
  asked.subjectNames = a.has("names");
  asked.choices = {a.has("birthdates"), a.has("marks"), a.has("shading")};
  lists::ListRequest r;
  try {
    r = lists::listRequest(v, asked).request;
  } catch (const reports::RequestRefused& e) {
    throw UsageError(std::string("--") + e.what());
  }
  r.printerSettings = jobSettingsOption(a, false);

  for (const char* option : {"pdf", "text"})
    if (const auto path = a.value(option))
      if (const QStringList refused = reports::outputRefusal(*path, folder); !refused.isEmpty())
        throw UsageError(std::string("--") + option + ": " + refused.join(" ").toStdString());
  if (const auto png = a.value("png"))
    if (const QStringList refused = reports::outputFolderRefusal(*png, folder); !refused.isEmpty())
      throw UsageError("--png: " + refused.join(" ").toStdString());
  if (const auto pdf = a.value("pdf")) {
    r.run.printerName = print::kPdfDeviceName;
    r.run.outputFile = QString::fromStdString(*pdf);
    if (const auto png = a.value("png")) makePictureFolder(*png);
  } else if (const auto text = a.value("text")) {
    r.run.printerName = print::kPdfDeviceName;  // the text file takes the pages
    r.run.prAscii = *text;
    r.run.textUtf8 = textUtf8;
  r.run.textLf = textLf;
  } else {
    r.run.printerName = QString::fromStdString(*a.value("printer"));
    if (!print::printDeviceNames().contains(r.run.printerName))
      throw UsageError("--printer: no printer \"" + *a.value("printer") + "\"");
  }
  auto tally = std::make_shared<PageTally>();
  if (!a.has("text") && (a.has("png") || choices.archival || choices.pages)) {
    const QString name = r.run.printerName;
    r.run.makeDevice = outputDevice([name] { return print::openPrintDevice(name); },
                                    QString::fromStdString(a.value("png").value_or("")), choices, r.run.author, tally);
  }

  ensureGuiApplication();
  ConsoleRunUi ui(err, "students");
  const StopOnSignals stopOnSignals;
  r.run.control = stopOnSignals.control();
  const lists::ListOutcome o = lists::PR_STUDENTS(r, ui);
  if (o.ran && !o.nothingMatched && !o.stopped && o.printed && !reportPageList(choices, *tally, err))
    return kExitNothingMatched;
  if (!o.error.isEmpty() || ui.failed || !o.ran) return kExitDataProblem;
  if (o.stopped) return stopOnSignals.exitStatus();  // the notice is on err; nothing was written
  if (o.nothingMatched) return kExitNothingMatched;  // the message is on err; nothing was written
  if (!o.printed) {
    out << (o.columns == 0 ? std::string(lists::kNoSubjects) + "\n"
                           : std::string(lists::kNoStudents) + ".\n");
    return kExitNothingMatched;  // as for the cards: nothing was printed or written
  }
  out << reports::sentToNotice(r.run, o.destination).toStdString() << "\n";
  auto count = [](int n, const char* word) { return std::to_string(n) + " " + word + (n == 1 ? "" : "s"); };
  out << count(o.students, "student") << ", " << count(o.columns - 2, "subject") << ", " << count(o.pages, "page")
      << (o.landscape ? ", landscape" : "");
  if (choices.pages) out << ", " << tally->passed.size() << " of them printed";
  out << "\n";
  return kExitOk;
}

void registerListCommand() {
  registerBatchCommand("list", "print a year level's home-class list with subjects", listCommand);
}


}  // namespace velmont::batch
