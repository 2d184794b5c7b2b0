// The school as a whole: its name and calendar, year levels and houses, staff,
// subjects and comment bank.
#include <algorithm>
#include <set>
#include <string>

#include "demo_names.h"
#include "demo_random.h"
#include "demo_school.h"

namespace velmont::batch {

using data::Date;

namespace {

// Days from Monday (0) to Sunday (6).
int weekday(const Date& d) {
  const int32_t ref = Date::fromYmd(2001, 1, 1).dayNumber();  // a Monday
  return int(((d.dayNumber() - ref) % 7 + 7) % 7);
}

Date mondayOnOrAfter(int year, int month, int day) {
  const Date d = Date::fromYmd(year, month, day);
  return d.plusDays((7 - weekday(d)) % 7);
}

// The last Friday strictly before `d`.
Date fridayBefore(const Date& d) {
  const int back = (weekday(d) + 3) % 7;
  return d.plusDays(-(back == 0 ? 7 : back));
}

struct SubjectTemplate {
  const char* suffix;
  const char* description;
  bool marked;
  int total;
};

const SubjectTemplate kJuniorSubjects[] = {
    {"ENG", "English", true, 100},           {"MAT", "Mathematics", true, 100},
    {"SCI", "Science", true, 100},           {"SST", "Social Studies", true, 100},
    {"FRE", "French", true, 80},             {"TEC", "Technology", true, 50},
    {"ART", "Visual Art", true, 100},        {"MUS", "Music", true, 100},
    {"PED", "Physical Education", false, 0}, {"HEA", "Health", false, 0},
    {"LAT", "Latin", true, 100},             {"CHN", "Chinese", true, 100},
    {"DRA", "Drama", true, 100},             {"DIG", "Digital Technology", true, 100}};

const SubjectTemplate kSeniorSubjects[] = {
    {"ENG", "English", true, 100},           {"MAC", "Mathematics with Calculus", true, 100},
    {"MAS", "Mathematics with Statistics", true, 100}, {"PHY", "Physics", true, 100},
    {"CHE", "Chemistry", true, 100},         {"BIO", "Biology", true, 100},
    {"HIS", "History", true, 100},           {"GEO", "Geography", true, 100},
    {"ECO", "Economics", true, 100},         {"ACC", "Accounting", true, 120},
    {"ART", "Art Design", true, 100},        {"DRA", "Drama", true, 100},
    {"PED", "Physical Education", true, 100}, {"CMP", "Computer Science", true, 100}};

const SubjectTemplate kFoundationSubjects[] = {
    {"ENG", "Foundation English", true, 100}, {"MAT", "Foundation Mathematics", true, 100},
    {"COM", "Communication Skills", true, 50}, {"STU", "Study Skills", false, 0},
    {"CAR", "Careers", false, 0}};

const SubjectTemplate kAdultSubjects[] = {
    {"ENG", "English for Adults", true, 100}, {"MAT", "Numeracy", true, 100},
    {"DIG", "Digital Literacy", true, 100},    {"WRK", "Work Placement", false, 0}};

const SubjectTemplate kCoCurricular[] = {
    {"CCSPRT", "Sports Team", false, 0}, {"CCCHOI", "Choir", false, 0},
    {"CCDEBT", "Debating", false, 0},    {"CCDRAM", "Drama Club", false, 0},
    {"CCCHES", "Chess Club", false, 0},  {"CCKAPA", "Kapa Haka", false, 0},
    {"CCROBO", "Robotics", false, 0},    {"CCORCH", "Orchestra", false, 0}};

const char* const kSchoolNames[] = {"Harbourside College", "Velmont Grammar School", "Kestrel Point High School",
                                    "St Aldric's College", "Marlow Bay Area School"};

// Stock comments; "#" is where the student's first name goes.
const char* const kStockComments[][2] = {
    {"An excellent term's work.", "Keep up the high standard."},
    {"# works well in class and is a pleasure to teach.", ""},
    {"A good effort this term.", "# should aim to read more widely."},
    {"Satisfactory progress.", "More consistent homework would help."},
    {"# must complete homework regularly.", "Revision before tests is needed."},
    {"# has shown pleasing improvement this term.", "Well done."},
    {"Capable of better results.", "# is easily distracted in class."},
    {"A conscientious and reliable student.", ""},
    {"# participates enthusiastically.", "Practical skills are a strength."},
    {"Written work is careful and well presented.", ""},
    {"# needs to ask for help when unsure.", ""},
    {"Very good test results this term.", "# has a sound grasp of the topics."},
    {"Attendance has affected progress.", "Please catch up on missed work."},
    {"# is a valued member of the team.", "Reliable at practices and games."},
    {"Leadership shown at every opportunity.", ""},
    {"# has settled in well.", "A promising start at the school."},
    {"An outstanding contribution this term.", "Congratulations, #."},
    {"Effort has been inconsistent.", "# can achieve much more."},
    {"Well organised and always prepared.", ""},
    {"# must take more care with presentation.", ""}};

}  // namespace

SchoolCalendar schoolCalendar(int year) {
  SchoolCalendar c;
  c.year = year;
  c.termStart = {mondayOnOrAfter(year, 2, 3), mondayOnOrAfter(year, 4, 22), mondayOnOrAfter(year, 7, 14),
                 mondayOnOrAfter(year, 10, 6)};
  for (int t = 0; t < 3; ++t) c.termEnd[size_t(t)] = fridayBefore(c.termStart[size_t(t) + 1].plusDays(-14));
  c.termEnd[3] = fridayBefore(Date::fromYmd(year, 12, 13));
  return c;
}

void planSchool(DemoSchool& school) {
  DemoRandom rnd(school.options.seed, "school");
  school.name = rnd.pick(kSchoolNames);
  school.street = std::to_string(rnd.between(10, 480)) + " " + rnd.pick(names::kStreets) + " " +
                  rnd.pick(names::kStreetKinds);
  school.town = "Velmont";
  school.postcode = std::to_string(rnd.between(3100, 3199));
  school.phone = "(07) 5" + std::to_string(rnd.between(100, 999)) + " " + std::to_string(rnd.between(1000, 9999));
  school.calendar = schoolCalendar(school.options.year);
  school.levels = {7, 8, 9, 10, 11, 12, 13, 14};
  school.levelCodes = {"FS", "AE"};
  school.houses = {"Ashcombe", "Brightwater", "", "Carrick", "Dunmore", "", "", "", ""};
  school.cottages = {"North Lodge", "", "Harbour House", "", "", "", "", "", ""};
}

void planStaffAndSubjects(DemoSchool& school) {
  DemoRandom rnd(school.options.seed, "staff");
  const int staffCount = std::max(24, school.options.students / 12);
  std::set<std::string> codes;
  static const char* const titles[] = {"Mr", "Mrs", "Ms", "Dr", "Miss"};
  while (int(school.staff.size()) < staffCount) {
    const std::string surname = rnd.pick(names::kSurnames);
    const std::string given = rnd.chance(50) ? rnd.pick(names::kGirls) : rnd.pick(names::kBoys);
    std::string code;
    for (char c : given.substr(0, 1) + surname) {
      if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
      if (c >= 'A' && c <= 'Z') code += c;
    }
    code = code.substr(0, 3);
    // Taken codes get a number after the first two letters, as schools do.
    for (int n = 2; codes.count(code) && n < 100; ++n) code = code.substr(0, 2) + std::to_string(n);
    if (codes.count(code)) continue;
    codes.insert(code);
    school.staff.push_back({code, std::string(rnd.pick(titles)) + " " + given.substr(0, 1) + " " + surname});
  }

  auto add = [&](const std::string& prefix, int level, const auto& templates) {
    for (const SubjectTemplate& t : templates) {
      DemoSubject s{prefix + t.suffix, t.description, t.marked, t.total, level,
                    school.staff[size_t(rnd.below(int(school.staff.size())))].code};
      school.subjects.push_back(s);
    }
  };
  for (int level = 7; level <= 10; ++level) add(std::to_string(level), level, kJuniorSubjects);
  for (int level = 11; level <= 12; ++level) add(std::to_string(level), level, kSeniorSubjects);
  add(school.levelCodes[0], 13, kFoundationSubjects);
  add(school.levelCodes[1], 14, kAdultSubjects);
  add("", 0, kCoCurricular);

  // Numbers 1 to 15 and 101 on, so that the bank has gaps as a used one does.
  int n = 1;
  for (const auto& c : kStockComments) {
    school.comments.push_back({n, c[0], c[1]});
    n = n == 15 ? 101 : n + 1;
  }
}

}  // namespace velmont::batch
