// The subjects, comment bank and staff tables with their index files.
#include "demo_files.h"
#include "record_image.h"

namespace velmont::batch {

using data::FieldSpec;

std::vector<WrittenFile> writeCatalogueTables(const DemoSchool& school) {
  std::vector<WrittenFile> written;

  const SchoolTable& subjects = schoolTable("subjects.dbf");
  {
    TableWriter w(demoPath(school, subjects.file),
                  {{"SUBJ_CODE", 'C', 6}, {"SUBJ_DESC", 'C', 30}, {"SUBJ_TYPE", 'C', 1}, {"SUBJ_TTLMK", 'N', 3},
                   {"SUBJ_LEVEL", 'N', 2}, {"SUBJ_TCHR", 'C', 4}, {"SUBJ_ROOM", 'C', 4}});
    int room = 0;
    for (const DemoSubject& s : school.subjects) {
      w.set("SUBJ_CODE", s.code);
      w.set("SUBJ_DESC", s.description);
      w.set("SUBJ_TYPE", s.marked ? "Y" : "N");
      w.set("SUBJ_TTLMK", s.totalMark);
      w.set("SUBJ_LEVEL", s.level);
      w.set("SUBJ_TCHR", s.teacher);
      w.set("SUBJ_ROOM", s.level ? "R" + std::to_string(1 + room++ % 40) : "");
      w.append();
    }
  }
  written.push_back({subjects.file, std::to_string(school.subjects.size()) + " subjects; " + indexDemoTable(school, subjects)});

  const SchoolTable& comments = schoolTable("comment.dbf");
  {
    TableWriter w(demoPath(school, comments.file),
                  {{"COMM_NUMB", 'N', 4}, {"COMM_LINE1", 'C', 60}, {"COMM_LINE2", 'C', 60}, {"COMM_CAT", 'C', 2}});
    for (const DemoComment& c : school.comments) {
      w.set("COMM_NUMB", c.number);
      w.set("COMM_LINE1", c.line1);
      w.set("COMM_LINE2", c.line2);
      w.set("COMM_CAT", c.number < 100 ? "AC" : "GN");
      w.append();
    }
  }
  written.push_back({comments.file, std::to_string(school.comments.size()) + " stock comments; " + indexDemoTable(school, comments)});

  const SchoolTable& staff = schoolTable("ttstaff.dbf");
  {
    TableWriter w(demoPath(school, staff.file),
                  {{"STAFF_CODE", 'C', 4}, {"STAFF_NAME", 'C', 30}, {"STAFF_ROOM", 'C', 4}, {"STAFF_LEFT", 'D', 8}});
    for (const DemoStaff& s : school.staff) {
      w.set("STAFF_CODE", s.code);
      w.set("STAFF_NAME", s.name);
      w.append();
    }
  }
  written.push_back({staff.file, std::to_string(school.staff.size()) + " staff; " + indexDemoTable(school, staff)});
  return written;
}

}  // namespace velmont::batch
