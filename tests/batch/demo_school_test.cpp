// The demo school: what every later test and benchmark relies on being there.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "batch_test_helpers.h"
#include "data/ntx.h"
#include "school/subject_table.h"
#include "libs/installation.h"

using namespace velmont;
using namespace velmont::testing;
using data::Date;

namespace {

std::string upper(std::string s) {
  for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

const std::string kSubjects = school::subjectTableName(kTestYear) + ".dbf";

}  // namespace

TEST(DemoSchoolTest, StudentsSpanLevelsClassesAndEnrolmentHistories) {
  auto st = openTable(sharedDemoDir(), "ststuden.dbf");
  auto ctl = openTable(sharedDemoDir(), "sccontro.dbf");
  ctl->goTop();
  const Date term1 = ctl->date("PA_TRM1_ST"), term2 = ctl->date("PA_TRM2_ST");

  std::map<int, std::set<std::string>> classesByLevel;
  std::set<double> numbers;
  int blankPreferred = 0, otherPreferred = 0, left = 0, future = 0, returned = 0, lowerFamily = 0;
  uint32_t count = 0;
  for (st->goTop(); !st->eof(); st->skip(), ++count) {
    numbers.insert(st->num("ST_NUMBER"));
    classesByLevel[int(st->num("ST_YEAR"))].insert(st->text("ST_CLASS"));
    const std::string given = st->text("ST_XNAME"), preferred = st->text("ST_PREF_NA");
    EXPECT_FALSE(given.empty());
    blankPreferred += preferred.empty();
    otherPreferred += !preferred.empty() && preferred != given;
    const Date grad = st->date("ST_GRAD_DT"), enrol = st->date("ST_FUT_ENR");
    left += !grad.empty() && enrol <= grad;
    future += grad.empty() && enrol > term1;
    returned += !grad.empty() && enrol > grad;
    lowerFamily += st->text("ST_PARENT") != upper(st->text("ST_PARENT"));
  }
  EXPECT_EQ(count, 40u);
  EXPECT_EQ(numbers.size(), 40u) << "student numbers are unique";
  EXPECT_GE(blankPreferred, 2);
  EXPECT_GE(otherPreferred, 2);
  EXPECT_GE(left, 2);
  EXPECT_GE(future, 2);
  EXPECT_GE(returned, 2);
  EXPECT_GE(lowerFamily, 1);
  for (int level = 7; level <= 12; ++level) EXPECT_GE(classesByLevel[level].size(), 2u) << "level " << level;
  // The dialogs take two characters of a home class: every class can be typed.
  for (const auto& [level, classes] : classesByLevel)
    for (const std::string& c : classes) EXPECT_LE(c.size(), 2u) << "class " << c << " of level " << level;
  EXPECT_EQ(classesByLevel[10], (std::set<std::string>{"0A", "0B"}));
  EXPECT_EQ(classesByLevel[13], std::set<std::string>{"FS"});
  EXPECT_TRUE(classesByLevel.count(14));
  EXPECT_LT(term1, term2);
}

TEST(DemoSchoolTest, IndexFilesOrderTheirTables) {
  auto st = openTable(sharedDemoDir(), "ststuden.dbf");
  st->addIndex(sharedDemoDir() + "/STSTNAME.ntx");
  st->addIndex(sharedDemoDir() + "/STNUMBER.ntx");
  st->addIndex(sharedDemoDir() + "/STFAMILY.ntx");
  std::string previous;
  int seen = 0;
  for (st->goTop(); !st->eof(); st->skip(), ++seen) {
    const std::string name = upper(std::string(st->str("ST_SURNAME")) + std::string(st->str("ST_XNAME")));
    EXPECT_LE(previous, name);
    previous = name;
  }
  EXPECT_EQ(seen, 40);
  st->setOrder(2);
  double last = 0;
  for (st->goTop(); !st->eof(); st->skip()) {
    EXPECT_LT(last, st->num("ST_NUMBER"));
    last = st->num("ST_NUMBER");
  }
  // Every student's family is found through the family index by the upper-cased code.
  auto pa = openTable(sharedDemoDir(), "paparent.dbf");
  pa->addIndex(sharedDemoDir() + "/paindx.ntx");
  for (st->goTop(); !st->eof(); st->skip()) {
    EXPECT_TRUE(pa->seek(upper(st->text("ST_PARENT")))) << st->text("ST_PARENT");
  }
  for (const char* ntx : {"STSTNAME.ntx", "STNUMBER.ntx", "STFAMILY.ntx", "paindx.ntx", "stpast.ntx", "subjects.ntx",
                          "comment.ntx", "ttstaff.ntx"}) {
    data::NtxIndex index(sharedDemoDir() + "/" + ntx);
    EXPECT_GT(index.verify(), 0u) << ntx;
  }
}

TEST(DemoSchoolTest, FamiliesHaveExtraReportAddressesOfEveryKind) {
  auto pa = openTable(sharedDemoDir(), "paparent.dbf");
  int withExtraLine = 0, withoutExtraLine = 0, one = 0, both = 0, markedBlank = 0, namedNotSent = 0;
  for (pa->goTop(); !pa->eof(); pa->skip()) {
    (pa->text("PA_MAIL_EX").empty() ? withoutExtraLine : withExtraLine)++;
    const bool send1 = pa->text("PAEX_RPRT1") == "Y" && !pa->text("PAEX_TITL1").empty();
    const bool send2 = pa->text("PAEX_RPRT2") == "Y" && !pa->text("PAEX_TITL2").empty();
    one += send1 != send2;
    both += send1 && send2;
    markedBlank += pa->text("PAEX_RPRT1") == "Y" && pa->text("PAEX_TITL1").empty();
    namedNotSent += pa->text("PAEX_RPRT2") == "N" && !pa->text("PAEX_TITL2").empty();
  }
  EXPECT_GE(withExtraLine, 1);
  EXPECT_GE(withoutExtraLine, 1);
  EXPECT_GE(one, 1);
  EXPECT_GE(both, 1);
  EXPECT_EQ(markedBlank, 1);
  EXPECT_GE(namedNotSent, 1);

  auto past = openTable(sharedDemoDir(), "stpast.dbf");
  EXPECT_GE(past->reccount(), 5u);
  for (past->goTop(); !past->eof(); past->skip()) {
    EXPECT_FALSE(past->text("STP_ML_TTL").empty());
    EXPECT_GT(past->num("STP_LST_YR"), 0);
    EXPECT_FALSE(past->date("STP_GRD_DT").empty());
  }
}

TEST(DemoSchoolTest, SubjectLinesCarryRealAveragesAndEveryCommentCase) {
  EXPECT_FALSE(std::filesystem::exists(sharedDemoDir() + "/" + school::subjectTableName(kTestYear) + ".ntx"))
      << "the program builds the year's index itself";
  auto sub = openTable(sharedDemoDir(), kSubjects);
  auto bank = openTable(sharedDemoDir(), "comment.dbf");
  auto staff = openTable(sharedDemoDir(), "ttstaff.dbf");
  std::set<double> bankNumbers;
  for (bank->goTop(); !bank->eof(); bank->skip()) bankNumbers.insert(bank->num("COMM_NUMB"));
  std::set<std::string> staffCodes;
  for (staff->goTop(); !staff->eof(); staff->skip()) staffCodes.insert(staff->text("STAFF_CODE"));

  struct Sum {
    double exam = 0, assess = 0;
    int examN = 0, assessN = 0;
    std::set<double> examMeans, assessMeans;
  };
  std::map<std::pair<std::string, int>, Sum> sums;
  std::map<std::pair<double, int>, int> subjectRows;  // (student, term) -> lines 1..24
  std::set<int> terms;
  int coCurricular = 0, roles = 0, missingComment = 0, unknownTeacher = 0, longNote = 0, brokenNote = 0;
  for (sub->goTop(); !sub->eof(); sub->skip()) {
    const int line = int(sub->num("STSUB_LINE")), term = int(sub->num("STSUB_TERM"));
    terms.insert(term);
    ASSERT_TRUE((line >= 1 && line <= 32) || (line >= 96 && line <= 99)) << line;
    if (line <= 24) ++subjectRows[{sub->num("STSUB_NUMB"), term}];
    coCurricular += line >= 25 && line <= 32;
    roles += line >= 96;
    const double comm = sub->num("STSUB_COMM");
    missingComment += comm != 0 && !bankNumbers.count(comm);
    unknownTeacher += !staffCodes.count(sub->text("STSUB_TCHR"));
    const std::string note = sub->memo("STSUB_NOTE");
    longNote += note.size() > 150;
    brokenNote += note.find("\r\n") != std::string::npos;
    Sum& s = sums[{sub->text("STSUB_CODE"), term}];
    if (sub->num("STSUB_EMRK")) s.exam += sub->num("STSUB_EMRK"), ++s.examN, s.examMeans.insert(sub->num("STSUB_EMEN"));
    if (sub->num("STSUB_AMRK")) s.assess += sub->num("STSUB_AMRK"), ++s.assessN, s.assessMeans.insert(sub->num("STSUB_AMEN"));
  }
  EXPECT_EQ(terms, (std::set<int>{1, 2, 3, 4}));
  EXPECT_GT(coCurricular, 0);
  EXPECT_GT(roles, 0);
  EXPECT_GE(missingComment, 1);
  EXPECT_GE(unknownTeacher, 1);
  EXPECT_GE(longNote, 1);
  EXPECT_GE(brokenNote, 1);
  int longCards = 0;
  for (const auto& [key, rows] : subjectRows) longCards += rows >= 13;
  EXPECT_GE(longCards, 1) << "some cards continue on a second page";
  for (const auto& [key, s] : sums) {
    if (s.examN) {
      ASSERT_EQ(s.examMeans.size(), 1u) << key.first << " term " << key.second;
      EXPECT_NEAR(*s.examMeans.begin(), std::round(s.exam / s.examN * 10) / 10, 1e-9) << key.first;
    }
    if (s.assessN) {
      ASSERT_EQ(s.assessMeans.size(), 1u) << key.first;
      EXPECT_NEAR(*s.assessMeans.begin(), std::round(s.assess / s.assessN * 10) / 10, 1e-9) << key.first;
    }
  }
}

TEST(DemoSchoolTest, CataloguesControlRecordsAndInstallation) {
  auto subjects = openTable(sharedDemoDir(), "subjects.dbf");
  int marked = 0, unmarked = 0;
  for (subjects->goTop(); !subjects->eof(); subjects->skip()) {
    if (subjects->text("SUBJ_TYPE") == "Y") {
      ++marked;
      EXPECT_GT(subjects->num("SUBJ_TTLMK"), 0) << subjects->text("SUBJ_CODE");
    } else {
      ++unmarked;
      EXPECT_EQ(subjects->num("SUBJ_TTLMK"), 0);
    }
  }
  EXPECT_GT(marked, 0);
  EXPECT_GT(unmarked, 0);
  auto bank = openTable(sharedDemoDir(), "comment.dbf");
  EXPECT_TRUE(bank->locate([](const data::Table& t) { return t.text("COMM_LINE1").find('#') != std::string::npos; }));

  auto ctl = openTable(sharedDemoDir(), "sccontro.dbf");
  EXPECT_EQ(ctl->reccount(), 20u);
  EXPECT_EQ(ctl->fieldIndex("ST_HOUSE"), 40);
  EXPECT_EQ(ctl->fieldIndex("ST_COTTG"), 41);
  ctl->goTo(1);
  EXPECT_EQ(ctl->date("PA_TRM1_ST").year(), ctl->date("PA_TRM4_ST").year());
  EXPECT_FALSE(ctl->text("PA_GENDER").empty());
  ctl->goTo(2);
  EXPECT_EQ(ctl->str("FUND_OPTN")[2], 'N');
  EXPECT_FALSE(ctl->text("STM_MSG1A").empty());
  for (uint32_t rec : {4u, 5u, 6u}) {
    ctl->goTo(rec);
    EXPECT_EQ(ctl->text("STM_MSG1A") + ctl->text("STM_MSG1B") + ctl->text("STM_MSG2A"), "") << "record " << rec;
  }
  ctl->goTo(13);
  EXPECT_EQ(ctl->text("PA_FE_NM"), "FS");
  EXPECT_GT(ctl->num("PA_FE_AM"), 0);
  ctl->goTo(3);
  EXPECT_EQ(ctl->text("ST_HOUSE"), "") << "some house records are blank";

  auto ccmp = openTable(sharedDemoDir(), "ccmp.dst");
  const std::string name = libs::dekript(ccmp->str("C1"), -1.0);
  EXPECT_FALSE(name.empty());
  auto logo = openTable(sharedDemoDir(), "rvhplogo.dbf");
  EXPECT_EQ(logo->reccount(), 11u);
  logo->goTo(1);
  EXPECT_EQ(logo->text("LDE"), name);
  logo->goTo(5);
  EXPECT_TRUE(std::filesystem::exists(sharedDemoDir() + "/" + logo->text("LDE")));
  logo->goTo(6);
  EXPECT_TRUE(std::filesystem::exists(sharedDemoDir() + "/" + logo->text("LDE")));
  EXPECT_TRUE(std::filesystem::exists(sharedDemoDir() + "/school.gif"));
}

TEST(DemoSchoolTest, FlagFilesOnlyOnRequest) {
  const std::string grade = readFile(sharedDemoDir() + "/grade.$vl");
  EXPECT_NE(grade.find("\r\n0,None\r\n"), std::string::npos);
  EXPECT_NE(grade.find("\r\n21,Extra\r\n"), std::string::npos);
  EXPECT_NE(grade.find('&'), std::string::npos);
  for (const char* f : {"homecl.$vl", "house.$vl", "namibia.$vl", "arank.$vl", "erank.$vl"})
    EXPECT_TRUE(std::filesystem::exists(sharedDemoDir() + "/" + f)) << f;

  TempDir dir;
  makeDemo(dir.file("plain"), 30);
  for (const char* f : {"homecl.$vl", "house.$vl", "namibia.$vl", "grade.$vl", "arank.$vl", "erank.$vl"})
    EXPECT_FALSE(std::filesystem::exists(dir.file("plain") + "/" + f)) << f;
  TempDir some;
  makeDemo(some.file("s"), 30, 1, "grade,arank");
  EXPECT_TRUE(std::filesystem::exists(some.file("s") + "/grade.$vl"));
  EXPECT_TRUE(std::filesystem::exists(some.file("s") + "/arank.$vl"));
  EXPECT_FALSE(std::filesystem::exists(some.file("s") + "/erank.$vl"));
}

TEST(DemoSchoolTest, SameArgumentsGiveTheSameBytes) {
  TempDir dir;
  makeDemo(dir.file("a"), 35, 7);
  makeDemo(dir.file("b"), 35, 7);
  makeDemo(dir.file("c"), 35, 8);
  const auto a = readDirectory(dir.file("a")), b = readDirectory(dir.file("b")), c = readDirectory(dir.file("c"));
  ASSERT_EQ(a.size(), b.size());
  for (const auto& [name, bytes] : a) EXPECT_TRUE(bytes == b.at(name)) << name << " differs between two runs";
  EXPECT_NE(a.at("ststuden.dbf"), c.at("ststuden.dbf")) << "another seed gives another school";
  // The date of last update comes from the school year, not from today.
  const std::string& header = a.at("ststuden.dbf");
  EXPECT_EQ(1900 + uint8_t(header[1]), kTestYear);
}

TEST(DemoSchoolTest, WritesOnlyIntoNewOrEarlierDemoDirectories) {
  TempDir dir;
  std::filesystem::create_directories(dir.file("school"));
  { std::ofstream(dir.file("school") + "/ststuden.dbf") << "a real school's file"; }
  CommandResult r = runCommand({"demo", dir.file("school"), "--year", "2024"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("not empty"), std::string::npos) << r.err;
  r = runCommand({"demo", dir.file("school"), "--year", "2024", "--replace"});
  EXPECT_EQ(r.status, 1) << "no demo marker: never replaced";
  EXPECT_EQ(readFile(dir.file("school") + "/ststuden.dbf"), "a real school's file");

  // An earlier demo's folder, named with a national letter as a school's often is.
  const std::string demo = dir.file("d\xC3\xA9mo");
  makeDemo(demo, 30);
  r = runCommand({"demo", demo, "--students", "31", "--year", "2024", "--replace"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(openTable(demo, "ststuden.dbf")->reccount(), 31u);
  EXPECT_NE(r.out.find("ststuden.dbf"), std::string::npos) << "the summary names what was written";
}

TEST(DemoSchoolTest, PicturesAreReadableImages) {
  const std::string dir = sharedDemoDir();
  const std::string png = readFile(dir + "/crest.png");
  ASSERT_GT(png.size(), 8u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  EXPECT_EQ(readFile(dir + "/watermark.bmp").substr(0, 2), "BM");
  EXPECT_EQ(readFile(dir + "/school.gif").substr(0, 6), "GIF89a");
  if (std::system("command -v identify >/dev/null 2>&1") != 0) GTEST_SKIP() << "identify is not installed";
  const std::string out = dir + "/../identify.txt";
  for (const char* f : {"crest.png", "watermark.bmp", "school.gif", "rv_mark.gif", "TABBANNER.gif"}) {
    const std::string cmd = "identify -regard-warnings '" + dir + "/" + f + "' > '" + out + "' 2>&1";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << f << ": " << readFile(out);
  }
  ASSERT_EQ(std::system(("identify -format '%wx%h' '" + dir + "/school.gif' > '" + out + "'").c_str()), 0);
  EXPECT_EQ(readFile(out), "120x144");
}
