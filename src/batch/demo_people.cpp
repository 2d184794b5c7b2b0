// The school's people: students in families, and past students. Every edge case
// the reports must handle is placed on purpose, a few times even in a small school.
#include <algorithm>
#include <cctype>

#include "demo_names.h"
#include "demo_random.h"
#include "demo_school.h"

namespace velmont::batch {

using data::Date;

namespace {

struct Slot {
  int level;
  std::string homeClass;
};

// Year levels share the roll: 15 in a hundred for each of 7 to 12, fewer above.
std::vector<Slot> placesInClasses(const DemoSchool& school, int students) {
  static const int share[] = {15, 15, 15, 15, 15, 15, 6, 4};  // levels 7..14
  std::vector<int> perLevel(8);
  int given = 0;
  for (int i = 0; i < 8; ++i) given += perLevel[size_t(i)] = students * share[i] / 100;
  for (int i = 0; given < students; i = (i + 1) % 6, ++given) ++perLevel[size_t(i)];
  std::vector<Slot> slots;
  for (int i = 0; i < 8; ++i) {
    const int level = 7 + i, count = perLevel[size_t(i)];
    if (level >= 13) {
      for (int k = 0; k < count; ++k) slots.push_back({level, school.levelCodes[size_t(level - 13)]});
      continue;
    }
    // Home-class codes have two characters, as the dialogs take them: the
    // level's last digit and a letter (7A, 9B, 0A for level 10, 2B for 12).
    const int classes = std::max(2, (count + 25) / 26);
    for (int k = 0; k < count; ++k)
      slots.push_back({level, std::string(1, char('0' + level % 10)) + char('A' + k % classes)});
  }
  return slots;
}

std::string upperLetters(const std::string& s) {
  std::string out;
  for (char c : s)
    if (std::isalpha(static_cast<unsigned char>(c))) out += char(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// Letters of the surname and a serial number, eight characters: ASHW0012.
std::string familyCode(const std::string& surname, int serial) {
  std::string digits = std::to_string(serial);
  if (digits.size() < 4) digits.insert(0, 4 - digits.size(), '0');
  std::string code = upperLetters(surname).substr(0, 8 - digits.size());
  code.resize(8 - digits.size(), 'X');
  return code + digits;
}

std::string streetLine(DemoRandom& rnd) {
  return std::to_string(rnd.between(1, 320)) + " " + rnd.pick(names::kStreets) + " " + rnd.pick(names::kStreetKinds);
}

std::string postcode(DemoRandom& rnd) { return std::to_string(rnd.between(3100, 3199)); }

std::string initialOf(const std::string& given) { return given.substr(0, 1); }

DemoFamily makeFamily(DemoRandom& rnd, const std::string& surname, int serial) {
  DemoFamily f;
  f.code = familyCode(surname, serial);
  f.surname = surname;
  const std::string mother = rnd.pick(names::kGirls), father = rnd.pick(names::kBoys);
  switch (rnd.below(5)) {
    case 0: f.addressee = "Ms " + initialOf(mother) + " " + surname; break;
    case 1: f.addressee = "Mr " + initialOf(father) + " " + surname; break;
    case 2: f.addressee = "Mr " + initialOf(father) + " and Ms " + initialOf(mother) + " " + surname; break;
    case 3: f.addressee = "The " + surname + " Family"; break;
    default: f.addressee = "Mr and Mrs " + initialOf(father) + " " + surname; break;
  }
  f.addressee = f.addressee.substr(0, 30);
  f.street = streetLine(rnd);
  f.town = rnd.pick(names::kTowns);
  if (rnd.chance(30)) f.extra = rnd.pick(names::kExtraLines);
  f.postcode = postcode(rnd);
  f.phone = "(07) 5" + std::to_string(rnd.between(100, 999)) + " " + std::to_string(rnd.between(1000, 9999));
  return f;
}

ExtraAddress extraAddress(DemoRandom& rnd, const std::string& addressee, bool send) {
  return {addressee.substr(0, 30), streetLine(rnd), rnd.pick(names::kTowns), postcode(rnd), send};
}

// At least `least`, else `percent` of `n`.
int share(int n, int percent, int least) { return std::max(least, n * percent / 100); }

}  // namespace

void planStudents(DemoSchool& school) {
  const int n = school.options.students;
  const SchoolCalendar& cal = school.calendar;
  const int year = cal.year;
  DemoRandom rnd(school.options.seed, "students");

  std::vector<Slot> slots = placesInClasses(school, n);
  rnd.shuffle(slots);

  // Student numbers: a run with gaps, handed out in no particular order.
  std::vector<int> numbers;
  for (int k = 0; int(numbers.size()) < n; ++k)
    if (rnd.chance(80)) numbers.push_back(2001 + k);
  rnd.shuffle(numbers);

  std::vector<std::string> houses;
  for (const auto& h : school.houses)
    if (!h.empty()) houses.push_back(h);

  size_t next = 0;
  int serial = 0;
  while (next < slots.size()) {
    const std::string surname = rnd.pick(names::kSurnames);
    DemoFamily family = makeFamily(rnd, surname, ++serial);
    const int roll = rnd.below(100);
    const size_t children = roll < 55 ? 1 : roll < 85 ? 2 : roll < 97 ? 3 : 4;
    for (size_t c = 0; c < children && next < slots.size(); ++c, ++next) {
      DemoStudent s;
      s.number = numbers[next];
      s.surname = rnd.chance(10) ? rnd.pick(names::kSurnames) : surname;
      s.sex = rnd.chance(50) ? 'F' : 'M';
      s.given = s.sex == 'F' ? rnd.pick(names::kGirls) : rnd.pick(names::kBoys);
      s.preferred = s.given;
      s.level = slots[next].level;
      s.homeClass = slots[next].homeClass;
      s.dob = Date::fromYmd(year - s.level - 5 - rnd.below(2), rnd.between(1, 12), rnd.between(1, 28));
      const int startYear = s.level <= 12 ? year - (s.level - 7) : year - (s.level - 13);
      s.enrolled = Date::fromYmd(startYear, 1, 28 + rnd.below(4));
      s.ability = rnd.between(25, 98);
      s.stanine = std::clamp(1 + s.ability * 9 / 100, 1, 9);
      s.familyCode = family.code;
      s.family = school.families.size();
      s.house = rnd.pick(houses);
      school.students.push_back(s);
    }
    school.families.push_back(std::move(family));
  }

  // Extra report addresses: a copy to a second home, some to a third, some
  // named but not asked for, and one marked "Y" with nobody to address.
  std::vector<size_t> fam(school.families.size());
  for (size_t i = 0; i < fam.size(); ++i) fam[i] = i;
  rnd.shuffle(fam);
  const size_t oneExtra = size_t(share(int(fam.size()), 8, 2)), twoExtras = size_t(share(int(fam.size()), 3, 1));
  size_t f = 0;
  for (size_t k = 0; k < oneExtra && f < fam.size(); ++k, ++f) {
    DemoFamily& fm = school.families[fam[f]];
    fm.extras[0] = extraAddress(rnd, "Mr " + initialOf(rnd.pick(names::kBoys)) + " " + fm.surname, true);
  }
  for (size_t k = 0; k < twoExtras && f < fam.size(); ++k, ++f) {
    DemoFamily& fm = school.families[fam[f]];
    fm.extras[0] = extraAddress(rnd, "Ms " + initialOf(rnd.pick(names::kGirls)) + " " + rnd.pick(names::kSurnames), true);
    fm.extras[1] = extraAddress(rnd, "Mr and Mrs " + initialOf(rnd.pick(names::kBoys)) + " " + fm.surname, true);
  }
  if (f < fam.size()) {  // named, but the family asked for no copy there
    DemoFamily& fm = school.families[fam[f++]];
    fm.extras[1] = extraAddress(rnd, "Dr " + initialOf(rnd.pick(names::kGirls)) + " " + fm.surname, false);
  }
  if (f < fam.size()) {  // marked for a copy, but the addressee was never filled in
    DemoFamily& fm = school.families[fam[f++]];
    fm.extras[0] = extraAddress(rnd, "", true);
  }

  // Enrolment histories around the year's term dates.
  std::vector<size_t> order(school.students.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  rnd.shuffle(order);
  size_t o = 0;
  auto take = [&](int count, auto apply) {
    for (int k = 0; k < count && o < order.size(); ++k, ++o) apply(school.students[order[o]], k);
  };
  const auto& ts = cal.termStart;
  const Date leaveDates[] = {ts[0].plusDays(20), ts[1].plusDays(-1), ts[1], ts[2].plusDays(10), ts[3], cal.termEnd[3]};
  take(share(n, 4, 3), [&](DemoStudent& s, int k) { s.left = leaveDates[k % 6]; });
  const Date startDates[] = {ts[1], ts[2], ts[2].plusDays(3), ts[3], ts[3].plusDays(1)};
  take(share(n, 3, 2), [&](DemoStudent& s, int k) { s.enrolled = startDates[k % 5]; });
  take(share(n, 2, 2), [&](DemoStudent& s, int k) {  // left and came back
    const Date left[] = {ts[0].plusDays(30), ts[1].plusDays(10), cal.termEnd[0], Date::fromYmd(year - 1, 12, 10)};
    const Date back[] = {ts[1], ts[2].plusDays(3), ts[3], ts[1].plusDays(7)};
    s.left = left[k % 4];
    s.enrolled = back[k % 4];
  });
  take(share(n, 1, 1), [&](DemoStudent& s, int) {  // left at the end of last year
    s.left = Date::fromYmd(year - 1, 12, 10);
    s.level = 0;
  });
  // Students enrolled all year from here on: the subject load and name cases.
  int many = share(n, 3, 2);
  for (size_t k = o; k < order.size() && many > 0; ++k) {
    DemoStudent& s = school.students[order[k]];
    if (s.level >= 7 && s.level <= 12) s.manySubjects = true, --many;
  }
  take(share(n, 4, 2), [&](DemoStudent& s, int) { s.preferred.clear(); });
  take(share(n, 5, 2), [&](DemoStudent& s, int) { s.preferred = names::nickname(s.given); });
  take(share(n, 1, 1), [&](DemoStudent& s, int) {  // entered in capitals
    for (char& c : s.given) c = char(std::toupper(static_cast<unsigned char>(c)));
    s.preferred = s.given;
  });
  take(share(n, 2, 1), [&](DemoStudent& s, int) {  // family code typed in small letters
    for (char& c : s.familyCode) c = char(std::tolower(static_cast<unsigned char>(c)));
  });

  // Past students: this year's leavers first (their subject records stay in the
  // year's table), then students who left in earlier years.
  DemoRandom past(school.options.seed, "past");
  const int pastCount = share(n, 5, 5);
  for (const DemoStudent& s : school.students) {
    if (int(school.pastStudents.size()) >= pastCount / 2) break;
    if (s.left.empty() || s.left.year() != year || s.enrolled > s.left) continue;
    const DemoFamily& fm = school.families[s.family];
    school.pastStudents.push_back({s.number, s.surname, s.given, fm.addressee, fm.street, fm.town, fm.extra,
                                   fm.postcode, s.level, s.left});
  }
  for (int k = 0; int(school.pastStudents.size()) < pastCount; ++k) {
    DemoPastStudent p;
    p.number = 1001 + k * 3 + past.below(3);
    p.surname = past.pick(names::kSurnames);
    p.given = past.chance(50) ? past.pick(names::kGirls) : past.pick(names::kBoys);
    DemoFamily fm = makeFamily(past, p.surname, 9000 + k);
    p.addressee = fm.addressee;
    p.street = fm.street;
    p.town = fm.town;
    p.extra = fm.extra;
    p.postcode = fm.postcode;
    p.lastLevel = past.between(9, 13);
    p.left = Date::fromYmd(year - past.between(1, 4), past.chance(70) ? 12 : past.between(3, 11), past.between(1, 28));
    school.pastStudents.push_back(p);
  }
}

}  // namespace velmont::batch
