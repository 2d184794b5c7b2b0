#include "eot_headings.h"

#include "data/dbf_file.h"
#include "data/error.h"
#include "data/file.h"
#include "data/text.h"
#include "data/table.h"
#include "data/whole_table.h"
#include "qtcore/school_text.h"

namespace velmont::eot {

using data::isBlank;
using data::padTo;
using data::rtrim;
using data::trim;
using data::upper;
using data::Table;

namespace {


// Characters `from` (1-based) to `from + length - 1` of a field, blank-padded.
std::string part(const Table& t, const char* field, size_t from, size_t length) {
  const int index = t.fieldIndex(field);
  std::string_view s = index < 0 ? std::string_view() : t.str(index);
  s = from - 1 < s.size() ? s.substr(from - 1) : std::string_view();
  return padTo(s, length);
}

}  // namespace

void MK_HDEOTS(const school::SchoolFolder& folder, const std::string& yrGrd) {
  const std::pair<const char*, std::string> records[] = {
      {"Poss", "SUBJECT:"}, {"Totl", "Page"}, {"", "REPORT OF:"}, {"", "To the Parents of:"}, {"", "TERM"},
      {"", upper(trim(yrGrd))}};
  // Made whole before anyone can see it; a table another run made meanwhile is used as it is.
  data::createWholeTable(folder.path(kHeadingsFile), {{"H4", 'C', 4, 0}, {"H20", 'C', 20, 0}},
                         folder.languageDriver(), [&](Table& t) {
                           for (const auto& [h4, h20] : records) {
                             t.appendBlank();
                             t.replace("H4", h4);
                             t.replace("H20", h20);
                           }
                         });
}

HeadingWords loadHeadingWords(const school::SchoolFolder& folder, const std::string& yrGrd) {
  const std::string path = folder.path(kHeadingsFile);
  if (!data::Env::current()->exists(path)) {
    try {
      MK_HDEOTS(folder, yrGrd);
    } catch (const data::DataError& e) {
      // Most often a folder the user may only read.
      const std::string why = e.reason().rfind("cannot create: ", 0) == 0 ? e.reason().substr(15) : e.reason();
      throw data::DataError(path, "the card headings table is missing and cannot be made in the school's folder (" +
                                      why + "): print once where the folder may be written, or copy " +
                                      kHeadingsFile + " into it from a copy of the school");
    }
  }
  auto t = Table::open(path, "headeots");
  // The words print in the school's code page, whichever the table holds them in.
  const qtcore::SchoolText& own = qtcore::SchoolText::of(*t);
  const qtcore::SchoolText& school = qtcore::SchoolText::of(folder.codePage().codePage);
  std::array<std::pair<std::string, std::string>, 6> r;
  // Without its six records the cards would go out with blank headings.
  if (t->reccount() < r.size())
    throw data::DataError(path, "holds " + std::to_string(t->reccount()) +
                                    " of its 6 card heading records: it is damaged; restore it from a backup, or "
                                    "delete it and the program makes it anew with its default words");
  for (uint32_t i = 1; i <= 6; ++i) {
    t->goTo(i);
    r[i - 1] = {school.transcode(t->str("H4"), own), school.transcode(t->text("H20"), own)};
  }
  HeadingWords w;
  w.poss_hd = r[0].first;
  w.subj_hd = r[0].second;
  w.totl_hd = r[1].first;
  w.page_hd = r[1].second;
  w.rptof_hd = r[2].second;
  w.prnt_hd = r[3].second;
  w.term_hd = r[4].second;
  w.year_hd = r[5].second;
  return w;
}

CardHeadings set_eothd(Table& sc, const SchoolWords& words) {
  CardHeadings h;
  bool tutorGroups = false;
  const int cottage = sc.fieldIndex("ST_COTTG");
  if (cottage >= 0)
    for (sc.goTop(); !sc.eof() && !tutorGroups; sc.skip()) tutorGroups = !isBlank(sc.str(cottage));

  sc.goTo(2);
  for (size_t i = 0; i < 4; ++i) {
    h.hd1[i][0] = part(sc, "STM_MSG1A", i * 3 + 1, 3);
    h.hd1[i][1] = part(sc, "STM_MSG1A", 12 + i * 3 + 1, 3);
    h.hd2[i][0] = part(sc, "STM_MSG1B", i * 5 + 1, 5);
  }
  sc.goTo(3);
  h.hd0[0] = part(sc, "STM_MSG1A", 1, 15);
  h.hd0[1] = part(sc, "STM_MSG1A", 16, 15);
  for (size_t i = 0; i < 4; ++i) h.hd2[i][1] = part(sc, "STM_MSG1B", i * 5 + 1, 5);
  const char* roleFields[] = {"STM_MSG1A", "STM_MSG1B"};
  for (size_t record = 4; record <= 5; ++record) {
    sc.goTo(uint32_t(record));
    for (size_t k = 0; k < 2; ++k) {
      auto& role = h.hd3[(record - 4) * 2 + k];
      role[0] = part(sc, roleFields[k], 1, 20);
      for (size_t flag = 0; flag < 3; ++flag) role[flag + 1] = part(sc, roleFields[k], 21 + flag, 1);
    }
  }
  sc.goTo(6);
  h.hd4 = padTo(std::string(sc.fieldIndex("STM_MSG1A") >= 0 ? sc.str("STM_MSG1A") : "") +
                    std::string(sc.fieldIndex("STM_MSG1B") >= 0 ? sc.str("STM_MSG1B") : "") +
                    part(sc, "STM_MSG2A", 1, 3),
                75);
  sc.goTop();

  // Nothing set up at all: every column heading takes its default.
  std::string marks, ranks;
  for (size_t i = 0; i < 4; ++i) {
    marks += h.hd2[i][0];
    ranks += h.hd1[i][0];
  }
  if (isBlank(h.hd0[0] + h.hd0[1]) && isBlank(marks) && isBlank(ranks)) {
    h.hd2 = {{{" Exam", " Mark"}, {" Exam", " Avge"}, {"Class", "Asses"}, {"Class", " Avge"}}};
    h.hd0 = {"  EXAM RESULT  ", "TERM ASSESSMENT"};
    h.hd1 = {{{"Hme", "Wrk"}, {"Eff", "ort"}, {"Cnt", "b'n"}, {"Beh", "avr"}}};
  }
  if (isBlank(h.hd3[0][0] + h.hd3[1][0] + h.hd3[2][0] + h.hd3[3][0])) {
    h.hd3[0][0] = upper(words.cHomeCl) + " TEACHER  ";
    h.hd3[1][0] = tutorGroups ? "TUTOR GROUP TEACHER " : padTo(words.cHouse + " TEACHER", 20);
    // A grade.$vl word comes padded to 79 characters: compared without the padding.
    h.hd3[2][0] = trim(words.YrGrd) == "Grade" ? "GRADE COORDINATOR   " : "YEAR COORDINATOR    ";
    h.hd3[3][0] = "PRINCIPAL           ";
  }
  if (isBlank(h.hd4)) h.hd4 = "A=OUTSTANDING  B=VERY GOOD  C=GOOD  D=FAIR  E=BELOW AVERAGE  F=POOR EFFORT ";
  return h;
}

}  // namespace velmont::eot
