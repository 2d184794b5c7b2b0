// The end-of-term request builder that the dialog, velmont-batch eot, the
// benchmarks and the tests share: choices in, the run's request, options and
// saved options out, or a refusal naming the choice.
#include <gtest/gtest.h>

#include "reports/eot/eot_request.h"
#include "school/school_settings.h"
#include "school_fixture.h"

namespace velmont::eot {
namespace {

class EotRequestTest : public ::testing::Test {
 protected:
  EotRequestTest() {
    session = school::freshSessionValues(school::SchoolFolder(school.dir()), data::Date::fromYmd(2026, 8, 3));
    session.year = testing::kDemoYear;
    school::readSchoolWords(session);
    school::readSchoolName(session);
  }
  testing::SchoolCopy school;
  school::SessionValues session;
};

TEST_F(EotRequestTest, BlankChoicesTakeTheLevelsInUseAndTheProcessingDate) {
  EotChoices c;
  c.homeClass = " 7A ";
  c.printerName = "PDF";
  const EotRequest r = eotRequest(session, c);
  EXPECT_GT(r.options.startYear, 0);
  EXPECT_LT(r.options.startYear, r.options.endYear);
  EXPECT_EQ(r.options.homeClass, "7A");
  EXPECT_EQ(r.options.asAt, session.date);
  EXPECT_EQ(r.options.reduc_yr, "N");
  EXPECT_EQ(r.prefs.substr(4), "7A  2 11   ") << "class, \"2 \", nDoubl and nDPage, padded to 15";
  EXPECT_EQ(r.run.printerName, "PDF");
  EXPECT_EQ(r.run.folder.dir(), school.dir());
  EXPECT_FALSE(r.run.author.isEmpty());
}

TEST_F(EotRequestTest, SavedDigitsPassThroughAndTheLevelCodesAreSaved) {
  EotChoices c;
  c.from = "7";
  c.to = "9";
  c.reduceYear = true;
  c.savedPrefs = "0709    2 3412 ";
  const EotRequest r = eotRequest(session, c);
  EXPECT_EQ(r.options.startYear, 7);
  EXPECT_EQ(r.options.endYear, 9);
  EXPECT_EQ(r.options.reduc_yr, "Y");
  EXPECT_EQ(r.options.nPhoto, 0) << "a blank position reads 0";
  EXPECT_EQ(r.options.nDoubl, 3);
  EXPECT_EQ(r.options.nDPage, 4);
  EXPECT_EQ(r.prefs, " 7 9    2 34   ");
}

TEST_F(EotRequestTest, AChoiceTheRunCannotStartWithIsRefusedByName) {
  struct Case {
    EotChoices choices;
    std::string field, what;
  };
  const Case cases[] = {
      {{.from = "Q"}, "from", "from: the school has no year level \"Q\""},
      {{.from = "7", .to = "ZZ"}, "to", "to: the school has no year level \"ZZ\""},
      {{.homeClass = QString::fromUtf8("7\xE2\x82\xAC")}, "class", ""},   // the euro sign is not in code page 850
      {{.student = QString::fromUtf8("\xCE\xA9mega")}, "student", ""},  // nor is omega
  };
  for (const Case& c : cases) {
    try {
      eotRequest(session, c.choices);
      ADD_FAILURE() << c.field << " accepted";
    } catch (const reports::RequestRefused& e) {
      EXPECT_EQ(e.field(), c.field);
      if (!c.what.empty()) {
        EXPECT_EQ(std::string(e.what()), c.what);
      }
      EXPECT_FALSE(e.lines().isEmpty());
    }
  }
}

}  // namespace
}  // namespace velmont::eot
