#include "letterhead.h"

#include "data/file.h"
#include "data/numeric.h"
#include "data/table.h"
#include "data/text.h"
#include "libs/installation.h"
#include "libs/letterhead_setup.h"
#include "qtcore/school_text.h"

namespace velmont::reports {

using data::Table;

namespace {

std::unique_ptr<Table> openLetterhead(const school::SchoolFolder& folder) {
  const std::string path = folder.path(libs::kLetterheadFile);
  if (!data::Env::current()->exists(path))
    libs::setup_lhed(path, folder.path(libs::kInstallationFile), folder.languageDriver());
  return Table::open(path, "rvhplogo");
}

// A field of the current record as the letterhead description holds it; texts
// in the school's code page `school`.
std::string asText(const Table& t, const char* name, const qtcore::SchoolText& school) {
  const int i = t.requireField(name);
  const data::FieldDesc& f = t.field(i);
  switch (f.type) {
    case 'N': return data::formatStr(t.num(i), f.width, f.decimals);
    case 'L': return t.logical(i) ? "Y" : "N";
    default: return school.transcode(t.str(i), qtcore::SchoolText::of(t));
  }
}

void append(std::vector<std::string>& out, const Table& t, std::initializer_list<const char*> fields,
            const qtcore::SchoolText& school) {
  for (const char* f : fields) out.push_back(asText(t, f, school));
}

}  // namespace

std::vector<std::string> LOAD_LHED(const school::SchoolFolder& folder) {
  auto t = openLetterhead(folder);
  const qtcore::SchoolText& school = qtcore::SchoolText::of(folder.codePage().codePage);
  std::vector<std::string> aLhd;
  aLhd.reserve(54);
  t->goTo(5);
  append(aLhd, *t, {"LDE", "LX", "LY", "LW"}, school);
  t->goTop();
  for (int line = 1; line <= 3; ++line, t->skip()) append(aLhd, *t, {"LX", "LY", "LP", "LBLD", "LULN", "LDE"}, school);
  append(aLhd, *t, {"LX", "LY", "LH", "LW"}, school);  // record 4
  t->skip(2);                                  // past the logo record
  for (int record = 6; record <= 9; ++record, t->skip()) append(aLhd, *t, {"LX", "LY", "LH", "LW", "LP"}, school);
  append(aLhd, *t, {"LX", "LY", "LW", "LP"}, school);  // record 10
  t->skip();
  append(aLhd, *t, {"LX", "LY", "LH", "LP"}, school);  // record 11
  return aLhd;
}

std::string FIND_LOGO(const school::SchoolFolder& folder, const std::string& prefix, std::string& w_mark) {
  std::string logo;
  {
    auto t = openLetterhead(folder);
    // The names are the school's text: decoded before the files are looked up.
    const qtcore::SchoolText& text = qtcore::SchoolText::of(*t);
    t->goTo(5);
    const std::string name = text.toUtf8(data::rtrim(t->str("LDE")));
    if (!name.empty() && !folder.file(name).empty()) logo = prefix + name;
    t->goTo(6);
    const std::string mark = text.toUtf8(data::trim(t->str("LDE")));
    w_mark = !mark.empty() && !folder.file(mark).empty() ? mark : "";
  }
  if (logo.empty() && !folder.file("school.gif").empty()) logo = prefix + "school.gif";
  return logo;
}

}  // namespace velmont::reports
