#include "subject_table.h"

#include "data/error.h"
#include "data/file.h"
#include "data/ntx.h"
#include "data/numeric.h"
#include "data/table.h"
#include "school_folder.h"

namespace velmont::school {

std::vector<data::FieldSpec> subjectTableFields() {
  return {
      {"STSUB_NUMB", 'N', kSubNumberWidth, 0},
      {"STSUB_TERM", 'N', kSubTermWidth, 0},
      {"STSUB_LINE", 'N', kSubLineWidth, 0},
      {"STSUB_CODE", 'C', 6, 0},
      {"STSUB_EMRK", 'N', 3, 0},
      {"STSUB_EMEN", 'N', 5, 1},
      {"STSUB_AMRK", 'N', 3, 0},
      {"STSUB_AMEN", 'N', 5, 1},
      {"STSUB_HOMW", 'C', 1, 0},
      {"STSUB_EFFT", 'C', 1, 0},
      {"STSUB_CONT", 'C', 1, 0},
      {"STSUB_BEHV", 'C', 1, 0},
      {"STSUB_COMM", 'N', 4, 0},
      {"STSUB_NOTE", 'M', 10, 0},
      {"STSUB_TCHR", 'C', 4, 0},
  };
}

std::string subjectTableName(int year) {
  const int yy = ((year % 100) + 100) % 100;
  return std::string("STSUB") + char('0' + yy / 10) + char('0' + yy % 10);
}

SubjectKey::SubjectKey(const data::Table& table) {
  auto part = [&table](const char* name) {
    const int i = table.fieldIndex(name);
    if (i < 0)
      throw data::DataError(table.path(), std::string("the field ") + name +
                                        " is missing, so a student's subjects cannot be found");
    const data::FieldDesc& f = table.field(i);
    if (f.type != 'N' && f.type != 'F')
      throw data::DataError(table.path(), std::string("the field ") + name + " is of type " + f.type +
                                        ", not a number, so a student's subjects cannot be found");
    return Part{f.width, f.decimals};
  };
  number_ = part("STSUB_NUMB");
  term_ = part("STSUB_TERM");
  line_ = part("STSUB_LINE");
}

std::string SubjectKey::operator()(double studentNumber, int term, int line) const {
  std::string key = data::formatStr(studentNumber, number_.width, number_.decimals) +
                    data::formatStr(term, term_.width, term_.decimals);
  if (line > 0) key += data::formatStr(line, line_.width, line_.decimals);
  return key;
}

void SubjectKey::checkIndex(const data::Table& table) const {
  const int held = table.orderKeySize();
  if (held == size()) return;
  throw data::DataError(table.orderFile(), "its keys are " + std::to_string(held) + " bytes long, but STSUB_NUMB, "
                  "STSUB_TERM and STSUB_LINE of " + table.path() + " make keys of " + std::to_string(size()) +
                  "; remove the index file and it is built again");
}

void new_subyr(const std::string& tablePath, uint8_t languageDriver) {
  if (data::Env::current()->exists(tablePath)) return;
  data::DbfFile::create(tablePath, subjectTableFields(), languageDriver);
}

namespace {

// True when the index was built here over the table as it is now (no record
// appended or, on a later day, changed since) and holds each record once, in
// order. The school's system appends marks without touching this index: an
// index that has fallen behind would leave the new marks off the cards.
bool indexSound(const std::string& tablePath, const std::string& indexPath) {
  try {
    auto table = data::DbfFile::open(tablePath, data::OpenMode::kRead);
    const uint32_t records = table->recordCount();
    data::NtxIndex index(indexPath);
    if (index.tableStamp() != table->stamp()) return false;
    return index.verify(records, true) == records;
  } catch (const data::DataError&) {
    return false;
  }
}

}  // namespace

void ensureSubjectIndex(const std::string& tablePath, const std::string& indexPath, uint8_t languageDriver,
                        const std::function<void()>& notify) {
  data::Env* env = data::Env::current();
  const bool haveTable = env->exists(tablePath);
  if (haveTable && env->exists(indexPath) && indexSound(tablePath, indexPath)) return;
  if (notify) notify();
  if (!haveTable) new_subyr(tablePath, languageDriver);
  auto table = data::Table::open(tablePath, "STSUB");
  SubjectKey{*table};  // fields that cannot form the key stop here, naming the table and field
  table->createIndex(indexPath, kSubjectKeyExpression);
}

SubjectFiles ensureSubjectIndex(const school::SchoolFolder& folder, int year, const std::function<void()>& notify) {
  const std::string name = subjectTableName(year);
  SubjectFiles files{folder.path(name + ".dbf"), folder.path(name + ".ntx")};
  // A new year's table holds text in the same code page as the students table.
  ensureSubjectIndex(files.table, files.index, folder.languageDriver(), notify);
  return files;
}

}  // namespace velmont::school
