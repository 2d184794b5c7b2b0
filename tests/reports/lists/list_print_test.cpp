// The printed grid, read back from the page printer's display list: cells,
// averages and totals, the wide layout, page breaks and the empty selection.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "list_fixture.h"
#include <QRegularExpression>

#include "page_overlaps.h"
#include "print/memory_device.h"
#include "print/page_printer.h"
#include "print/preview_document.h"
#include "reports/lists/list_grid.h"
#include "reports/lists/list_print.h"

using namespace velmont;
using namespace velmont::lists;
using namespace velmont::lists::testing;

namespace {

class ListPrintTest : public ::testing::Test {
 protected:
  ListPrintTest() {
    auto memory = std::make_unique<print::MemoryDevice>();
    device = memory.get();
    printer.Init(std::move(memory));
  }

  // Prepares and prints the list; the document is ended so every page is kept.
  bool print(ListChoices choices, double weight = 100, bool names = false) {
    school.write();
    ctx = school.context(ws);
    ctx.C_assex = weight;
    ctx.oP = &printer;
    ctx.message = [this](const std::vector<std::string>& lines) { messages.insert(messages.end(), lines.begin(), lines.end()); };
    if (!PREP_HCLSUB(ctx, names)) return false;
    printer.create();
    printer.startDoc("list");
    printer.setPt(26);
    printer.setLeftMar(20);
    const bool printed = PRNT_HCLSUB(ctx, "L_Rpt_001", choices);
    printer.endDoc();
    return printed;
  }
  const std::vector<print::PageList>& pages() const { return device->documents().back().pages; }

  // The texts of the row whose name cell says `name`, left to right (blank cells left out).
  std::vector<std::string> rowOf(const std::string& name, int page = 0) const {
    std::vector<print::TextItem> row;
    double y = -1;
    for (const auto& item : pages().at(size_t(page)).items())
      if (auto* t = std::get_if<print::TextItem>(&item); t && t->text.toStdString() == name) y = t->at.y;
    for (const auto& item : pages().at(size_t(page)).items())
      if (auto* t = std::get_if<print::TextItem>(&item); t && t->at.y == y) row.push_back(*t);
    std::sort(row.begin(), row.end(), [](const auto& a, const auto& b) { return a.at.x < b.at.x; });
    std::vector<std::string> texts;
    for (const auto& t : row) texts.push_back(t.text.toStdString());
    return texts;
  }
  int count(const QString& text) const {
    int n = 0;
    for (const auto& page : pages())
      for (const auto& item : page.items())
        if (auto* t = std::get_if<print::TextItem>(&item); t && t->text == text) ++n;
    return n;
  }

