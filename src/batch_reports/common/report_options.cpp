#include "report_options.h"

#include "data/file.h"
#include "data/table.h"
#include "data/workspace.h"
#include "school/term_rules.h"

namespace velmont::batch {

school::SchoolFolder dataFolderOption(const Arguments& a) {
  const std::string dir = a.value("data-dir").value_or(".");
  if (data::nonRegularKind(dir) != "a directory") throw UsageError("--data-dir: \"" + dir + "\" is not a directory");
  return school::SchoolFolder(dir);
}

data::Date asAtOption(const Arguments& a) {
  const std::optional<std::string> text = a.value("as-at");
  if (!text) return {};
  const data::Date date = data::Date::fromIsoText(*text);
  if (date.empty()) throw UsageError("--as-at: \"" + *text + "\" is not a date YYYY-MM-DD");
  return date;
}

int termOption(const Arguments& a, const school::SchoolFolder& folder, const data::Date& date) {
  if (a.has("term")) return int(a.number("term", 1, 1, 4));
  data::Workspace ws;
  data::Table& control = ws.open(folder.table("sccontro"), "sccontro");
  return school::deriveTerm(school::readTermStarts(control), date).term;
}

void oneDestination(const Arguments& a, const std::vector<std::string>& options) {
  int given = 0;
  std::string names;
  for (size_t i = 0; i < options.size(); ++i) {
    given += int(a.has(options[i]));
    const std::string value = options[i] == "printer" ? " NAME" : options[i] == "pdf-dir" ? " DIR" : " FILE";
    names += (i == 0 ? "" : i + 1 == options.size() ? " or " : ", ") + ("--" + options[i] + value);
  }
  if (given != 1) throw UsageError("give exactly one of " + names);
}

void pngGoesWithPages(const Arguments& a) {
  if (a.has("png") && a.has("text")) throw UsageError("--png cannot go with --text: a text file has no pages to draw");
}

}  // namespace velmont::batch
