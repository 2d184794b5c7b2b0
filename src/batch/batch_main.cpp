#include "batch_main.h"

#include <algorithm>
#include <iomanip>
#include <map>
#include <sstream>
#include <stdexcept>

#include "arguments.h"
#include "code_page_option.h"
#include "data/error.h"
#include "demo_school.h"
#include "progress.h"
#include "school_check.h"
#include "table_dump.h"

namespace velmont::batch {

namespace {

const char* const kUsage =
    "usage: velmont-batch COMMAND [ARGUMENTS]\n"
    "\n"
    "Commands:\n"
    "  demo DIR    write a sample school's data directory\n"
    "  check DIR   examine a school's data directory for what would stop a report\n"
    "  dump TABLE  print a table's records as CSV\n"
    "\n"
    "velmont-batch COMMAND --help tells more about each; velmont-batch --version prints the version.\n";

const char* const kDemoUsage =
    "usage: velmont-batch demo DIR [--students N] [--year YYYY] [--seed S] [--flags LIST] [--replace]\n"
    "                              [--codepage N]\n"
    "\n"
    "Writes a complete sample school into DIR, the same bytes for the same arguments:\n"
    "students, families, past students, the year's subjects with marks and comments,\n"
    "subjects, comment bank, staff, control records, installation record, letterhead\n"
    "settings and pictures.\n"
    "\n"
    "  --students N   number of students, 30 to 50000 (default 120)\n"
    "  --year YYYY    the school year, 1991 to 2050 (default this year)\n"
    "  --seed S       varies the invented names and marks (default 1)\n"
    "  --flags LIST   flag and text files to add, separated by commas, from\n"
    "                 homecl, house, namibia, grade, arank, erank, or all (default none)\n"
    "  --replace      rewrite DIR when an earlier demo made it\n"
    "  --codepage N   the code page of the school's text (default 850); a few names, an\n"
    "                 address, a subject, a comment, a note and a heading carry national\n"
    "                 letters in it, and codepage.$vl names it unless it is 850\n"
    "\n"
    "DIR must be new or empty unless --replace is given.\n";

const char* const kCheckUsage =
    "usage: velmont-batch check DIR [--year YYYY] [--codepage N]\n"
    "\n"
    "Opens every table and index file in DIR that the program uses and reports, one line\n"
    "each, what is missing or damaged: fields the program reads, index keys out of order\n"
    "or not matching their table, control records the program addresses. Writes nothing.\n"
    "\n"
    "  --year YYYY    the school year whose subject table must be present (default this year)\n"
    "  --codepage N   read every table's text in code page N\n"
    "\n"
    "Each table's line names the code page its text is read in, and a warning says when\n"
    "the text looks written in another code page.\n"
    "\n"
    "Exit status 0 when no report would be stopped, 1 when something would stop one.\n";

const char* const kDumpUsage =
    "usage: velmont-batch dump TABLE [--index FILE] [--fields F1,F2,...]\n"
    "\n"
    "Prints TABLE's records as CSV with a header line: deleted records left out,\n"
    "trailing blanks trimmed, dates as YYYY-MM-DD, logicals as T or F, memos as text.\n"
    "The values are data for programs and stay as stored: one that begins with =, +, - or @\n"
    "is not made safe for a spreadsheet, which may take it for a formula.\n"
    "\n"
    "  --index FILE   print in the order of this NTX index file (default: file order)\n"
    "  --fields LIST  only these fields, in this order\n";

struct Registered {
  std::string summary;
  BatchCommand command;
};

std::map<std::string, Registered>& registered() {
  static std::map<std::string, Registered> commands;
  return commands;
}

std::string usageText() {
  std::string text = kUsage;
  if (registered().empty()) return text;
  std::ostringstream more;
  // In the column of the built-in commands: "  eot ...     print the ...".
  for (const auto& [name, entry] : registered()) more << "  " << std::left << std::setw(12) << name + " ..." << entry.summary << "\n";
  const std::string anchor = "\nvelmont-batch COMMAND --help";
  const size_t at = text.find(anchor);
  return at == std::string::npos ? text + more.str() : text.insert(at, more.str());
}

int demo(const std::vector<std::string>& words, std::ostream& out, std::ostream& err, int todayYear) {
  Arguments a(words, {"students", "year", "seed", "flags", "codepage"}, {"replace"});
  if (a.helpAsked()) return out << kDemoUsage, kExitOk;
  a.expectPositionals(1, "directory (velmont-batch demo DIR)");
  DemoOptions o;
  o.dir = a.positionals()[0];
  o.students = int(a.number("students", 120, 30, 50000));
  o.year = int(a.number("year", todayYear, 1991, 2050));
  o.seed = uint64_t(a.number("seed", 1, 0, 999999999));
  o.replace = a.has("replace");
  if (const int cp = codePageOption(a); cp != 0) o.codePage = cp;
  for (const std::string& f : a.list("flags")) {
    if (f == "all") {
      o.flags.insert(std::begin(kDemoFlagNames), std::end(kDemoFlagNames));
    } else if (std::find(std::begin(kDemoFlagNames), std::end(kDemoFlagNames), f) != std::end(kDemoFlagNames)) {
      o.flags.insert(f);
    } else {
      throw UsageError("--flags: unknown flag file \"" + f + "\" (homecl, house, namibia, grade, arank, erank, all)");
    }
  }
  Progress progress;
  const DemoReport report = writeDemoSchool(o, progress);
  printDemoSummary(out, o, report);
  return kExitOk;
}

int check(const std::vector<std::string>& words, std::ostream& out, std::ostream& err, int todayYear) {
  Arguments a(words, {"year", "codepage"});
  if (a.helpAsked()) return out << kCheckUsage, kExitOk;
  applyCodePageOption(a);
  a.expectPositionals(1, "directory (velmont-batch check DIR)");
  const int year = int(a.number("year", todayYear, 1991, 2050));
  Progress progress;
  const CheckResult result = checkSchool(a.positionals()[0], year, progress);
  printFindings(out, a.positionals()[0], result);
  return result.stopsReports() ? kExitDataProblem : kExitOk;
}

int dump(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
  Arguments a(words, {"index", "fields"});
  if (a.helpAsked()) return out << kDumpUsage, kExitOk;
  a.expectPositionals(1, "table (velmont-batch dump TABLE)");
  DumpOptions o;
  o.table = a.positionals()[0];
  o.index = a.value("index").value_or("");
  o.fields = a.list("fields");
  if (a.has("fields") && o.fields.empty()) throw UsageError("--fields needs at least one field name");
  dumpTable(o, out);
  return kExitOk;
}

// Every command, the report commands this build has included: "demo, check, dump, eot or list".
std::string commandNames() {
  std::vector<std::string> names = {"demo", "check", "dump"};
  for (const auto& [name, command] : registered()) names.push_back(name);
  std::string text;
  for (size_t i = 0; i < names.size(); ++i) text += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + names[i];
  return text;
}

}  // namespace

void registerBatchCommand(const std::string& name, const std::string& summary, BatchCommand command) {
  registered()[name] = Registered{summary, std::move(command)};
}

int runBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, int todayYear) {
  try {
    if (args.empty()) throw UsageError("missing command (" + commandNames() + "); velmont-batch --help tells more");
    const std::string& command = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "--help" || command == "-h" || command == "help") return out << usageText(), kExitOk;
    if (command == "demo") return demo(rest, out, err, todayYear);
    if (command == "check") return check(rest, out, err, todayYear);
    if (command == "dump") return dump(rest, out, err);
    if (auto it = registered().find(command); it != registered().end()) return it->second.command(rest, out, err, todayYear);
    throw UsageError("unknown command \"" + command + "\" (" + commandNames() + ")");
  } catch (const UsageError& e) {
    err << "velmont-batch: " << e.what() << "\n";
    return kExitUsage;
  } catch (const std::invalid_argument& e) {
    err << "velmont-batch: " << e.what() << "\n";
    return kExitDataProblem;
  } catch (const data::DataError& e) {
    err << "velmont-batch: " << e.what() << "\n";
    return kExitDataProblem;
  } catch (const std::exception& e) {
    err << "velmont-batch: " << e.what() << "\n";
    return kExitDataProblem;
  }
}

}  // namespace velmont::batch
