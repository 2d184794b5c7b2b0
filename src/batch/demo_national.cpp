// National letters in the demo school, so that the demo and the tests show the
// school's text in its code page on the cards, the lists and the text files.
#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "demo_school.h"

namespace velmont::batch {

namespace {

bool inCapitals(const std::string& name) {
  return std::none_of(name.begin(), name.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

// The first student of the sex not yet given national letters.
DemoStudent* firstOf(DemoSchool& school, char sex, const std::vector<const DemoStudent*>& taken) {
  for (DemoStudent& s : school.students)
    if ((sex == 0 || s.sex == sex) && !inCapitals(s.given) &&
        std::find(taken.begin(), taken.end(), &s) == taken.end())
      return &s;
  return nullptr;
}

void rename(DemoStudent& s, const std::string& given) {
  if (s.preferred == s.given) s.preferred = given;
  s.given = given;
}

}  // namespace

void addNationalLetters(DemoSchool& school) {
  const int cp = school.options.codePage;
  // The first of the wordings that the code page can hold: Western European,
  // Central European, Cyrillic; "" when it holds none of them.
  auto text = [cp](std::initializer_list<const char*> wordings) {
    for (const char* utf8 : wordings) {
      try {
        return inCodePage(utf8, cp);
      } catch (const std::invalid_argument&) {
        // the next wording
      }
    }
    return std::string();
  };
  std::vector<const DemoStudent*> taken;
  if (DemoStudent* s = firstOf(school, 'F', taken); s && !text({"Zoë", "Зоя"}).empty())
    rename(*s, text({"Zoë", "Зоя"})), taken.push_back(s);
  if (DemoStudent* s = firstOf(school, 'M', taken); s && !text({"José", "Иван"}).empty())
    rename(*s, text({"José", "Иван"})), taken.push_back(s);
  const std::string surname = text({"Müller-Upton", "Мюллер-Аптон"});
  if (DemoStudent* s = firstOf(school, 0, taken); s && !surname.empty()) {
    s->surname = surname;
    DemoFamily& f = school.families[s->family];
    f.addressee = text({"Mr & Mrs Müller-Upton", "Г-н и г-жа Мюллер-Аптон"});
    f.street = text({"12 Rue des Écoles", "ул. Школьная 12"});
    f.town = text({"Saint-Étienne", "Brno-Žabovřesky", "Санкт-Петербург"});
  }
  const std::string subject = text({"Économie et Français", "Ekonomie a čeština", "Экономика и право"});
  for (DemoSubject& s : school.subjects)
    if (s.code == "11ECO" && !subject.empty()) s.description = subject;
  const std::string comment = text({"Très bien, #!", "Výborně, #!", "Очень хорошо, #!"});
  if (school.comments.size() > 2 && !comment.empty()) school.comments[2].line2 = comment;
  school.nationalNote = text({"Très bien travaillé ce trimestre; à poursuivre.", "Výborná práce v tomto pololetí.",
                              "Отличная работа в этой четверти."});
  const std::string heading = text({"  ÉVALUATION   ", "  HODNOCENÍ    ", "    ОЦЕНКА     "});
  if (!heading.empty()) school.assessmentHeading = heading;
}

}  // namespace velmont::batch
