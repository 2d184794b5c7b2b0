#include "request_checks.h"

#include "data/text.h"
#include "qtcore/school_text.h"
#include "school/year_names.h"

namespace velmont::reports {

int yearLevelChoice(data::Workspace& ws, const school::SchoolFolder& folder, const std::string& field,
                    const std::string& code, const std::string& yrGrd) {
  int level = 0;
  const school::YearCheck check = school::checkYearEntry(ws, folder, code, &level);
  if (check == school::YearCheck::kUnknown) {
    const std::string what = "the school has no year level \"" + code + "\"";
    throw RequestRefused(field, field + ": " + what, {QString::fromStdString(what)});
  }
  if (level < 1 || level > 20) {
    const std::string what = "a year level lies between 1 and 20";
    throw RequestRefused(field, field + " " + code + ": " + what, {QString::fromStdString(what)});
  }
  if (check == school::YearCheck::kNoFees) {
    const auto lines = school::yearFeesMessage(yrGrd);
    throw RequestRefused(field, field + " " + code + ": " + lines[0] + " " + lines[1],
                         {QString::fromStdString(lines[0]), QString::fromStdString(lines[1])});
  }
  return level;
}

std::string schoolBytesChoice(const QString& typed, const school::SchoolFolder& folder, const std::string& field) {
  const qtcore::SchoolText& text = qtcore::SchoolText::of(folder.codePage().codePage);
  std::string bytes;
  if (!text.encode(typed, bytes)) {
    const QString refusal = text.refusalMessage(text.refusedCharacter(typed));
    throw RequestRefused(field, field + ": " + refusal.toStdString(), {refusal});
  }
  return data::trim(bytes);
}

}  // namespace velmont::reports
