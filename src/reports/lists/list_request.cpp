#include "list_request.h"

#include "qtcore/school_text.h"
#include "school/year_names.h"

namespace velmont::lists {

ListBuilt listRequest(const school::SessionValues& v, const ListEntries& e) {
  ListBuilt built;
  ListRequest& r = built.request;
  data::Workspace ws;
  r.strt_yr = reports::yearLevelChoice(ws, v.folder, "level", e.level, v.yearNames.word);
  built.yearCode = school::put_yrout(ws, v.folder, r.strt_yr);
  r.home_cl = reports::schoolBytesChoice(e.homeClass, v.folder, "class");
  const qtcore::SchoolText& school = qtcore::SchoolText::of(v.folder.codePage().codePage);
  r.run.reportCode = e.reportCode;
  r.run.title = school.decode(v.homeCl + " List with Subjects");
  r.run.printerName = e.printerName;
  r.run.preview = e.preview;
  r.run.folder = v.folder;
  r.run.author = school.decode(v.school).trimmed();
  r.run.prAscii = v.prAscii;
  r.enrl_date = e.asAt.empty() ? v.date : e.asAt;
  r.C_assex = e.weight;
  r.subjectNames = e.subjectNames;
  r.choices = e.choices;
  r.term = v.term;
  r.year = v.year;
  r.date = v.date;
  r.cHomeCl = v.homeCl;
  r.school = v.school;
  r.title = v.title;
  r.hdAscii = v.hdAscii.empty() ? "Y" : v.hdAscii;
  return built;
}

}  // namespace velmont::lists
