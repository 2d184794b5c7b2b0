// The year's student-subject table: every student's subjects, co-curricular
// activities and comment-role lines for the terms they attend, with marks, class
// averages worked out from those marks, ranks, stock comments and free notes.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "school/subject_table.h"
#include "demo_files.h"
#include "demo_names.h"
#include "demo_random.h"
#include "progress.h"
#include "record_image.h"

namespace velmont::batch {

using data::Date;

namespace {

// A comment number that the bank does not hold, and teacher codes the staff
// table lacks: the cards must cope with both.
constexpr int kMissingBankNumber = 777;
const char* const kUnknownTeachers[] = {"Q99", "X88"};
// A co-curricular code that the subjects table does not hold.
const char* const kRetiredActivity = "CCOLD";

constexpr int kFirstCoCurricularLine = 25;
constexpr int kFirstRoleLine = 96;

struct Line {
  uint32_t student;
  uint8_t term;  // 1..4
  uint8_t line;
  uint16_t code;  // index into MarkBook::codes
  uint8_t exam = 0, assessment = 0;
  char ranks[4] = {' ', ' ', ' ', ' '};  // homework, effort, contribution, behaviour
  int16_t comment = 0;
  int32_t note = -1;  // index into MarkBook::notes
  uint16_t teacher = 0;  // index into MarkBook::teachers
};

struct MarkBook {
  std::vector<std::string> codes;     // subject codes, then the retired one, then blank
  std::vector<std::string> teachers;  // staff codes, then the unknown ones
  std::vector<std::string> notes;
  std::vector<Line> lines;
};

char rankFor(int score) {
  return score >= 85 ? 'A' : score >= 70 ? 'B' : score >= 55 ? 'C' : score >= 40 ? 'D' : score >= 25 ? 'E' : 'F';
}

bool attends(const DemoStudent& s, const SchoolCalendar& cal, int term) {
  const Date start = cal.termStart[size_t(term)], end = cal.termEnd[size_t(term)];
  if (s.level == 0) return false;
  if (!s.left.empty() && s.enrolled > s.left)  // left and came back: two spells
    return s.left > start || s.enrolled <= end;
  return s.enrolled <= end && (s.left.empty() || s.left > start);
}

std::string firstName(const DemoStudent& s) {
  std::string name = s.preferred.empty() ? s.given : s.preferred;
  for (size_t i = 1; i < name.size(); ++i) name[i] = char(std::tolower(static_cast<unsigned char>(name[i])));
  return name;
}

std::string replaceHash(std::string text, const std::string& name) {
  for (size_t at = text.find('#'); at != std::string::npos; at = text.find('#', at + name.size()))
    text.replace(at, 1, name);
  return text;
}

// A teacher's free note: short, long enough to wrap over several card lines,
// or typed with line breaks.
std::string makeNote(DemoRandom& rnd, const DemoStudent& s) {
  std::vector<std::string> parts = {rnd.pick(names::kNoteOpenings)};
  const int middles = rnd.chance(30) ? rnd.between(2, 3) : rnd.below(2);
  for (int k = 0; k < middles; ++k) parts.push_back(rnd.pick(names::kNoteMiddles));
  parts.push_back(rnd.pick(names::kNoteClosings));
  const std::string joint = rnd.chance(20) ? "\r\n" : " ";
  std::string text;
  for (const std::string& p : parts) text += (text.empty() ? "" : joint) + p;
  return replaceHash(text, firstName(s));
}

class Planner {
 public:
  Planner(const DemoSchool& school, MarkBook& book)
      : school_(school), book_(book), rnd_(school.options.seed, "marks") {
    for (const DemoSubject& s : school.subjects) book.codes.push_back(s.code);
    retiredCode_ = uint16_t(book.codes.size());
    book.codes.push_back(kRetiredActivity);
    blankCode_ = uint16_t(book.codes.size());
    book.codes.push_back("");
    for (const DemoStaff& s : school.staff) book.teachers.push_back(s.code);
    for (const char* t : kUnknownTeachers) book.teachers.push_back(t);
  }

  void planAll() {
    for (size_t i = 0; i < school_.students.size(); ++i) planStudent(uint32_t(i));
    placeRareCases();
  }

 private:
  std::vector<uint16_t> subjectsOf(const DemoStudent& s) {
    std::vector<uint16_t> pool, chosen;
    for (size_t i = 0; i < school_.subjects.size(); ++i)
      if (school_.subjects[i].level == s.level) pool.push_back(uint16_t(i));
    if (s.manySubjects || s.level >= 13) return pool;
    if (s.level <= 10) {  // the ten core subjects, one swapped for an elective now and then
      chosen.assign(pool.begin(), pool.begin() + 10);
      if (rnd_.chance(40)) chosen[4] = pool[size_t(10 + rnd_.below(4))];
      if (rnd_.chance(20)) chosen.pop_back();
      return chosen;
    }
    chosen.push_back(pool[0]);  // English, then five or six options
    std::vector<uint16_t> options(pool.begin() + 1, pool.end());
    rnd_.shuffle(options);
    const int count = rnd_.between(5, 6);
    chosen.insert(chosen.end(), options.begin(), options.begin() + count);
    std::sort(chosen.begin() + 1, chosen.end());
    return chosen;
  }

