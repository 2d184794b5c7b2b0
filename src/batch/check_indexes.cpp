// An index file against its table: readable, in order, and complete.
#include <algorithm>
#include <cctype>

#include "check_parts.h"
#include "data/error.h"
#include "data/expr.h"
#include "data/ntx.h"
#include "school/subject_table.h"
#include "data/table.h"
#include "progress.h"

namespace velmont::batch {

namespace {

constexpr int kDetailLimit = 5;
constexpr const char* kRebuilt = " (the reports build this index anew)";

struct Entry {
  uint32_t recno;
  std::string key;
  bool operator<(const Entry& o) const { return recno != o.recno ? recno < o.recno : key < o.key; }
};

// A key expression in capitals without blanks, for comparing two spellings.
std::string squeezed(const std::string& expression) {
  std::string out;
  for (char c : expression)
    if (c != ' ') out += char(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::string shown(const std::string& key) {
  std::string s;
  for (char c : key) s += (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 126) ? '?' : c;
  return "\"" + s + "\"";
}

// Keys the index holds, by walking it from first to last.
std::vector<Entry> indexEntries(data::NtxIndex& ntx) {
  std::vector<Entry> entries;
  for (uint32_t r = ntx.first(); r != 0; r = ntx.next()) entries.push_back({r, std::string(ntx.currentKey())});
  return entries;
}

// Keys the records have now, under the index's own key expression.
std::vector<Entry> recordKeys(data::Table& table, data::Expression& key, const data::NtxIndex& ntx, Progress& progress,
                              const std::string& file) {
  const uint32_t count = table.reccount();
  std::vector<Entry> keys;
  keys.reserve(count);
  std::string buf(size_t(ntx.keySize()), ' ');
  progress.start("Checking " + file, count);
  for (uint32_t r = 1; r <= count; ++r) {
    table.goTo(r);
    key.evalKey(table, buf.data(), ntx.keySize(), ntx.keyDecimals());
    keys.push_back({r, buf});
    if ((r & 4095) == 0) progress.set(r);
  }
  progress.finish();
  return keys;
}

}  // namespace

void checkIndex(CheckResult& result, const std::string& file, data::Table& table, const std::string& ntxPath,
                const IndexNeed& need, Progress& progress) {
  // The program builds the year's subject index anew when it finds it damaged.
  const bool subjectIndex = need.demoKey == school::kSubjectKeyExpression;
  try {
    data::NtxIndex ntx(ntxPath);
    ntx.verify();
    data::Expression key = data::Expression::parse(ntx.keyExpression(), table, nullptr, ntxPath);
    if (need.numericKey && key.type() != data::ValueType::kNumeric) {
      result.add(Severity::kError, file, "key " + ntx.keyExpression() + " is not numeric; the program seeks it by number");
      return;
    }
    if (need.demoKey == school::kSubjectKeyExpression && squeezed(ntx.keyExpression()) != squeezed(need.demoKey)) {
      result.add(Severity::kError, file,
                 "key is " + ntx.keyExpression() + "; the program seeks " + need.demoKey +
                     " (delete the file and the program builds it anew)");
      return;
    }
    if (need.demoKey == school::kSubjectKeyExpression) {
      // The program's seeks take their widths from the table's own fields.
      const int wanted = school::SubjectKey(table).size();
      if (ntx.keySize() != wanted) {
        result.add(Severity::kError, file,
                   "key is " + std::to_string(ntx.keySize()) + " bytes; the fields STSUB_NUMB, STSUB_TERM and "
                   "STSUB_LINE make " + std::to_string(wanted) + " (delete the file and the program builds it anew)");
        return;
      }
    }

    std::vector<Entry> held = indexEntries(ntx), expected = recordKeys(table, key, ntx, progress, file);
    std::sort(held.begin(), held.end());
    const bool partial = !ntx.forCondition().empty() || ntx.unique();
    // An entry past the table's end, missing or doubled stops the reports that
    // read through the index; an entry under an old key only misplaces a record.
    const Severity countFault = need.reportsVerify ? Severity::kError : Severity::kWarning;
    int faults = 0;
    auto fault = [&](const std::string& message, Severity severity = Severity::kWarning) {
      if (subjectIndex) severity = Severity::kWarning;
      if (++faults <= kDetailLimit) result.add(severity, file, message + (subjectIndex ? kRebuilt : ""));
    };
    size_t h = 0;
    for (const Entry& e : expected) {
      while (h < held.size() && held[h].recno < e.recno) {
        fault("holds record " + std::to_string(held[h].recno) + " twice", countFault);
        ++h;
      }
      if (h == held.size() || held[h].recno != e.recno) {
        if (!partial)
          fault("record " + std::to_string(e.recno) + " (key " + shown(e.key) + ") is missing from the index",
                countFault);
        continue;
      }
      if (held[h].key != e.key)
        fault("record " + std::to_string(e.recno) + " is filed under " + shown(held[h].key) + " but its key is " +
              shown(e.key));
      ++h;
      while (h < held.size() && held[h].recno == e.recno) {
        fault("holds record " + std::to_string(e.recno) + " twice", countFault);
        ++h;
      }
    }
    for (; h < held.size(); ++h)
      fault("names record " + std::to_string(held[h].recno) + " but the table has " + std::to_string(expected.size()) +
                " records: reports that meet it stop",
            Severity::kError);
    if (faults > kDetailLimit)
      result.add(Severity::kWarning, file, std::to_string(faults - kDetailLimit) + " more entries do not match the table");
  } catch (const data::DataError& e) {
    result.add(subjectIndex ? Severity::kWarning : Severity::kError, file, e.reason() + (subjectIndex ? kRebuilt : ""));
  }
}

}  // namespace velmont::batch
