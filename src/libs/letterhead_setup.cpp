#include "letterhead_setup.h"

#include "data/code_page.h"


#include "data/table.h"
#include "data/whole_table.h"
#include "installation.h"

namespace velmont::libs {

namespace {

struct Defaults {
  double lx, ly, lw, lh, lp;
  bool bold, underline;
  const char* text;
};

// Positions in 0.1 mm from the top-left of the printable area of a landscape
// A4 card (about 2770 x 1900); see the header for what each record is.
const Defaults kDefaults[kLetterheadRecords] = {
    {1485, 60, 0, 0, 16, true, false, nullptr},  // line 1: the school's name, centred on x
    {1485, 130, 0, 0, 10, false, false, ""},
    {1485, 180, 0, 0, 10, false, false, ""},
    {250, 380, 900, 280, 10, false, false, ""},
    {60, 40, 250, 250, 0, false, false, "school.gif"},
    {0, 0, 0, 0, 15, false, false, ""},
    {1600, 500, 120, 1000, 20, true, false, ""},
    {40, 690, 60, 1660, 10, false, false, ""},
    {40, 770, 1040, 1660, 10, false, false, ""},
    {1750, 730, 1060, 0, 9, false, false, ""},
    {80, 1750, 60, 0, 8, false, false, ""},
};

}  // namespace

std::vector<data::FieldSpec> letterheadFields() {
  return {{"LX", 'N', 6}, {"LY", 'N', 6}, {"LW", 'N', 6}, {"LH", 'N', 6}, {"LP", 'N', 3},
          {"LBLD", 'L', 1}, {"LULN", 'L', 1}, {"LDE", 'C', 80}};
}

void setup_lhed(const std::string& path, const std::string& installationPath, uint8_t languageDriver) {
  if (data::Env::current()->exists(path)) return;
  std::string school;
  try {
    school = schoolNameFrom(installationPath);
  } catch (const std::exception&) {
    // An unreadable installation record leaves the first line blank.
  }
  // Made whole before anyone can see it; a table another run made meanwhile is used as it is.
  data::createWholeTable(path, letterheadFields(), languageDriver, [&](data::Table& table) {
    for (const Defaults& d : kDefaults) {
      table.appendBlank();
      table.replace("LX", d.lx);
      table.replace("LY", d.ly);
      table.replace("LW", d.lw);
      table.replace("LH", d.lh);
      table.replace("LP", d.lp);
      table.replace("LBLD", d.bold);
      table.replace("LULN", d.underline);
      table.replace("LDE", std::string_view(d.text ? d.text : school.substr(0, 80)));
    }
  });
}

}  // namespace velmont::libs