  std::vector<uint16_t> activitiesOf() {
    std::vector<uint16_t> pool;
    for (size_t i = 0; i < school_.subjects.size(); ++i)
      if (school_.subjects[i].level == 0) pool.push_back(uint16_t(i));
    rnd_.shuffle(pool);
    pool.resize(size_t(rnd_.chance(35) ? 0 : rnd_.between(1, 3)));
    return pool;
  }

  // The teacher of a subject for a home class: the same for the whole class.
  uint16_t classTeacher(uint16_t subject, const DemoStudent& s) const {
    size_t h = subject;
    for (char c : s.homeClass) h = h * 31 + size_t(c);
    return uint16_t(h % school_.staff.size());
  }

  uint16_t roleTeacher(const DemoStudent& s, int role) const {
    const size_t staff = school_.staff.size();
    size_t h = 0;
    switch (role) {
      case 0: for (char c : s.homeClass) h = h * 31 + size_t(c); break;  // home-class teacher
      case 1: for (char c : s.house) h = h * 31 + size_t(c); break;      // house or tutor-group teacher
      case 2: h = size_t(s.level) * 7; break;                             // year coordinator
      default: h = 0; break;                                              // principal
    }
    return uint16_t(h % staff);
  }

  void addComment(Line& line, const DemoStudent& s, int notePercent, int bankPercent) {
    const int roll = rnd_.below(100);
    if (roll < notePercent) {
      line.note = int32_t(book_.notes.size());
      book_.notes.push_back(makeNote(rnd_, s));
    } else if (roll < notePercent + bankPercent) {
      line.comment = int16_t(rnd_.pick(school_.comments).number);
    }
  }

  void planStudent(uint32_t index) {
    const DemoStudent& s = school_.students[index];
    if (s.level == 0) return;
    const std::vector<uint16_t> subjects = subjectsOf(s), activities = activitiesOf();
    bool roles[4] = {rnd_.chance(85), rnd_.chance(40), rnd_.chance(30), rnd_.chance(15)};
    for (int term = 0; term < 4; ++term) {
      if (!attends(s, school_.calendar, term)) continue;
      int lineNo = 1;
      for (uint16_t subject : subjects) {
        const DemoSubject& sub = school_.subjects[subject];
        Line line{index, uint8_t(term + 1), uint8_t(lineNo++), subject};
        if (sub.marked) {
          const int e = std::clamp(s.ability + rnd_.between(-18, 12), 3, 100);
          line.exam = uint8_t(rnd_.chance(4) ? 0 : (e * sub.totalMark + 50) / 100);
          line.assessment = uint8_t(rnd_.chance(3) ? 0 : std::clamp(s.ability + rnd_.between(-15, 10), 2, 100));
          line.ranks[0] = rankFor(s.ability + rnd_.between(-20, 15));
        }
        for (int r = 1; r < 4; ++r) line.ranks[r] = rankFor(s.ability + rnd_.between(-20, 20));
        if (rnd_.chance(2)) std::fill(std::begin(line.ranks), std::end(line.ranks), ' ');
        line.teacher = classTeacher(subject, s);
        addComment(line, s, 6, 30);
        book_.lines.push_back(line);
      }
      lineNo = kFirstCoCurricularLine;
      for (uint16_t activity : activities) {
        Line line{index, uint8_t(term + 1), uint8_t(lineNo++), activity};
        for (int r = 1; r < 4; ++r) line.ranks[r] = rankFor(s.ability + rnd_.between(-10, 25));
        line.teacher = classTeacher(activity, s);
        addComment(line, s, 5, 20);
        book_.lines.push_back(line);
      }
      for (int role = 0; role < 4; ++role) {
        if (!roles[role]) continue;
        Line line{index, uint8_t(term + 1), uint8_t(kFirstRoleLine + role), blankCode_};
        line.teacher = roleTeacher(s, role);
        addComment(line, s, 55, 45);
        book_.lines.push_back(line);
      }
    }
  }

