// Schools whose administration system chose other widths for the numeric key
// fields than the demo's: the cards carry the same subjects, marks and comments,
// and a table whose fields cannot form the key stops the run with its name.
#include <filesystem>

#include "eot_fixture.h"
#include "field_widths.h"

namespace velmont::eot::testing {
namespace {

namespace fs = std::filesystem;
using velmont::testing::rewriteWithWidths;
using velmont::testing::Width;

class EotWidths : public EotRun {
 protected:
  // Every text of every page, in order.
  std::vector<std::vector<QString>> printed() {
    EXPECT_TRUE(run().ran) << (ui.messages.empty() ? QString() : ui.messages.back()).toStdString();
    std::vector<std::vector<QString>> all;
    for (size_t p = 0; p < pages->size(); ++p) {
      all.emplace_back();
      for (const Drawn& d : texts(p)) all.back().push_back(d.text);
    }
    return all;
  }
  // The school's key fields at these widths; the indexes over them built again.
  void widths(int student, int number, int term, int line, int comment) {
    rewriteWithWidths(school.file("ststuden.dbf"), {{"ST_NUMBER", {student}}},
                      {{"STSTNAME.ntx", ""}, {"STNUMBER.ntx", ""}, {"STFAMILY.ntx", ""}});
    std::map<std::string, std::string> subjectIndex;
    if (fs::exists(school.file("STSUB26.ntx"))) subjectIndex["STSUB26.ntx"] = "";
    rewriteWithWidths(school.file("STSUB26.dbf"),
                      {{"STSUB_NUMB", {number}}, {"STSUB_TERM", {term}}, {"STSUB_LINE", {line}}, {"STSUB_COMM", {comment}}},
                      subjectIndex);
    // The comment index keyed as such a school keys it: the number in its field's width.
    rewriteWithWidths(school.file("comment.dbf"), {{"COMM_NUMB", {comment}}}, {{"comment.ntx", "STR(COMM_NUMB)"}});
  }
};

TEST_F(EotWidths, WiderAndNarrowerKeyFieldsPrintTheSameCards) {
  const auto demo = printed();
  const int cards = figures.cards;
  ASSERT_GT(cards, 3);
  ASSERT_GT(demo.size(), size_t(cards)) << "the demo's cards carry subjects and comments";
  options.student = "2023";
  const auto one = printed();
  ASSERT_EQ(figures.cards, 1);
  options.student.clear();

  // Student and subject numbers 8 wide, term 2, line 3, comment numbers 5; the
  // subject index is missing and built over these widths.
  widths(8, 8, 2, 3, 5);
  EXPECT_EQ(printed(), demo);
  EXPECT_EQ(figures.cards, cards);
  // Narrower than the demo's, with the subject index of the wider table left in
  // place: the run refuses it by name rather than printing cards without subjects.
  rewriteWithWidths(school.file("STSUB26.dbf"), {{"STSUB_NUMB", {5}}, {"STSUB_TERM", {1}}, {"STSUB_LINE", {2}}});
  EXPECT_FALSE(run().ran);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_TRUE(ui.messages[0].contains("STSUB26.ntx: its keys are 13 bytes long")) << ui.messages[0].toStdString();
  EXPECT_TRUE(cardNames().empty()) << "no card drawn";
  ui.messages.clear();
  // Built again over the narrow widths, it prints the same cards.
  widths(5, 5, 1, 2, 3);
  EXPECT_EQ(printed(), demo);
  options.student = "2023";
  EXPECT_EQ(printed(), one) << "one student by number";
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(EotWidths, ASubjectTableWhoseKeyFieldIsNotANumberStopsTheRunNamingIt) {
  rewriteWithWidths(school.file("STSUB26.dbf"), {{"STSUB_TERM", {1, 0, 'C'}}});
  EXPECT_FALSE(run().ran);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_TRUE(ui.messages[0].contains("STSUB26.dbf: the field STSUB_TERM is of type C, not a number"))
      << ui.messages[0].toStdString();
  EXPECT_FALSE(fs::exists(school.file("STSUB26.ntx"))) << "no index built over the unusable table";
  EXPECT_TRUE(ui.failures.empty());
}

}  // namespace
}  // namespace velmont::eot::testing
