#pragma once
// The year's student-subject table ("STSUB" + two year digits): its fields, the
// widths that seek keys are built from, and its creation when a year has none.
#include <functional>
#include <string>
#include <vector>

#include "data/dbf_file.h"
#include "data/table.h"
#include "school_folder.h"

namespace velmont::school {

// Widths of the numeric fields of the subject index's key in the tables this
// program creates (new_subyr). A school's own table may have other widths: seek
// keys take theirs from the table (SubjectKey).
inline constexpr int kSubNumberWidth = 7;  // STSUB_NUMB
inline constexpr int kSubTermWidth = 1;    // STSUB_TERM
inline constexpr int kSubLineWidth = 2;    // STSUB_LINE

// The key of the index this program builds over a year's subjects: student
// number, term and line, each right-aligned in its field's width.
inline constexpr const char* kSubjectKeyExpression = "str(stsub_numb)+str(stsub_term)+str(stsub_line)";

// Seek keys of a year's subject index, composed with the widths and decimals
// of the table's own STSUB_NUMB, STSUB_TERM and STSUB_LINE fields, so that they
// are the bytes its index holds whatever widths the school's system chose.
class SubjectKey {
 public:
  // A missing or non-numeric key field stops with an error naming the table
  // and the field.
  explicit SubjectKey(const data::Table& table);
  // One student's subjects of a term, from `line` on (a prefix when line is 0).
  std::string operator()(double studentNumber, int term, int line = 0) const;
  // Length of a whole key.
  int size() const { return number_.width + term_.width + line_.width; }
  // Stops with an error naming the index file when the table's controlling
  // index holds keys of another length (an index built over other widths).
  void checkIndex(const data::Table& table) const;

 private:
  struct Part {
    int width = 0, decimals = 0;
  };
  Part number_, term_, line_;
};

// The fields of a year's student-subject table.
std::vector<data::FieldSpec> subjectTableFields();

// "STSUB" + the last two digits of a four-digit year: 2004 gives "STSUB04".
std::string subjectTableName(int year);

// Creates an empty student-subject table at `tablePath` (with its .dbt memo
// file), stamped with `languageDriver`; nothing is created when the file
// already exists.
void new_subyr(const std::string& tablePath, uint8_t languageDriver = 0);

// Makes sure the year's table at `tablePath` and its index at `indexPath` exist
// and agree: the table is created empty when missing, and the index is built
// when it is missing, damaged (an entry past the table's end, a record missing
// or filed twice, keys out of order, a header that cannot be read) or stale (the
// table has records appended, or its date of last update changed, since the
// index was built), `notify` being called first. This program builds that
// index, so it mends it rather than stop a report.
void ensureSubjectIndex(const std::string& tablePath, const std::string& indexPath, uint8_t languageDriver,
                        const std::function<void()>& notify);

// The same for the year's table and index in the school's folder, found in
// any letter case; their paths.
struct SubjectFiles {
  std::string table, index;
};
SubjectFiles ensureSubjectIndex(const school::SchoolFolder& folder, int year, const std::function<void()>& notify);

}  // namespace velmont::school