  // Cases too rare to rely on chance, each placed at least once.
  void placeRareCases() {
    if (book_.lines.empty()) return;
    DemoRandom rare(school_.options.seed, "rare");
    auto someLine = [&](auto accept) -> Line* {
      for (int tries = 0; tries < 10000; ++tries) {
        Line& l = book_.lines[size_t(rare.below(int(book_.lines.size())))];
        if (accept(l)) return &l;
      }
      return nullptr;
    };
    auto subjectLine = [](const Line& l) { return l.line < kFirstCoCurricularLine; };
    const int n = std::max(1, int(book_.lines.size()) / 400);
    for (int k = 0; k < n; ++k) {
      if (Line* l = someLine(subjectLine)) l->comment = kMissingBankNumber, l->note = -1;
      if (Line* l = someLine(subjectLine)) l->teacher = uint16_t(school_.staff.size() + size_t(k % 2));
    }
    if (Line* l = someLine([](const Line& l) { return l.line >= kFirstCoCurricularLine && l.line < kFirstRoleLine; }))
      l->code = retiredCode_;
    // A note with national letters.
    if (!school_.nationalNote.empty())
      if (Line* l = someLine(subjectLine)) {
        l->note = int32_t(book_.notes.size());
        book_.notes.push_back(school_.nationalNote);
      }
    // A note of nothing but blanks and a line break: the bank comment stands.
    if (Line* l = someLine(subjectLine)) {
      l->note = int32_t(book_.notes.size());
      book_.notes.push_back("   \r\n ");
      l->comment = int16_t(school_.comments.front().number);
    }
  }

  const DemoSchool& school_;
  MarkBook& book_;
  DemoRandom rnd_;
  uint16_t retiredCode_ = 0, blankCode_ = 0;
};

// Class averages: the mean of the non-zero marks of everyone taking the subject
// in the term, to one decimal.
struct Averages {
  std::vector<double> exam, assessment;
};

Averages classAverages(const MarkBook& book) {
  const size_t slots = book.codes.size() * 4;
  std::vector<double> examSum(slots), assessSum(slots);
  std::vector<int> examCount(slots), assessCount(slots);
  for (const Line& l : book.lines) {
    const size_t k = size_t(l.code) * 4 + size_t(l.term - 1);
    if (l.exam) examSum[k] += l.exam, ++examCount[k];
    if (l.assessment) assessSum[k] += l.assessment, ++assessCount[k];
  }
  Averages a{std::vector<double>(slots), std::vector<double>(slots)};
  for (size_t k = 0; k < slots; ++k) {
    if (examCount[k]) a.exam[k] = std::round(examSum[k] / examCount[k] * 10) / 10;
    if (assessCount[k]) a.assessment[k] = std::round(assessSum[k] / assessCount[k] * 10) / 10;
  }
  return a;
}

}  // namespace

std::vector<WrittenFile> writeStudentSubjects(const DemoSchool& school, Progress& progress) {
  MarkBook book;
  Planner(school, book).planAll();
  const Averages averages = classAverages(book);

  // Entered term by term, as a school enters them: the file's order is not the index's.
  std::stable_sort(book.lines.begin(), book.lines.end(), [](const Line& a, const Line& b) { return a.term < b.term; });

  const std::string table = school::subjectTableName(school.calendar.year) + ".dbf";
  TableWriter w(demoPath(school, table), school::subjectTableFields());
  const int fNumb = w.field("STSUB_NUMB"), fTerm = w.field("STSUB_TERM"), fLine = w.field("STSUB_LINE"),
            fCode = w.field("STSUB_CODE"), fEmrk = w.field("STSUB_EMRK"), fEmen = w.field("STSUB_EMEN"),
            fAmrk = w.field("STSUB_AMRK"), fAmen = w.field("STSUB_AMEN"), fComm = w.field("STSUB_COMM"),
            fNote = w.field("STSUB_NOTE"), fTchr = w.field("STSUB_TCHR");
  const int fRank[4] = {w.field("STSUB_HOMW"), w.field("STSUB_EFFT"), w.field("STSUB_CONT"), w.field("STSUB_BEHV")};
  const size_t marked = school.subjects.size();

  progress.start("Student subjects", book.lines.size());
  for (const Line& l : book.lines) {
    w.set(fNumb, double(school.students[l.student].number));
    w.set(fTerm, double(l.term));
    w.set(fLine, double(l.line));
    w.set(fCode, book.codes[l.code]);
    const bool withMarks = l.code < marked && school.subjects[l.code].marked;
    if (withMarks) {
      const size_t k = size_t(l.code) * 4 + size_t(l.term - 1);
      w.set(fEmrk, double(l.exam));
      w.set(fEmen, averages.exam[k]);
      w.set(fAmrk, double(l.assessment));
      w.set(fAmen, averages.assessment[k]);
    } else {
      w.set(fEmrk, 0.0);
      w.set(fEmen, 0.0);
      w.set(fAmrk, 0.0);
      w.set(fAmen, 0.0);
    }
    for (int r = 0; r < 4; ++r) w.set(fRank[r], std::string_view(&l.ranks[r], 1));
    w.set(fComm, double(l.comment));
    if (l.note >= 0) w.setMemo(fNote, book.notes[size_t(l.note)]);
    w.set(fTchr, book.teachers[l.teacher]);
    const uint32_t n = w.append();
    if ((n & 1023) == 0) progress.set(n);
  }
  progress.finish();
  return {{table, std::to_string(book.lines.size()) + " subject lines in 4 terms, " + std::to_string(book.notes.size()) +
                      " notes in " + school::subjectTableName(school.calendar.year) + ".dbt; no index (the program builds it)"}};
}

}  // namespace velmont::batch