  TinySchool school;
  data::Workspace ws;
  ListRunContext ctx;
  print::lmcPrn3 printer;
  print::MemoryDevice* device = nullptr;
  std::vector<std::string> messages;
};

TEST_F(ListPrintTest, PercentagesAverageAndTotalOfAStudent) {
  school.students = {{1, "Avery", "Al"}, {2, "Baker", "Bo"}};
  school.subjects = {{"7ENG", "English", "Y", 50}, {"7MAT", "Mathematics"}, {"7SCI", "Science"}};
  school.marks = {{1, "7ENG", 40, 0, 1}, {1, "7MAT", 60, 0, 2}, {2, "7SCI", 45, 0, 1}};
  ASSERT_TRUE(print({.marks = true}));
  // 40 of 50 is 80; 80 and 60 average 70 and total 140; Science not taken: blank.
  EXPECT_EQ(rowOf("AVERY Al"), (std::vector<std::string>{"1.", "AVERY Al", "80", "60", "70", "140"}));
  EXPECT_EQ(rowOf("BAKER Bo"), (std::vector<std::string>{"2.", "BAKER Bo", "45", "45", "45"}));
  // The closing row counts the students per subject; the summary columns stay blank.
  EXPECT_EQ(ctx.num_stud, (std::vector<int>{1, 1, 1, 0, 0}));
  EXPECT_EQ(count(" No. Students "), 1);
  // The class averages as percentages of the maximum: 40 of 50 is 80.
  EXPECT_EQ(count("GRADE AVERAGE "), 1);
  EXPECT_EQ(count("(Marks shown as %)"), 1);
}

TEST_F(ListPrintTest, CellsAndClassAveragesUseTheWeightedMark) {
  school.students = {{1, "Avery", "Al"}, {2, "Baker", "Bo"}};
  school.subjects = {{"7ENG", "English", "Y", 50}, {"7MAT", "Mathematics"}};
  school.marks = {{1, "7ENG", 40, 20, 1}, {1, "7MAT", 80, 50, 2}, {2, "7MAT", 70, 60, 1}};
  ASSERT_TRUE(print({.marks = true}, 60));
  // 60 % of the exam and 40 % of the assessment: 32 of 50 is 64; 68; and 66.
  EXPECT_EQ(rowOf("AVERY Al"), (std::vector<std::string>{"1.", "AVERY Al", "64", "68", "66", "132"}));
  EXPECT_EQ(rowOf("BAKER Bo"), (std::vector<std::string>{"2.", "BAKER Bo", "66", "66", "66"}));
  // Class averages: 32 of 50 is 64; (68 + 66) / 2 = 67.
  std::vector<std::string> averages = rowOf("GRADE AVERAGE ");
  EXPECT_EQ(averages, (std::vector<std::string>{"GRADE AVERAGE ", "64", "67"}));
}

TEST_F(ListPrintTest, ZeroMarksAndMarksOff) {
  school.students = {{1, "Avery", "Al"}};
  school.subjects = {{"7ENG", "English", "Y"}, {"7ART", "Art", "N"}, {"7MAT", "Mathematics"}};
  school.marks = {{1, "7ENG", 0, 0, 1}, {1, "7ART", 0, 0, 2}, {1, "7MAT", 50, 0, 3}};
  ASSERT_TRUE(print({.marks = true}));
  // Columns 7ART, 7ENG, 7MAT: a zero shows " * " in type N, "  0" in type Y; only 50 counts.
  EXPECT_EQ(rowOf("AVERY Al"), (std::vector<std::string>{"1.", "AVERY Al", "*", "0", "50", "50", "50"}));

}

TEST_F(ListPrintTest, MarksOffShowAnAsteriskPerTakenSubject) {
  school.students = {{1, "Avery", "Al"}};
  school.subjects = {{"7ENG", "English", "Y"}, {"7ART", "Art", "N"}, {"7MAT", "Mathematics"}};
  school.marks = {{1, "7ENG", 0, 0, 1}, {1, "7ART", 0, 0, 2}, {1, "7MAT", 50, 0, 3}};
  ASSERT_TRUE(print({.marks = false}));
  EXPECT_EQ(rowOf("AVERY Al"), (std::vector<std::string>{"1.", "AVERY Al", "*", "*", "*"}))
      << "every taken subject an asterisk, average and total blank";
  EXPECT_EQ(count("GRADE AVERAGE "), 0);
}

TEST_F(ListPrintTest, EveryCellIsBoxedTakenOrNot) {
  school.students = {{1, "Avery", "Al"}};
  school.subjects = {{"7ENG", "English"}, {"7MAT", "Mathematics"}};
  school.marks = {{1, "7ENG", 50, 0, 1}, {2, "7MAT", 50, 0, 1}};  // student 2 does not exist
  ASSERT_TRUE(print({}));
  EXPECT_EQ(ctx.subj_cod.size(), 3u) << "only 7ENG was met";
  // Row boxes at the student's row: the name frame and one per column.
  const double top = printer.aSize[5] - printer.aSize[3];  // the printer's page height
  int boxes = 0;
  double rowTop = 0;
  for (const auto& item : pages()[0].items())
    if (auto* b = std::get_if<print::BoxItem>(&item); b && std::abs(b->area.width() - 32 * 26) < 1e-6) rowTop = b->area.top;
  for (const auto& item : pages()[0].items())
    if (auto* b = std::get_if<print::BoxItem>(&item); b && b->area.top == rowTop) ++boxes;
  EXPECT_GT(top, 0);
  EXPECT_EQ(boxes, 1 + 3);
}

TEST_F(ListPrintTest, TwentySixColumnsUseTheWideLayout) {
  school.students = {{1, "Avery", "Al"}};
  for (int s = 0; s < 24; ++s) {
    const std::string code = "S" + std::string(s < 10 ? "0" : "") + std::to_string(s);
    school.subjects.push_back({code, "Subject " + code});
    school.marks.push_back({1, code, 50, 0, s + 1});
  }
  ASSERT_TRUE(print({.marks = true}));
  EXPECT_EQ(ctx.subj_hdg.size(), 26u);
  EXPECT_EQ(ctx.box_sz, 2);
  // The letterhead's rules are 29 + 2 x 26 = 81 columns wide.
  EXPECT_EQ(count(QString(81, '_')), 2);
  // The first column's box starts at column 21 + 2 = 23 and is 2 columns wide.
  bool found = false;
  for (const auto& item : pages()[0].items())
    if (auto* b = std::get_if<print::BoxItem>(&item))
      found |= std::abs(b->area.left - (20 + 22 * 26)) < 1e-6 && std::abs(b->area.width() - 52) < 1e-6;
  EXPECT_TRUE(found);
}

TEST_F(ListPrintTest, FifteenColumnsWidenTheLetterheadButNotTheShading) {
  // 13 subjects and the two summary columns: the letterhead is 39 + 3 x 15 = 84
  // columns wide, while a shading band keeps its 73.8 columns up to 15 columns.
  school.students = {{1, "Avery", "Al"}};
  for (int s = 0; s < 13; ++s) {
    const std::string code = "S" + std::string(s < 10 ? "0" : "") + std::to_string(s);
    school.subjects.push_back({code, "Subject " + code});
    school.marks.push_back({1, code, 50, 0, s + 1});
  }
  ASSERT_TRUE(print({.shading = true}));
  ASSERT_EQ(ctx.subj_hdg.size(), 15u);
  EXPECT_EQ(count(QString(84, '_')), 2);
  int bands = 0;
  for (const auto& item : pages()[0].items())
    if (auto* b = std::get_if<print::BoxItem>(&item); b && b->fill && !b->outline) {
      ++bands;
      EXPECT_NEAR(b->area.width(), 73.8 * 26, 1e-6);
    }
  EXPECT_EQ(bands, 32) << "rows 5, 6.89, ... up to 63.59";
}

TEST_F(ListPrintTest, TheWideLayoutsColumnsLabelsAndFonts) {
  school.students = {{1, "Avery", "Al"}};
  for (int s = 0; s < 24; ++s) {
    const std::string code = "S" + std::string(s < 10 ? "0" : "") + std::to_string(s);
    school.subjects.push_back({code, "Subject " + code});
    school.marks.push_back({1, code, 50, 0, s + 1});
  }
  ASSERT_TRUE(print({.birthDates = true, .marks = true, .shading = true}));
  const print::PageList& page = pages()[0];
  auto x = [](double column) { return 20 + (column - 1) * 26; };  // left margin 2 mm, 2.6 mm a column
  auto textAt = [&](const QString& text) -> const print::TextItem* {
    for (const auto& item : page.items())
      if (auto* t = std::get_if<print::TextItem>(&item); t && t->text == text) return t;
    return nullptr;
  };
  auto sizeOf = [&](const print::TextItem* t) { return page.fonts().at(t->font).pointSize; };
  const print::TextItem* maximum = textAt("MAXIMUM MARKS");
  const print::TextItem* average = textAt("GRADE AVERAGE ");
  const print::TextItem* birth = textAt("Date of Birth");
  const print::TextItem* born = textAt("06/05/1991");
  const print::TextItem* tail = textAt(" No. Students ");
  ASSERT_TRUE(maximum && average && birth && born && tail);
  EXPECT_NEAR(maximum->at.x, x(8), 1e-6);
  EXPECT_EQ(sizeOf(maximum), 8);
  EXPECT_NEAR(average->at.x, x(8), 1e-6);
  EXPECT_EQ(sizeOf(average), 9);
  EXPECT_TRUE(page.fonts().at(average->font).italic);
  EXPECT_NEAR(birth->at.x, x(18), 1e-6);
  EXPECT_NEAR(born->at.x, x(18), 1e-6);
  EXPECT_EQ(sizeOf(born), 6);
  EXPECT_NEAR(tail->at.x, x(15), 1e-6);
  // Every column's maximum in 5 points.
  int maxima = 0;
  for (const auto& item : page.items())
    if (auto* t = std::get_if<print::TextItem>(&item); t && t->text == "100" && t->at.y == maximum->at.y) {
      ++maxima;
      EXPECT_EQ(sizeOf(t), 5);
    }
  EXPECT_EQ(maxima, 26);
  // The total: 24 subjects of 50 make 1200, four figures in 10 points would run out
  // of the two-column box, so they are smaller.
  const print::TextItem* total = textAt("1200");
  ASSERT_NE(total, nullptr);
  EXPECT_LT(sizeOf(total), 10);
  EXPECT_EQ(velmont::testing::overlappingTexts(page), QStringList());
  // The heading row's name frame is 24 columns wide, the student's frame 32; a shading
  // band (36 + 3 x 26 by the layout) stops at the grid's right edge, column 21 + 26 x 2 + 2.
  bool nameFrame = false, rowFrame = false, band = false;
  for (const auto& item : page.items())
    if (auto* b = std::get_if<print::BoxItem>(&item)) {
      nameFrame |= std::abs(b->area.width() - 24 * 26) < 1e-6 && std::abs(b->area.left - x(1)) < 1e-6;
      rowFrame |= std::abs(b->area.width() - 32 * 26) < 1e-6;
      band |= b->fill && std::abs(b->area.width() - (21 + 26 * 2 + 2 - 1.2) * 26) < 1e-6;
    }
  EXPECT_TRUE(nameFrame && rowFrame && band);
}

TEST_F(ListPrintTest, EveryFigureStaysInsideItsBoxAndNoTextOverlapsAnother) {
  // Subjects at full marks: maxima and cells of "100" side by side, and a total of
  // four figures ("1400", "2800") in a box made for three; in the normal layout
  // (16 columns) and the wide one (30 columns, 2 columns a box). A surname of 20
  // capitals stops before the date of birth.
  for (const int subjects : {14, 28}) {
    SCOPED_TRACE(subjects);
    ws.closeAll();
    for (const auto& e : std::filesystem::directory_iterator(school.dir())) std::filesystem::remove(e.path());
    school.subjects.clear();
    school.marks.clear();
    school.students = {{1, "Avery", "Al"}, {2, "FEATHERSTONEHAUGHWMW", "Bo"}};
    for (int s = 0; s < subjects; ++s) {
      const std::string code = "S" + std::string(s < 10 ? "0" : "") + std::to_string(s);
      school.subjects.push_back({code, "Subject " + code});
      school.marks.push_back({1, code, 100, 0, s + 1});
      school.marks.push_back({2, code, 100, 0, s + 1});
    }
    ASSERT_TRUE(print({.birthDates = true, .marks = true, .shading = true}));
    const print::PageList& page = pages()[0];
    EXPECT_EQ(velmont::testing::overlappingTexts(page), QStringList());
    const bool wide = subjects + 2 > 25;
    const double base = wide ? 21 : 30, box = wide ? 2 : 3;
    auto x = [](double column) { return 20 + (column - 1) * 26; };
    int figures = 0;
    for (const velmont::testing::TextBox& b : velmont::testing::textBoxes(page)) {
      if (b.text.contains(QRegularExpression("\\D")) || b.left < x(base + box) - box * 26 / 2) continue;
      const int i = int(((b.left + b.right) / 2 - x(base)) / (box * 26));  // the box under the figure's middle
      EXPECT_GE(b.left, x(base + box * i) + 1) << b.text.toStdString() << " crosses the left rule of box " << i;
      EXPECT_LE(b.right, x(base + box * (i + 1)) - 1) << b.text.toStdString() << " crosses the right rule of box " << i;
      ++figures;
    }
    EXPECT_GT(figures, (subjects + 2) * 3) << "maxima, two students' cells and the counts";
  }
}

TEST_F(ListPrintTest, ANewPageBeforeAStudentBelowRowForty) {
  // Codes as headings, 4 letters: the heading ends the body at row 5, the vertical
  // headings fill rows 6 to 9, the maximum, average and column-heading rows 10 to 12;
  // rows 13 to 40 hold 28 students, and the 29th (the last) starts page 2 with the
  // whole heading block.
  auto name = [](int i) { return "Stu" + std::string(1, char('A' + i / 26)) + char('a' + i % 26); };
  for (int i = 0; i < 29; ++i) school.students.push_back({double(i + 1), name(i), "X"});
  school.subjects = {{"7ENG", "English"}};
  for (int i = 0; i < 29; ++i) school.marks.push_back({double(i + 1), "7ENG", 50});
  ASSERT_TRUE(print({}));
  ASSERT_EQ(pages().size(), 2u);
  EXPECT_EQ(rowOf("STUAA X", 0).front(), "1.");
  EXPECT_EQ(rowOf("STUBB X", 0).front(), "28.");
  EXPECT_EQ(rowOf("STUBC X", 1).front(), "29.") << "the last student, on a page of its own";
  EXPECT_EQ(count("NAME:"), 2);
  EXPECT_EQ(count("MAXIMUM MARKS"), 2);
  EXPECT_EQ(count(" No. Students "), 1);
}

TEST_F(ListPrintTest, LongSubjectNamesGiveHeadingsOfTwelveLettersAndRoomForStudents) {
  // Names of 30 letters would take 30 rows and leave room for one student a page;
  // their first 12 letters leave rows 21 to 40 for 20 students.
  auto name = [](int i) { return "Stu" + std::string(1, char('A' + i / 26)) + char('a' + i % 26); };
  for (int i = 0; i < 45; ++i) school.students.push_back({double(i + 1), name(i), "X"});
  school.subjects = {{"7ENG", "English Language And Literature"}, {"7MAT", "Mathematics"}};
  for (int i = 0; i < 45; ++i) school.marks.push_back({double(i + 1), "7ENG", 50});
  school.marks.push_back({1, "7MAT", 50});
  ASSERT_TRUE(print({}, 100, true));
  EXPECT_EQ(pages().size(), 3u);
  EXPECT_EQ(rowOf("STUAA X", 0).front(), "1.");
  EXPECT_EQ(rowOf("STUAT X", 0).front(), "20.");
  std::string english;
  for (const auto& item : pages()[0].items())
    if (auto* t = std::get_if<print::TextItem>(&item); t && t->at.x > 20 + (30 + 3 - 1) * 26 && t->at.x < 20 + (30 + 6 - 1) * 26 &&
                                                         t->text.size() == 1 && t->text != "*")
      english += t->text.toStdString();
  EXPECT_EQ(english, "ENGLISH LANG") << "the first 12 letters, one a row";
}

TEST_F(ListPrintTest, TheHundredthStudentKeepsAReadableNumber) {
  // A two-digit picture would print asterisks from the hundredth student on.
  auto name = [](int i) { return "Stu" + std::string(1, char('A' + i / 26)) + char('a' + i % 26); };
  for (int i = 0; i < 100; ++i) school.students.push_back({double(i + 1), name(i), "X"});
  school.subjects = {{"7ENG", "English"}};
  for (int i = 0; i < 100; ++i) school.marks.push_back({double(i + 1), "7ENG", 50});
  ASSERT_TRUE(print({}));
  ASSERT_EQ(pages().size(), 4u);
  EXPECT_EQ(rowOf("STUDV X", 3).front(), "100.");
  EXPECT_EQ(rowOf("STUDU X", 3).front(), "99.");
}

TEST_F(ListPrintTest, AStopInTheSteppedPreviewEndsTheList) {
  auto name = [](int i) { return "Stu" + std::string(1, char('A' + i / 26)) + char('a' + i % 26); };
  for (int i = 0; i < 29; ++i) school.students.push_back({double(i + 1), name(i), "X"});
  school.subjects = {{"7ENG", "English"}};
  for (int i = 0; i < 29; ++i) school.marks.push_back({double(i + 1), "7ENG", 50});
  school.write();
  ctx = school.context(ws);
  print::PreviewDocument preview;
  preview.Init("PDF", false);
  preview.create();
  preview.startDoc("list");
  ctx.oP = &preview;
  ctx.lPreview = true;
  ctx.nPrev_Choice = 1;
  int asked = 0;
  ctx.stepWindow = [&asked](print::PreviewDocument&) { return ++asked, 0; };  // the user stops
  ASSERT_TRUE(PREP_HCLSUB(ctx, false));
  EXPECT_TRUE(PRNT_HCLSUB(ctx, "L_Rpt_001", {}));
  preview.endDoc();
  EXPECT_EQ(asked, 1) << "asked once, before the second page";
  EXPECT_EQ(preview.aSegments.size(), 1u) << "nothing is drawn after the stop";
  preview.destroy();
}

TEST_F(ListPrintTest, NoStudentsGivesTheMessageAndNothingPrinted) {
  school.students = {{1, "Avery", "Al", "", "7A", 8}};
  school.subjects = {{"7ENG", "English"}};
  school.marks = {{1, "7ENG", 50}};
  school.write();
  ctx = school.context(ws);
  ctx.oP = &printer;
  ctx.message = [this](const std::vector<std::string>& lines) { messages = lines; };
  PREP_HCLSUB(ctx, false);
  printer.create();
  ctx.subj_hdg = {"AVGE", "TOTL"};  // what a grid without students would print from
  EXPECT_FALSE(PRNT_HCLSUB(ctx, "L_Rpt_001", {}));
  EXPECT_EQ(messages, (std::vector<std::string>{"There are no Students matching these options"}));
  EXPECT_TRUE(printer.currentPage().empty());
}

TEST_F(ListPrintTest, HeadingNamesTheLevelClassTermAndDate) {
  school.students = {{1, "Avery", "Al", "", "7B"}};
  school.subjects = {{"7ENG", "English"}};
  school.marks = {{1, "7ENG", 50}};
  school.write();
  ctx = school.context(ws);
  ctx.home_cl = "7B";
  EXPECT_EQ(listHeading(ctx, " 7"), "Home Class List with Subjects for GRADE  7  Home Class: 7B  Term 1");
  ctx.enrl_date = data::Date::fromYmd(2004, 3, 1);
  ctx.home_cl = "";
  EXPECT_EQ(listHeading(ctx, " 7"), "Home Class List with Subjects for GRADE  7  Term 1 - Enrolled as at 01/03/2004");
}

}  // namespace
