#include "school_settings.h"

#include <fstream>

#include "data/file.h"
#include "data/text.h"
#include "data/workspace.h"
#include "libs/installation.h"
#include "libs/lmd_tables.h"

namespace velmont::app {

namespace {
constexpr size_t kSideFileLimit = 4096;
}

std::string firstLineOf(const std::string& dataDir, const std::string& name, size_t width) {
  if (!libs::dataFileExists(dataDir, name)) return "";
  // A flag file holds one short word: a little is read, whatever the file is.
  std::string line = data::readSideFile(libs::dataFilePath(dataDir, name), kSideFileLimit);
  if (const size_t lf = line.find('\n'); lf != std::string::npos) line.resize(lf);
  // The first characters of the file, up to its first line end.
  if (const size_t cr = line.find('\r'); cr != std::string::npos) line.resize(cr);
  if (line.size() > width) line.resize(width);
  return data::rtrim(line);
}

void readSchoolWords(SessionValues& v) {
  v.yearNames = data::YEAR_NAMES(v.dataDir);
  if (libs::dataFileExists(v.dataDir, "homecl.$vl")) v.homeCl = firstLineOf(v.dataDir, "homecl.$vl", 12);
  if (libs::dataFileExists(v.dataDir, "house.$vl")) v.house = firstLineOf(v.dataDir, "house.$vl", 12);
}

void readSchoolName(SessionValues& v) {
  v.school = "";
  if (!libs::dataFileExists(v.dataDir, libs::kInstallationFile)) return;
  data::Workspace& ws = data::Workspace::forThisThread();
  const int saved = ws.currentArea();
  data::Table& ccmp = libs::lmdOpenDbf(v.dataDir, libs::kInstallationFile, "ccmp");
  ccmp.goTop();
  v.school = ccmp.eof() ? "" : libs::dekript(ccmp.str("C1"), -1.0);
  ws.close("ccmp");
  ws.select(saved);
}

void readControlValues(SessionValues& v) {
  v.parents = libs::dataFileExists(v.dataDir, "paparent.dbf");
  data::Workspace& ws = data::Workspace::forThisThread();
  const bool wasOpen = ws.isOpen("sccontro");
  const int saved = ws.currentArea();
  data::Table& control = libs::lmdOpenDbf(v.dataDir, "sccontro", "sccontro");
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

}  // namespace velmont::app
