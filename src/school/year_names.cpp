#include "year_names.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

#include "data/error.h"
#include "data/file.h"
#include "data/numeric.h"
#include "data/text.h"
#include "data/workspace.h"
#include "school_folder.h"

namespace velmont::school {
namespace {

// The control table for one routine: the open work area of the alias, or a
// table opened here and closed again when the routine is done.
class ControlTable {
 public:
  ControlTable(data::Workspace& ws, const school::SchoolFolder& folder, const std::string& alias) : ws_(ws), alias_(alias) {
    if (ws.isOpen(alias)) {
      ws.select(alias);
      table_ = ws.current();
    } else {
      table_ = &ws.open(folder.table("sccontro"), alias);
      opened_ = true;
    }
  }
  ~ControlTable() {
    table_->goTop();
    if (opened_) ws_.close(alias_);
  }
  ControlTable(const ControlTable&) = delete;
  ControlTable& operator=(const ControlTable&) = delete;

  data::Table& operator*() const { return *table_; }
  data::Table* operator->() const { return table_; }

 private:
  data::Workspace& ws_;
  std::string alias_;
  data::Table* table_ = nullptr;
  bool opened_ = false;
};

std::string rightAligned2(int n) {
  std::string s = std::to_string(n);
  return s.size() >= 2 ? s : std::string(2 - s.size(), ' ') + s;
}

// The numeric value of typed text as a level: leading blanks skipped, digits
// read up to the first other character; huge values stay huge but bounded.
double numericValue(std::string_view text) { return std::min(data::parseNumeric(text), 1.0e6); }

// The first record whose code begins with the typed text (the non-exact
// comparison), when that code is not blank: its number; otherwise 0.
int levelOfCode(data::Table& t, std::string_view typed) {
  const int code = t.requireField("PA_FE_NM");
  const bool found = t.locate([&](const data::Table& r) { return r.str(code).substr(0, typed.size()) == typed; });
  if (!found) return 0;
  const std::string_view value = t.str(code);
  return data::isBlank(value) ? 0 : int(t.recno());
}

std::string currentAlias(data::Workspace& ws) {
  const data::Table* t = ws.current();
  return t ? t->alias() : std::string();
}

}  // namespace

YearNames YEAR_NAMES(const school::SchoolFolder& folder) {
  YearNames result;
  result.names.fill(std::string(10, ' '));
  if (folder.has("namibia.$vl")) result.word = "Grade";
  if (!folder.has("grade.$vl")) return result;

  // Twenty lines of 79 characters are all it can hold: a little more is read, whatever the file is.
  std::stringstream whole(folder.readFlagFile("grade.$vl", 64 * 1024));
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(whole, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  if (lines.empty()) lines.emplace_back();
  // Lines are read 79 characters wide; anything beyond is cut off.
  std::string word = lines[0].substr(0, 79);
  word.resize(79, ' ');
  result.word = word;
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::string text = data::rtrim(lines[i].substr(0, 79));
    size_t p = 0;
    while (p < text.size() && text[p] == ' ') ++p;
    int n = 0;
    while (p < text.size() && std::isdigit(static_cast<unsigned char>(text[p])) && n < 1000)
      n = n * 10 + (text[p++] - '0');
    if (n < 1 || n > kYearLevels) continue;
    const size_t comma = text.find(',');
    const std::string name = comma == std::string::npos ? text : text.substr(comma + 1);
    std::string doubled;
    for (char c : name) {
      doubled += c;
      if (c == '&') doubled += '&';
    }
    result.names[size_t(n - 1)] = doubled;
  }
  return result;
}

std::string printedYearName(const std::string& name) {
  std::string out;
  out.reserve(name.size());
  for (size_t i = 0; i < name.size(); ++i) {
    out += name[i];
    if (name[i] == '&' && i + 1 < name.size() && name[i + 1] == '&') ++i;
  }
  return out;
}

void yr_range(data::Workspace& ws, const school::SchoolFolder& folder, std::string& start, std::string& end) {
  ControlTable t(ws, folder, "sccontro");
  const int fee = t->requireField("PA_FE_AM");
  const int code = t->requireField("PA_FE_NM");
  int first = 0, last = 0;
  for (int level = 1; level <= 12; ++level) {
    t->goTo(uint32_t(level));
    if (t->num(fee) == 0) continue;
    if (first == 0) first = level;
    last = level;
  }
  start = rightAligned2(first);
  end = rightAligned2(last);
  for (int level = 13; level <= kYearLevels; ++level) {
    t->goTo(uint32_t(level));
    if (t->num(fee) == 0) continue;
    if (first == 0) {
      first = level;
      start = std::string(t->str(code));
    }
    end = std::string(t->str(code));
  }
}

std::vector<std::string> yearCodesInUse(data::Workspace& ws, const school::SchoolFolder& folder) {
  const std::string savedAlias = currentAlias(ws);
  std::vector<std::string> codes;
  {
    ControlTable t(ws, folder, "sccontro");
    const int fee = t->requireField("PA_FE_AM");
    const int code = t->requireField("PA_FE_NM");
    for (int level = 1; level <= kYearLevels && uint32_t(level) <= t->reccount(); ++level) {
      t->goTo(uint32_t(level));
      if (t->num(fee) == 0) continue;
      const std::string shown = level <= 12 ? std::to_string(level) : data::trim(std::string(t->str(code)));
      if (!shown.empty()) codes.push_back(shown);
    }
  }
  if (!savedAlias.empty()) ws.select(savedAlias);
  return codes;
}

std::string put_yrout(data::Workspace& ws, const school::SchoolFolder& folder, int level) {
  if (level <= 12) return rightAligned2(level);
  if (level > kYearLevels) return "  ";
  const int savedArea = ws.currentArea();
  std::string code;
  {
    ControlTable t(ws, folder, "SCCONTRO");
    t->goTo(uint32_t(level));
    code = std::string(t->str("PA_FE_NM"));
  }
  ws.select(savedArea);
  return code;
}

bool ent_yrin(data::Workspace& ws, const school::SchoolFolder& folder, std::string_view typed, int& level) {
  const std::string savedAlias = currentAlias(ws);
  const double value = numericValue(typed);
  if (value > 0) {
    level = int(value);
  } else {
    ControlTable t(ws, folder, "sccontro");
    level = levelOfCode(*t, typed);
  }
  if (!savedAlias.empty()) ws.select(savedAlias);
  return true;
}

YearCheck checkYearEntry(data::Workspace& ws, const school::SchoolFolder& folder, std::string_view typed, int* levelOut) {
  const std::string savedAlias = currentAlias(ws);
  YearCheck result;
  int level = 0;
  {
    ControlTable t(ws, folder, "sccontro");
    const double value = numericValue(typed);
    if (value > 0) {
      level = int(value);
      t->goTo(uint32_t(level));
      result = t->num("PA_FE_AM") != 0 ? YearCheck::kAccepted : YearCheck::kNoFees;
    } else {
      level = levelOfCode(*t, typed);
      if (level == 0) {
        result = YearCheck::kUnknown;
      } else {
        t->goTo(uint32_t(level));
        result = t->num("PA_FE_AM") != 0 ? YearCheck::kAccepted : YearCheck::kNoFees;
      }
    }
  }
  if (!savedAlias.empty()) ws.select(savedAlias);
  if (levelOut) *levelOut = level;
  return result;
}

std::array<std::string, 2> yearFeesMessage(std::string_view yrGrd) {
  std::string word(yrGrd);
  while (!word.empty() && word.back() == ' ') word.pop_back();
  return {"To use this School " + word + ", please ensure that a SCHOOL FEES AMOUNT",
          "has been allocated in the Miscellaneous Menu - Control Information - School FEES Menu."};
}

}  // namespace velmont::school
