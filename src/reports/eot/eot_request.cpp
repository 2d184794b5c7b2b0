#include "eot_request.h"

#include <cctype>

#include "data/text.h"
#include "eot_run.h"
#include "school/saved_options.h"
#include "school/year_names.h"

namespace velmont::eot {
namespace {

// The saved options' positions of the digits and letters the run passes on.
constexpr size_t kPosPhoto = 9, kPosDoubl = 10, kPosDPage = 11, kPosPr1 = 13, kPosPr2 = 14;

// The numeric value of one option position: its digit, 0 for a blank or any
// other character (a damaged record must not give a negative digit).
int digitAt(const std::string& s, size_t pos) {
  return pos < s.size() && std::isdigit(static_cast<unsigned char>(s[pos])) ? s[pos] - '0' : 0;
}
std::string letterAt(const std::string& s, size_t pos) { return pos < s.size() ? s.substr(pos, 1) : " "; }

}  // namespace

EotRequest eotRequest(const school::SessionValues& session, const EotChoices& choices) {
  EotRequest r;
  EotOptions& o = r.options;
  const school::SchoolFolder& folder = session.folder;
  std::string from = choices.from, to = choices.to;
  data::Workspace ws;
  if (data::trim(from).empty() || data::trim(to).empty()) {
    std::string lowest, highest;
    school::yr_range(ws, folder, lowest, highest);
    if (data::trim(from).empty()) from = lowest;
    if (data::trim(to).empty()) to = highest;
  }
  o.startYear = reports::yearLevelChoice(ws, folder, "from", from, session.yearNames.word);
  o.endYear = reports::yearLevelChoice(ws, folder, "to", to, session.yearNames.word);
  o.homeClass = reports::schoolBytesChoice(choices.homeClass, folder, "class");
  o.student = reports::schoolBytesChoice(choices.student, folder, "student");
  o.initial = reports::schoolBytesChoice(choices.initial, folder, "initial");
  o.asAt = choices.asAt.empty() ? session.date : choices.asAt;
  o.reduc_yr = choices.reduceYear ? "Y" : "N";
  if (!choices.savedPrefs.empty()) {
    o.nPhoto = digitAt(choices.savedPrefs, kPosPhoto);
    o.nDoubl = digitAt(choices.savedPrefs, kPosDoubl);
    o.nDPage = digitAt(choices.savedPrefs, kPosDPage);
    o.cPr_1 = letterAt(choices.savedPrefs, kPosPr1);
    o.cPr_2 = letterAt(choices.savedPrefs, kPosPr2);
  }
  const std::string startCode = school::put_yrout(ws, folder, o.startYear);
  const std::string endCode = school::put_yrout(ws, folder, o.endYear);
  r.prefs = data::padTo(data::padTo(startCode, 2) + data::padTo(endCode, 2) + data::padTo(o.homeClass, 4) + "2 " +
                            std::to_string(o.nDoubl) + std::to_string(o.nDPage),
                        school::kPrefsWidth);
  r.run = eotRunRequest(session, choices.printerName, choices.preview);
  return r;
}

}  // namespace velmont::eot
