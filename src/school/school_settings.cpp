#include "school_settings.h"

#include "data/file.h"
#include "data/text.h"
#include "data/workspace.h"
#include "libs/installation.h"
#include "libs/lmd_tables.h"
#include "school_folder.h"

namespace velmont::school {

namespace {
constexpr size_t kSideFileLimit = 4096;
}

std::string firstLineOf(const school::SchoolFolder& folder, const std::string& name, size_t width) {
  // A flag file holds one short word: a little is read, whatever the file is.
  std::string line = folder.readFlagFile(name, kSideFileLimit);
  if (const size_t lf = line.find('\n'); lf != std::string::npos) line.resize(lf);
  // The first characters of the file, up to its first line end.
  if (const size_t cr = line.find('\r'); cr != std::string::npos) line.resize(cr);
  if (line.size() > width) line.resize(width);
  return data::rtrim(line);
}

void readSchoolWords(SessionValues& v) {
  v.yearNames = school::YEAR_NAMES(v.folder);
  if (v.folder.has("homecl.$vl")) v.homeCl = firstLineOf(v.folder, "homecl.$vl", 12);
  if (v.folder.has("house.$vl")) v.house = firstLineOf(v.folder, "house.$vl", 12);
}

void readSchoolName(SessionValues& v) {
  v.school = "";
  if (!v.folder.has(libs::kInstallationFile)) return;
  data::Workspace& ws = data::Workspace::forThisThread();
  const int saved = ws.currentArea();
  data::Table& ccmp = v.folder.open(libs::kInstallationFile, "ccmp");
  ccmp.goTop();
  v.school = ccmp.eof() ? "" : libs::dekript(ccmp.str("C1"), -1.0);
  ws.close("ccmp");
  ws.select(saved);
}

void readControlValues(SessionValues& v) {
  v.parents = v.folder.has("paparent.dbf");
  data::Workspace& ws = data::Workspace::forThisThread();
  const bool wasOpen = ws.isOpen("sccontro");
  const int saved = ws.currentArea();
  data::Table& control = v.folder.open("sccontro", "sccontro");
  struct Close {
    data::Workspace& ws;
    data::Table& t;
    bool keep;
    int area;
    ~Close() {
      t.clearFilter();
      t.goTop();
      if (!keep) ws.close("sccontro");
      ws.select(area);
    }
  } close{ws, control, wasOpen, saved};

  control.goTop();
  v.gender = std::string(control.str("PA_GENDER"));
  // Houses and cottages: the non-blank names of the first nine records, by
  // their field numbers 41 and 42.
  auto namesOf = [&](int fieldNumber) {
    const int index = fieldNumber - 1;
    control.setFilter([index](const data::Table& t) {
      return t.recno() <= 9 && index < t.fieldCount() && !data::isBlank(t.str(index));
    });
    std::vector<std::string> names = libs::lmdGetArray(control, fieldNumber);
    control.clearFilter();
    return names;
  };
  v.houses = namesOf(41);
  v.cottages = namesOf(42);
}

}  // namespace velmont::school
