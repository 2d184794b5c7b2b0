// The code page in force for each table, and a warning when a table's text
// looks written in another one.
#include "check_parts.h"
#include "data/code_page.h"
#include "data/error.h"
#include "data/table.h"

namespace velmont::batch {

namespace {

std::string hexByte(unsigned v) {
  static const char* digits = "0123456789ABCDEF";
  return std::string("0x") + digits[(v >> 4) & 15] + digits[v & 15];
}

}  // namespace

void checkCodePageFlag(CheckResult& result, const school::SchoolFolder& folder) {
  const data::CodePageFlag& flag = folder.codePageFlag();
  if (!flag.problem.empty())
    result.add(Severity::kWarning, data::kCodePageFlagFile,
               flag.problem.substr(flag.problem.find(": ") + 2) + "; it is ignored");
}

void checkCodePage(CheckResult& result, const std::string& file, data::Table& table) {
  const uint8_t driver = table.languageDriver();
  const data::CodePageChoice choice = data::codePageOf(table);
  result.add(Severity::kNote, file, "text in code page " + choice.describe(driver));
  if (driver != 0 && data::codePageOfDriver(driver) == 0)
    result.add(Severity::kWarning, file,
               "language driver " + hexByte(driver) + " names no code page the program converts; its text is read in " +
                   std::to_string(choice.codePage));

  data::CodePageEvidence evidence;
  std::vector<int> text;
  for (int i = 0; i < table.fieldCount(); ++i)
    if (table.field(i).type == 'C') text.push_back(i);
  if (text.empty()) return;
  try {
    for (table.goTop(); !table.eof(); table.skip())
      for (int i : text) evidence.add(table.str(i), choice.codePage);
  } catch (const data::DataError&) {
    return;  // unreadable records are reported on their own
  }
  if (!evidence.looksForeign()) return;
  const bool windows = choice.codePage >= 1250;
  result.add(Severity::kWarning, file,
             std::to_string(evidence.suspicious) + " of its " + std::to_string(evidence.national) +
                 " national characters are " + (windows ? "control or punctuation codes" : "box-drawing characters") +
                 " in code page " + std::to_string(choice.codePage) + ": its text looks written in another code page" +
                 (windows ? " (a DOS one such as 850?)" : " (a Windows one such as 1252?)") +
                 "; name it in codepage.$vl or with --codepage");
}

}  // namespace velmont::batch
