// Which students get cards, in which order, and how many copies each.
#include "eot_fixture.h"
#include "qtcore/school_text.h"

namespace velmont::eot::testing {
namespace {

// The demo school's text as the cards show it: in its code page, 850.
QString shown(const std::string& bytes) { return qtcore::SchoolText::of(850).decode(bytes); }

struct Student {
  double number;
  std::string name;  // as the card shows it
  int level;
};

class EotSelection : public EotRun {
 protected:
  // Every student enrolled since 2020 and not left, so that only the options decide.
  void everyoneEnrolled() {
    for (const Student& s : students()) {
      setStudent(s.number, "ST_GRAD_DT", data::Date());
      setStudent(s.number, "ST_FUT_ENR", data::Date::fromYmd(2020, 1, 20));
    }
  }
  void reindexNames() {
    auto t = data::Table::open(school.file("ststuden.dbf"), "st");
    t->createIndex(school.file("STSTNAME.ntx"), "UPPER(ST_SURNAME+ST_XNAME)");
  }
  // The students in name order.
  std::vector<Student> students() {
    std::vector<Student> out;
    auto t = data::Table::open(school.file("ststuden.dbf"), "st");
    t->addIndex(school.file("STSTNAME.ntx"));
    for (t->goTop(); !t->eof(); t->skip()) {
      std::string first = data::trim(t->str("ST_PREF_NA"));
      if (first.empty()) first = data::trim(t->str("ST_XNAME"));
      out.push_back({t->num("ST_NUMBER"), first + " " + data::trim(t->str("ST_SURNAME")), int(t->num("ST_YEAR"))});
    }
    return out;
  }
  // The students carded, each once however many address copies they had.
  std::vector<QString> studentsCarded() const {
    std::vector<QString> names = cardNames();
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
  }
  // Names in order, two students of the same name next to each other counted once.
  std::vector<QString> namesWhere(const std::function<bool(const Student&)>& keep) {
    std::vector<QString> out;
    for (const Student& s : students())
      if (keep(s)) out.push_back(shown(s.name));
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
  }
};

TEST_F(EotSelection, WrapAroundRangeTakesTheTopAndBottomLevelsButNeverLevelZero) {
  everyoneEnrolled();
  const Student zero = students().front();
  setStudent(zero.number, "ST_YEAR", 0.0);
  options.startYear = 11;
  options.endYear = 8;
  ASSERT_TRUE(run().ran);
  const auto expected = namesWhere([](const Student& s) { return s.level >= 11 || (s.level > 0 && s.level <= 8); });
  ASSERT_GT(expected.size(), 3u);
  EXPECT_EQ(studentsCarded(), expected);
  EXPECT_EQ(std::count(expected.begin(), expected.end(), shown(zero.name)), 0);
  EXPECT_TRUE(ui.failures.empty());
}

TEST_F(EotSelection, LeaversAreLeftOutUnlessTheyCameBackByTheAsAtDate) {
  everyoneEnrolled();
  const auto all = students();
  ASSERT_GE(all.size(), 4u);
  const data::Date left = data::Date::fromYmd(2026, 3, 1);
  setStudent(all[0].number, "ST_GRAD_DT", left);  // left before the date: out
  setStudent(all[1].number, "ST_GRAD_DT", left);  // left, came back before the date: in
  setStudent(all[1].number, "ST_FUT_ENR", data::Date::fromYmd(2026, 5, 1));
  setStudent(all[2].number, "ST_GRAD_DT", left);  // comes back after the date: out
  setStudent(all[2].number, "ST_FUT_ENR", data::Date::fromYmd(2026, 9, 1));
  setStudent(all[3].number, "ST_GRAD_DT", data::Date::fromYmd(2026, 12, 1));  // leaves later: in
  options.startYear = 1;
  options.endYear = 20;
  ASSERT_TRUE(run().ran);
  const double left0 = all[0].number, back2 = all[2].number;
  const auto expected = namesWhere([&](const Student& s) { return s.level >= 1 && s.number != left0 && s.number != back2; });
  EXPECT_EQ(studentsCarded(), expected);
}

TEST_F(EotSelection, NamePartAndInitialMatchSurnamesAndFirstOrPreferredNames) {
  everyoneEnrolled();
  const auto all = students();
  setStudent(all[0].number, "ST_SURNAME", "Smith");
  setStudent(all[0].number, "ST_XNAME", "John");
  setStudent(all[0].number, "ST_PREF_NA", "");
  setStudent(all[1].number, "ST_SURNAME", "Goldsmith");
  setStudent(all[1].number, "ST_XNAME", "Anna");
  setStudent(all[1].number, "ST_PREF_NA", "Jade");
  setStudent(all[2].number, "ST_SURNAME", "Smithers");
  setStudent(all[2].number, "ST_XNAME", "Paul");
  setStudent(all[2].number, "ST_PREF_NA", "Paul");
  reindexNames();
  options.startYear = 1;
  options.endYear = 20;
  options.student = "smi";
  ASSERT_TRUE(run().ran);
  EXPECT_EQ(studentsCarded(), (std::vector<QString>{"Jade Goldsmith", "John Smith", "Paul Smithers"}));
  options.initial = "J";
  ASSERT_TRUE(run().ran);
  EXPECT_EQ(studentsCarded(), (std::vector<QString>{"Jade Goldsmith", "John Smith"}));
}

TEST_F(EotSelection, StudentNumberSelectsThatStudentWhateverTheLevelsAndClass) {
  const Student s = students().back();
  options.startYear = options.endYear = s.level == 7 ? 8 : 7;
  options.homeClass = "ZZ";
  options.asAt = data::Date::fromYmd(1990, 1, 1);
  options.student = std::to_string(int(s.number));
  ASSERT_TRUE(run().ran);
  EXPECT_EQ(cardNames(), std::vector<QString>{shown(s.name)});
  options.student = "999999";  // nobody: no card, the run still ends normally
  EXPECT_TRUE(run().ran);
  EXPECT_TRUE(cardNames().empty());
}

TEST_F(EotSelection, NegativeNumberPrintsOneCardForThatPastStudentRecord) {
  auto past = data::Table::open(school.file("stpast.dbf"), "p");
  past->goTo(2);
  const QString name = shown(data::trim(past->str("STP_XNAME")) + " " +
                                              data::trim(past->str("STP_SURNAM")));
  const QString addressee = shown(past->text("STP_ML_TTL"));
  options.student = "-2";
  ASSERT_TRUE(run().ran);
  EXPECT_EQ(cardNames(), std::vector<QString>{name});
  EXPECT_TRUE(find(0, addressee));
  options.student = "-999";  // no such record
  EXPECT_TRUE(run().ran);
  EXPECT_TRUE(cardNames().empty());
}

TEST_F(EotSelection, FamilyWithTwoExtraReportAddressesGetsThreeCopiesEachFromPageOne) {
  everyoneEnrolled();
  const Student s = students().front();
  std::string family;
  {
    auto st = data::Table::open(school.file("ststuden.dbf"), "st");
    for (st->goTop(); !st->eof(); st->skip())
      if (st->num("ST_NUMBER") == s.number) family = data::upper(data::trim(st->str("ST_PARENT")));
  }
  std::string mailTo;
  {
    auto pa = data::Table::open(school.file("paparent.dbf"), "pa", data::OpenMode::kReadWrite);
    for (pa->goTop(); !pa->eof(); pa->skip()) {
      if (data::trim(pa->str("PA_CODE")) != family) continue;
      ASSERT_TRUE(pa->lockRecord());
      pa->replace("PAEX_TITL1", "Aunt Ngaire Ruru");
      pa->replace("PAEX_RPRT1", "Y");
      pa->replace("PAEX_TITL2", "Mr T Ruru");
      pa->replace("PAEX_RPRT2", "Y");
      mailTo = pa->text("PA_MAIL_TI");
      pa->unlockRecord();
    }
    pa->commit();
  }
  ASSERT_FALSE(mailTo.empty());
  options.student = std::to_string(int(s.number));
  ASSERT_TRUE(run().ran);
  const QString name = shown(s.name);
  EXPECT_EQ(cardNames(), (std::vector<QString>{name, name, name}));
  EXPECT_EQ(figures.cards, 3);
  std::vector<QString> addressees;
  for (size_t p = 0; p < pages->size(); ++p)
    if (!find(p, "Page", true))
      for (const Drawn& d : atColumn(p, 15))
        if (std::abs(d.row - 10) < 0.01) addressees.push_back(d.text);
  EXPECT_EQ(addressees, (std::vector<QString>{shown(mailTo), "Aunt Ngaire Ruru", "Mr T Ruru"}));
}

TEST_F(EotSelection, StudentWithoutAFamilyRecordGetsABlankAddressNotAnotherFamilys) {
  everyoneEnrolled();
  const Student s = students().front();
  setStudent(s.number, "ST_PARENT", "");  // before every family code
  options.student = std::to_string(int(s.number));
  ASSERT_TRUE(run().ran);
  EXPECT_EQ(cardNames(), std::vector<QString>{shown(s.name)});
  EXPECT_EQ(figures.cards, 1);
  for (const Drawn& d : atColumn(0, 15)) EXPECT_TRUE(d.text.trimmed().isEmpty()) << d.text.toStdString();
}

TEST_F(EotSelection, EntriesWithQuotesAndOperatorsAreMatchedAsTextOnly) {
  everyoneEnrolled();
  const Student s = students().front();
  setStudent(s.number, "ST_SURNAME", "O'Hara");
  reindexNames();
  options.startYear = 1;
  options.endYear = 20;
  options.homeClass = "9\".or..T.";
  ASSERT_TRUE(run().ran);
  EXPECT_TRUE(cardNames().empty());
  options.homeClass = "";
  options.student = "o'h";
  ASSERT_TRUE(run().ran);
  ASSERT_EQ(cardNames().size(), 1u);
  EXPECT_TRUE(cardNames()[0].endsWith("O'Hara"));
  options.student = "\")+(\"";
  EXPECT_TRUE(run().ran);
  EXPECT_TRUE(cardNames().empty());
  EXPECT_TRUE(ui.failures.empty());
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace velmont::eot::testing
