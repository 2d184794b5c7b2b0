// The card as drawn: rows and columns of the page top, subject rows, headings,
// comments and continuation pages, read back from the display lists.
#include <filesystem>

#include "school/subject_table.h"
#include "eot_fixture.h"
#include "field_widths.h"
#include "page_overlaps.h"
#include "qtcore/school_text.h"

namespace velmont::eot::testing {
namespace {

// The demo school's text as the cards show it: in its code page, 850.
QString shown(const std::string& bytes) { return qtcore::SchoolText::of(850).decode(bytes); }


class EotCard : public EotRun {
 protected:
  EotCard() {
    auto st = data::Table::open(school.file("ststuden.dbf"), "st");
    st->addIndex(school.file("STSTNAME.ntx"));
    st->goTop();
    number = st->num("ST_NUMBER");
    options.student = std::to_string(int(number));
    clearTerm(number, 3);
    auto subjects = data::Table::open(school.file("subjects.dbf"), "s");
    for (subjects->goTop(); !subjects->eof(); subjects->skip())
      if (subjects->text("SUBJ_TYPE") == "Y" &&
          std::find(names.begin(), names.end(), shown(subjects->text("SUBJ_DESC"))) == names.end()) {
        marked.push_back(subjects->text("SUBJ_CODE"));
        names.push_back(shown(subjects->text("SUBJ_DESC")));
      }
  }
  // n marked subjects on lines 1..n, each with a note of `noteLength` characters.
  void subjects(int n, size_t noteLength = 0) {
    for (int i = 0; i < n; ++i) {
      Line l;
      l.line = i + 1;
      l.code = marked[size_t(i)];
      l.emrk = 50 + i;
      l.amrk = 60;
      l.note = noteLength ? std::string(noteLength, 'x') : "";
      for (size_t at = 5; at < l.note.size(); at += 6) l.note[at] = ' ';
      addLine(number, 3, l);
    }
  }
  double number = 0;
  std::vector<std::string> marked;
  std::vector<QString> names;
};

TEST_F(EotCard, FirstPageRowsAndColumns) {
  subjects(2);
  ASSERT_TRUE(run().ran);
  ASSERT_EQ(pages->size(), 1u);
  auto at = [&](const QString& text) {
    auto d = find(0, text);
    EXPECT_TRUE(d) << text.toStdString();
    return d ? std::pair{d->row, d->column} : std::pair{0.0, 0.0};
  };
  EXPECT_EQ(at("End of Term Report"), (std::pair{12.0, 62.0}));
  EXPECT_EQ(at("REPORT OF:"), (std::pair{17.0, 3.0}));
  EXPECT_EQ(at("SUBJECT:"), (std::pair{19.0, 3.0}));
  EXPECT_EQ(at("Teacher's comments:"), (std::pair{17.0, 68.0}));
  EXPECT_EQ(at(names[0]), (std::pair{22.0, 3.0}));
  EXPECT_EQ(at(names[1]), (std::pair{23.0, 3.0}));
  auto legend = find(0, "A=OUTSTANDING", true);
  ASSERT_TRUE(legend);
  EXPECT_DOUBLE_EQ(legend->row, 44);
  EXPECT_FALSE(find(0, "Page", true));
  auto term = find(0, "TERM 3  2026");
  ASSERT_TRUE(term);
  EXPECT_DOUBLE_EQ(term->column, 54);
  const auto exam = atColumn(0, 27);  // the exam marks, "@Z" in the field's width
  ASSERT_EQ(exam.size(), 2u);
  EXPECT_EQ(exam[0].text.trimmed(), "50");
  EXPECT_TRUE(exam[0].text.startsWith(' '));
}

TEST_F(EotCard, AnAmpersandInAYearNamePrintsOnce) {
  // Names keep "&" doubled for widget labels; the card prints a single one.
  setStudent(number, "ST_YEAR", 7.0);
  session.yearNames.names[6] = "Sixth && Seventh";
  ASSERT_TRUE(run().ran);
  EXPECT_TRUE(find(0, ": Sixth & Seventh"));
}

TEST_F(EotCard, ThirteenSubjectsContinueOnPageTwo) {
  subjects(13);
  ASSERT_TRUE(run().ran);
  ASSERT_EQ(pages->size(), 2u);
  EXPECT_FALSE(find(0, names[12]));
  EXPECT_TRUE(find(0, names[11]));
  auto page = find(1, "Page 2");
  ASSERT_TRUE(page);
  EXPECT_DOUBLE_EQ(page->row, 14);
  EXPECT_DOUBLE_EQ(page->column, 67);
  EXPECT_TRUE(find(1, names[12]));
  EXPECT_EQ(cardNames().size(), 1u);
}

TEST_F(EotCard, SubjectWithoutMarksShowsOnlyItsNameAndThreeRanks) {
  Line l;
  l.code = subjectCode(false);
  l.emrk = 77;
  l.ranks = "ABCD";
  addLine(number, 3, l);
  ASSERT_TRUE(run().ran);
  std::vector<double> columns;
  for (const Drawn& d : texts(0))
    if (std::abs(d.row - 22) < 0.01) columns.push_back(d.column);
  EXPECT_EQ(columns, (std::vector<double>{3, 54.5, 58.5, 62.5}));
}

TEST_F(EotCard, LineWithAnUnknownSubjectCodeShowsNoOtherSubject) {
  Line l;
  l.code = "";  // before every code: the search alone would land on the first subject
  l.emrk = 77;
  l.ranks = "ABCD";
  addLine(number, 3, l);
  ASSERT_TRUE(run().ran);
  std::vector<QString> row;
  for (const Drawn& d : texts(0))
    if (std::abs(d.row - 22) < 0.01 && !d.text.trimmed().isEmpty()) row.push_back(d.text.trimmed());
  EXPECT_EQ(row, (std::vector<QString>{"B", "C", "D"}));
}

TEST_F(EotCard, ExamColumnWithBlankHeadingsStaysEmpty) {
  for (uint32_t record : {2u, 3u}) {
    auto t = data::Table::open(school.file("sccontro.dbf"), "c", data::OpenMode::kReadWrite);
    t->goTo(record);
    ASSERT_TRUE(t->lockRecord());
    t->replace("STM_MSG1B", "     " + std::string(t->str("STM_MSG1B")).substr(5));
    t->unlockRecord();
  }
  subjects(3);
  ASSERT_TRUE(run().ran);
  for (const Drawn& d : texts(0)) EXPECT_NE(d.column, 27) << d.text.toStdString();
  EXPECT_EQ(atColumn(0, 39).size(), 3u);  // the assessment marks are there
}

TEST_F(EotCard, LongCommentWrapsByItsMeasuredWidthInsideTheBox) {
  // Wide letters: 70 of them would run far past the box's right edge.
  Line l;
  l.code = marked[0];
  l.note = std::string(145, 'W');
  for (size_t at = 9; at < l.note.size(); at += 10) l.note[at] = ' ';
  addLine(number, 3, l);  // the teacher ZZZ is not in the staff table: the code is printed
  ASSERT_TRUE(run().ran);
  const print::PageList& page = (*pages)[0];
  const double boxRight = 20 + (108 - 1) * 26;  // the box spans columns 67 to 108
  std::vector<velmont::testing::TextBox> lines;
  for (const velmont::testing::TextBox& b : velmont::testing::textBoxes(page))
    if (b.text.startsWith("WWW") || b.text.endsWith("ZZZ")) lines.push_back(b);
  ASSERT_GE(lines.size(), 4u) << "more lines than 70 characters each would give";
  for (const auto& b : lines) EXPECT_LE(b.right, boxRight) << b.text.toStdString();
  EXPECT_TRUE(lines.back().text.endsWith("ZZZ"));
  QString joined;
  for (const auto& b : lines) joined += b.text + " ";
  EXPECT_EQ(joined.count('W'), 145 - 14) << "no letter lost";
}

TEST_F(EotCard, CommentLinesKeepToSeventyCharacters) {
  // Narrow letters: only the 70 characters limit the line.
  Line narrow;
  narrow.code = marked[0];
  narrow.note = std::string(150, 'i');
  for (size_t at = 4; at < narrow.note.size(); at += 5) narrow.note[at] = ' ';
  addLine(number, 3, narrow);
  ASSERT_TRUE(run().ran);
  std::vector<QString> lines;
  for (const Drawn& d : atColumn(0, 68))
    if (d.text.startsWith("iiii")) lines.push_back(d.text);
  ASSERT_EQ(lines.size(), 3u);
  for (const QString& l : lines) EXPECT_LE(l.size(), 70) << l.toStdString();
}

TEST_F(EotCard, CommentsStayInTheBoxOnEveryPageOfATwentyFourSubjectCard) {
  // Comments of five lines: more than two boxes hold, and none runs below the
  // box's last row (44) although the paper has room below it.
  for (int i = 0; i < 24; ++i) {
    Line l;
    l.line = i + 1;
    l.code = marked[size_t(i) % marked.size()];
    l.note = std::string(290, 'x');  // five lines: the fifth comment's label is on row 41.2
    for (size_t at = 5; at < l.note.size(); at += 6) l.note[at] = ' ';
    addLine(number, 3, l);
  }
  ASSERT_TRUE(run().ran);
  ASSERT_GT(pages->size(), 2u);
  size_t ends = 0;
  for (size_t p = 0; p < pages->size(); ++p)
    for (const Drawn& d : texts(p)) {
      ends += d.text.endsWith("ZZZ") ? 1 : 0;
      if (d.column >= 67) {
        EXPECT_LE(d.row, 44.01) << "page " << p + 1 << ": " << d.text.toStdString();
      }
    }
  EXPECT_EQ(ends, 24u) << "every comment printed, once";
}

TEST_F(EotCard, NoTextOfACardPrintsOverAnotherAndLongNamesStopBeforeTheMark) {
  // The demo's subjects include names longer than their column ("Mathematics with ...").
  subjects(int(std::min<size_t>(12, marked.size())), 150);
  ASSERT_TRUE(run().ran);
  ASSERT_FALSE(pages->empty());
  for (size_t p = 0; p < pages->size(); ++p)
    EXPECT_EQ(velmont::testing::overlappingTexts((*pages)[p]), QStringList()) << "page " << p + 1;
  const double markColumn = 20 + (20 - 1) * 26;  // the possible mark's column begins at column 20
  bool cut = false;
  for (const velmont::testing::TextBox& b : velmont::testing::textBoxes((*pages)[0]))
    for (const QString& name : names)
      if (name.size() > b.text.size() && name.startsWith(b.text) && b.left < 20 + 3 * 26) {
        cut = true;
        EXPECT_LE(b.right, markColumn) << b.text.toStdString();
      }
  EXPECT_TRUE(cut) << "some subject name was long enough to be cut";
}

TEST_F(EotCard, FortyCharacterNamesReadWholeBesideANamedOrCodedLevelAndTheTerm) {
  // A school whose surnames are 25 wide: 14 + 1 + 25 characters of name.
  velmont::testing::rewriteWithWidths(school.file("ststuden.dbf"), {{"ST_SURNAME", {25}}},
                                      {{"STSTNAME.ntx", ""}, {"STNUMBER.ntx", ""}, {"STFAMILY.ntx", ""}});
  struct Case {
    std::string first, surname, levelName;
  };
  const Case cases[] = {
      {"Anne-Christine", "Featherstonehaugh-Winters", "Seventh"},
      {"ANNE-CHRISTINE", "FEATHERSTONEHAUGH-WINTERS", "Seventh"},
      {"Anne-Christine", "Featherstonehaugh-Winters", ""},  // the level's code
      {"Jasper", "Ashworth", "Seventh"},
  };
  auto st = data::Table::open(school.file("ststuden.dbf"), "st");
  st->addIndex(school.file("STNUMBER.ntx"));
  ASSERT_TRUE(st->seek(number));
  const int level = int(st->num("ST_YEAR"));
  st.reset();
  for (const Case& k : cases) {
    setStudent(number, "ST_PREF_NA", k.first);
    setStudent(number, "ST_SURNAME", k.surname);
    session.yearNames.names[size_t(level - 1)] = k.levelName.empty() ? std::string(10, ' ') : k.levelName;
    ASSERT_TRUE(run().ran);
    const QString name = QString::fromStdString(k.first + " " + k.surname);
    EXPECT_EQ(name.size() == 40, k.surname.size() == 25);
    EXPECT_TRUE(find(0, name)) << "the whole name: " << name.toStdString();
    if (!k.levelName.empty()) {
      EXPECT_TRUE(find(0, QString::fromStdString(": " + k.levelName)));
    }
    EXPECT_EQ(velmont::testing::overlappingTexts((*pages)[0]), QStringList()) << name.toStdString();
    if (k.first == "Jasper") {
      EXPECT_DOUBLE_EQ(find(0, ": Seventh")->column, 34) << "a short name leaves the level where it was";
    }
  }
}

TEST_F(EotCard, ASchoolWithoutLetterheadSettingsGetsThemWithItsNameAndLogo) {
  std::filesystem::remove(school.file("rvhplogo.dbf"));
  ASSERT_TRUE(run().ran);
  EXPECT_TRUE(std::filesystem::exists(school.file("rvhplogo.dbf")));
  ASSERT_FALSE(pages->empty());
  const QString name = QString::fromStdString(data::trim(session.school));
  ASSERT_FALSE(name.isEmpty());
  EXPECT_TRUE(find(0, name)) << "the school's name heads the card";
  bool logo = false;
  for (const print::DrawItem& item : (*pages)[0].items()) logo |= std::holds_alternative<print::ImageItem>(item);
  EXPECT_TRUE(logo) << "school.gif stands in for the logo";
}

TEST_F(EotCard, CommentsGoOnInTheBoxWhenThePageStillHasSubjects) {
  subjects(13, 100);  // two-line comments do not all fit beside twelve rows
  ASSERT_TRUE(run().ran);
  ASSERT_EQ(pages->size(), 2u);
  ASSERT_TRUE(find(1, "Teacher's comments:"));
  const auto labels = atColumn(1, 68);
  ASSERT_GE(labels.size(), 2u);
  EXPECT_DOUBLE_EQ(labels[1].row, 18);  // the first comment left over from page 1
}

TEST_F(EotCard, CommentsGoOnAcrossThePageWhenNoSubjectsAreLeft) {
  subjects(12, 100);
  ASSERT_TRUE(run().ran);
  ASSERT_EQ(pages->size(), 2u);
  EXPECT_FALSE(find(1, "Teacher's comments:"));
  EXPECT_FALSE(find(1, "SUBJECT:"));  // no grid on a page of comments only
  const auto across = atColumn(1, 3);
  ASSERT_GE(across.size(), 2u);
  EXPECT_DOUBLE_EQ(across[1].row, 17);  // after the student line, the first label
  EXPECT_GT(across[2].text.size(), 70);  // 180 characters wide
}

TEST_F(EotCard, CommentThatWouldRunOffThePaperWaitsForTheNextPage) {
  // Eight two-line comments, then a long one whose label still starts above row 42.
  for (int i = 0; i < 9; ++i) {
    Line l;
    l.line = i + 1;
    l.code = marked[size_t(i)];
    l.note = std::string(i < 8 ? 100 : 600, 'x');
    for (size_t at = 5; at < l.note.size(); at += 6) l.note[at] = ' ';
    addLine(number, 3, l);
  }
  ASSERT_TRUE(run().ran);
  ASSERT_EQ(pages->size(), 2u);
  const double lastRow = rowOf(0);  // the printable area's lower edge
  for (const Drawn& d : texts(0)) EXPECT_LE(d.row, lastRow) << d.text.toStdString();
  EXPECT_EQ(atColumn(0, 68).size(), 1u + 8 * 3);  // the heading, eight labels and their two lines each
  auto label = find(1, names[8], true);  // the whole long comment, across page 2
  ASSERT_TRUE(label);
  EXPECT_DOUBLE_EQ(label->row, 17);
  EXPECT_DOUBLE_EQ(label->column, 3);
  const auto across = atColumn(1, 3);
  ASSERT_GE(across.size(), 5u);
  EXPECT_TRUE(across.back().text.endsWith("ZZZ"));
  ui.answers = {2};
  ASSERT_TRUE(run(true).ran);  // a preview pages the comments the same way
  EXPECT_EQ(pages->size(), 2u);
  EXPECT_EQ(atColumn(0, 68).size(), 1u + 8 * 3);
}

TEST_F(EotCard, CoCurricularHeadingOnceOverTheAreaWithRowsOrRoleCommentsOnly) {
  Line subject;
  subject.code = marked[0];
  addLine(number, 3, subject);
  Line role;
  role.line = 96;
  role.code = "";
  role.note = "A settled term.";
  addLine(number, 3, role);
  auto headings = [&] {
    std::vector<Drawn> out;
    for (const Drawn& d : texts(0))
      if (d.text == "Co-Curricular subjects") out.push_back(d);
    return out;
  };
  ASSERT_TRUE(run().ran);
  ASSERT_EQ(pages->size(), 1u);
  auto only = headings();
  ASSERT_EQ(only.size(), 1u);
  EXPECT_DOUBLE_EQ(only[0].row, 36);
  EXPECT_DOUBLE_EQ(only[0].column, 3);
  EXPECT_TRUE(find(0, "A settled term.  ZZZ"));

  Line club;
  club.line = 25;
  club.code = marked[1];
  addLine(number, 3, club);
  std::filesystem::remove(school.file(school::subjectTableName(session.year) + ".ntx"));  // rebuilt with the new line
  ASSERT_TRUE(run().ran);
  auto both = headings();
  ASSERT_EQ(both.size(), 1u);
  EXPECT_DOUBLE_EQ(both[0].row, 36);
  auto row = find(0, names[1]);
  ASSERT_TRUE(row);
  EXPECT_DOUBLE_EQ(row->row, 37);
}

TEST_F(EotCard, NoteLineBreaksBecomeSingleBlanks) {
  Line l;
  l.code = marked[0];
  l.note = "Reads well.\r\nWrites neatly.\nSpells with care.\r\n";
  addLine(number, 3, l);
  ASSERT_TRUE(run().ran);
  EXPECT_TRUE(find(0, "Reads well. Writes neatly. Spells with care.  ZZZ"));
}

TEST_F(EotCard, HashInTheCommentBankBecomesTheCapitalisedFirstName) {
  setStudent(number, "ST_PREF_NA", "");
  setStudent(number, "ST_XNAME", "MAREIKE");
  {
    auto bank = data::Table::open(school.file("comment.dbf"), "c", data::OpenMode::kReadWrite);
    bank->goTo(1);
    ASSERT_TRUE(bank->lockRecord());
    bank->replace("COMM_LINE1", "# has worked hard;");
    bank->replace("COMM_LINE2", "well done #.");
    bank->unlockRecord();
    Line l;
    l.code = marked[0];
    l.comm = bank->num("COMM_NUMB");
    addLine(number, 3, l);
  }
  ASSERT_TRUE(run().ran);
  EXPECT_TRUE(find(0, "Mareike has worked hard; well done Mareike.  ZZZ"));
}

}  // namespace
}  // namespace velmont::eot::testing
