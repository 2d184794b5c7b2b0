#include "eot_command.h"

#include <filesystem>
#include <memory>

#include "school/school_settings.h"
#include "school/session.h"
#include "batch/arguments.h"
#include "batch/batch_main.h"
#include "batch/code_page_option.h"
#include "batch_reports/common/console_run.h"
#include "batch_reports/common/output_choices.h"
#include "data/code_page.h"
#include "data/error.h"
#include "data/file.h"
#include "data/workspace.h"
#include "school/year_names.h"
#include "print/pdf_file_set.h"
#include "print/print_device.h"
#include "reports/common/output_paths.h"
#include "reports/eot/card_files.h"
#include "batch_reports/common/report_options.h"
#include "reports/eot/eot_request.h"
#include "reports/eot/eot_run.h"

namespace velmont::batch {

namespace {

using eot::CardSplit;

const char* const kEotUsage =
    "usage: velmont-batch eot [--data-dir DIR] [--term T] [--year YYYY] [--from CODE] [--to CODE]\n"
    "                         [--class C] [--as-at YYYY-MM-DD] [--student TEXT] [--initial X]\n"
    "                         [--reduce-year] (--pdf FILE | --pdf-dir DIR [--split family|student]\n"
    "                         | --text FILE | --printer NAME) [--png DIR] [--pdf-a] [--pages LIST]\n"
    "                         [--codepage N] [--text-encoding utf-8] [--line-ends lf]\n"
    "                         [--copies N] [--duplex long|short|off]\n"
    "\n"
    "Prints the school's end-of-term report cards, as the program's \"Print End of Term\n"
    "Reports\" does, with no windows.\n"
    "\n"
    "  --data-dir DIR     the school's data directory (default: the current directory)\n"
    "  --term T           the term, 1 to 4 (default: the term the --as-at date falls in)\n"
    "  --year YYYY        the school year (default this year)\n"
    "  --from, --to CODE  the first and last year level, as typed in the dialog (\" 9\", \"13\", \"FS\");\n"
    "                     default the lowest and highest level in use\n"
    "  --class C          only this home class (the class begins with C)\n"
    "  --as-at DATE       students enrolled on this date (default today)\n"
    "  --student TEXT     part of a surname, a student number, or -N for past-student record N\n"
    "  --initial X        with --student: the first or preferred name begins with X\n"
    "  --reduce-year      print year levels one lower (prior year)\n"
    "  --pdf FILE         write the cards to a PDF file\n"
    "  --pdf-dir DIR      write one PDF file per family (or per student, see --split) into DIR,\n"
    "                     with cards.csv beside them: a row per file with its name, pages,\n"
    "                     family code, addressee, students (numbers and names) and the family's\n"
    "                     e-mail address (from the families table's field whose name holds\n"
    "                     EMAIL; blank without one), in UTF-8. Files are named from the family\n"
    "                     code and surname (or the student number and name) and replace files\n"
    "                     of the same names; nothing is put in DIR unless the run ends well\n"
    "  --split BY         with --pdf-dir: family (the default; a family's file holds all its\n"
    "                     selected students' cards, each address copy once) or student\n"
    "  --text FILE        write the cards as plain text\n"
    "  --printer NAME     print on this printer\n"
    "  --copies N         with --printer: the number of copies\n"
    "  --duplex SIDE      with --printer: long or short (edge) for both sides of the paper, off for one;\n"
    "                     each card copy starts on the front of a sheet (a blank back is added\n"
    "                     after a copy that ends on a front). With --pdf or --pdf-dir: the same\n"
    "                     blank backs, for a PDF that is to be printed on both sides\n"
    "  --png DIR          also write each page as a PNG picture into DIR (not with --text)\n"
    "\n";
const std::string kEotHelp = std::string(kEotUsage) + kExitStatusHelp + kOutputChoicesHelp + kStopHelp + kCodePageHelp + kTextEncodingHelp;

// --split family|student, given or implied by --pdf-dir; nothing without --pdf-dir.
std::optional<CardSplit> splitOption(const Arguments& a) {
  const std::optional<std::string> by = a.value("split");
  if (!a.has("pdf-dir")) {
    if (by) throw UsageError("--split goes with --pdf-dir DIR");
    return std::nullopt;
  }
  if (!by || *by == "family") return CardSplit::kFamily;
  if (*by == "student") return CardSplit::kStudent;
  throw UsageError("--split: \"" + *by + "\" is not family or student");
}

}  // namespace

int eotCommand(const std::vector<std::string>& words, std::ostream& out, std::ostream& err, int todayYear) {
  Arguments a(words,
              {"data-dir", "term", "year", "from", "to", "class", "as-at", "student", "initial", "pdf", "text",
               "printer", "png", "codepage", "text-encoding", "line-ends", "copies", "duplex", "pdf-dir", "split", "pages"},
              {"reduce-year", "pdf-a"});
  if (a.helpAsked()) return out << kEotHelp, kExitOk;
  a.expectPositionals(0, "nothing but options (velmont-batch eot --help)");
  oneDestination(a, {"pdf", "pdf-dir", "text", "printer"});
  pngGoesWithPages(a);
  const std::optional<CardSplit> split = splitOption(a);
  const OutputChoices choices = outputChoices(a);
  if (choices.archival && !a.has("pdf") && !a.has("pdf-dir")) throw UsageError("--pdf-a goes with --pdf or --pdf-dir");
  if (choices.pages && !a.has("pdf") && !a.has("printer")) throw UsageError("--pages goes with --pdf or --printer");
  const school::SchoolFolder folder = dataFolderOption(a);
  applyCodePageOption(a);
  const bool textUtf8 = textUtf8Option(a);
  const bool textLf = textLfOption(a);
  ensureGuiApplication();

  school::SessionValues session = school::freshSessionValues(folder, data::Date::today());
  session.year = int(a.number("year", todayYear, 1991, 2050));
  session.regYear = todayYear;
  school::readSchoolWords(session);
  school::readSchoolName(session);
  school::readControlValues(session);

  eot::EotChoices asked;
  asked.from = a.value("from").value_or("");
  asked.to = a.value("to").value_or("");
  asked.homeClass = QString::fromStdString(a.value("class").value_or(""));
  asked.student = QString::fromStdString(a.value("student").value_or(""));
  asked.initial = QString::fromStdString(a.value("initial").value_or(""));
  asked.asAt = asAtOption(a);
  if (asked.asAt.empty()) asked.asAt = session.date;
  session.term = termOption(a, folder, asked.asAt);
  asked.reduceYear = a.has("reduce-year");
  asked.printerName = print::kPdfDeviceName;
  if (auto p = a.value("printer")) asked.printerName = QString::fromStdString(*p);
  const QString printer = asked.printerName;
  eot::EotRequest built;
  try {
    built = eot::eotRequest(session, asked);
  } catch (const reports::RequestRefused& e) {
    throw UsageError(std::string("--") + e.what());
  }
  const eot::EotOptions o = built.options;
  reports::RunRequest request = std::move(built.run);
  request.printerSettings = jobSettingsOption(a, true);
  session.prAscii = request.prAscii = a.value("text").value_or("");
  request.textUtf8 = textUtf8;
  request.textLf = textLf;
  const std::string pdf = a.value("pdf").value_or("");
  const std::string png = a.value("png").value_or("");
  const std::string pdfDir = a.value("pdf-dir").value_or("");
  for (const char* option : {"pdf", "text"})
    if (const auto path = a.value(option))
      if (const QStringList refused = reports::outputRefusal(*path, folder); !refused.isEmpty())
        throw UsageError(std::string("--") + option + ": " + refused.join(" ").toStdString());
  for (const char* option : {"png", "pdf-dir"})
    if (const QStringList refused = reports::outputFolderRefusal(a.value(option).value_or(""), folder); !refused.isEmpty())
      throw UsageError(std::string("--") + option + ": " + refused.join(" ").toStdString());
  if (!pdfDir.empty())
    if (const std::filesystem::path dir = data::fsPath(pdfDir); std::filesystem::exists(dir) && !std::filesystem::is_directory(dir))
      throw UsageError("--pdf-dir: " + pdfDir + " is a file, not a folder");
  if (!png.empty()) makePictureFolder(png);
  std::shared_ptr<print::PdfFileSet> files;
  std::unique_ptr<eot::CardFiles> cardFiles;
  if (split) {
    files = eot::CardFiles::makeSet(QString::fromStdString(pdfDir));
    cardFiles = std::make_unique<eot::CardFiles>(files, *split, folder.codePage().codePage);
  }
  auto tally = std::make_shared<PageTally>();
  if (!pdf.empty() || !png.empty() || files || choices.archival || choices.pages) {
    std::function<std::unique_ptr<print::PrintDevice>()> base = [printer, pdf, files]() {
      if (files) return files->device();
      auto device = print::openPrintDevice(printer);
      if (device && !pdf.empty()) device->setOutputFile(QString::fromStdString(pdf));
      return device;
    };
    request.makeDevice = outputDevice(base, QString::fromStdString(png), choices, request.author, tally);
  }
  if (printer != print::kPdfDeviceName && !print::openPrintDevice(printer))
    throw UsageError("--printer: no printer named \"" + printer.toStdString() + "\"");

  ConsoleRunUi ui(err, "cards");
  eot::EotFigures figures;
  const StopOnSignals stopOnSignals;
  request.control = stopOnSignals.control();
  const reports::RunOutcome outcome = eot::PR_EOT_RPTS(request, o, session, ui, &figures, cardFiles.get());
  if (outcome.ran && !outcome.nothingMatched && !outcome.stopped && !reportPageList(choices, *tally, err))
    return kExitNothingMatched;
  if (!outcome.error.isEmpty() || ui.failed || !outcome.ran) return kExitDataProblem;
  if (outcome.stopped) return stopOnSignals.exitStatus();  // the notice is on err; nothing was written
  if (outcome.nothingMatched) return kExitNothingMatched;  // the message is on err; nothing was written
  const int pages = choices.pages ? int(tally->passed.size()) : outcome.pages;
  auto count = [](int n, const char* word) { return std::to_string(n) + " " + word + (n == 1 ? "" : "s"); };
  out << count(figures.students, "student") << ", " << count(figures.cards, "card") << ", " << count(pages, "page");
  if (files) out << " in " << files->filesWritten() << " files and " << eot::kCardIndexName;
  if (!outcome.destination.isEmpty()) out << " to " << outcome.destination.toStdString();
  out << "\n";
  return kExitOk;
}

void registerEotCommand() {
  registerBatchCommand("eot", "print the end-of-term report cards (to PDF, text or a printer)", eotCommand);
}

}  // namespace velmont::batch
