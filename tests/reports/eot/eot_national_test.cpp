// National letters on the cards: a school whose text is in code page 850 (no
// driver byte, no flag file) and one in 1252 (by its flag file, and by its
// tables' driver byte), drawn, written to PDF and to plain-text files, and found
// by a name typed with an accent.
#include <QFile>
#include <filesystem>
#include <fstream>

#include "batch/batch_main.h"
#include "batch_reports/eot/eot_command.h"
#include "data/code_page.h"
#include "data/file.h"
#include "school/subject_table.h"
#include "eot_fixture.h"
#include "reports/eot/eot_headings.h"
#include "qtcore/school_text.h"
#include "temp_dir.h"
#include "host_tool.h"

namespace velmont::eot::testing {
namespace {

namespace fs = std::filesystem;

// How the school tells its code page.
enum class Told { kDefault850, kFlagFile1252, kDriverByte1252 };

// What the tests put into the tables, as each code page stores it.
struct Bytes {
  std::string eleve;  // "ÉLÈVE:"
  std::string note;   // "Très bien, note à lire."
};
Bytes bytesFor(int codePage) {
  if (codePage == 1252) return {"\xC9L\xC8VE:", "Tr\xE8s bien, note \xE0 lire."};
  return {"\x90L\xD4VE:", "Tr\x8As bien, note \x85 lire."};
}

class NationalCards : public EotRun {
 protected:
  explicit NationalCards(Told told) : EotRun(told == Told::kDefault850 ? 850 : 1252), told_(told) {
    if (told == Told::kDriverByte1252) {
      // The tables say 1252 themselves; the school has no flag file.
      fs::remove(school.file("codepage.$vl"));
      for (const auto& entry : fs::directory_iterator(school.dir()))
        if (entry.path().extension() == ".dbf") {
          std::fstream f(entry.path(), std::ios::in | std::ios::out | std::ios::binary);
          f.seekp(29);
          f.put('\x03');
        }
    }
    EXPECT_EQ(fs::exists(school.file("codepage.$vl")), told == Told::kFlagFile1252);
  }

  int codePage() const { return told_ == Told::kDefault850 ? 850 : 1252; }
  const qtcore::SchoolText& text() const { return qtcore::SchoolText::of(codePage()); }
  std::string encoded(const char* utf8) const {
    std::string out;
    EXPECT_TRUE(text().encode(QString::fromUtf8(utf8), out)) << utf8;
    return out;
  }

  // The number of the student whose given name is `given` (UTF-8).
  double studentNamed(const char* given) {
    auto t = data::Table::open(school.file("ststuden.dbf"), "st");
    for (t->goTop(); !t->eof(); t->skip())
      if (t->text("ST_XNAME") == encoded(given)) return t->num("ST_NUMBER");
    ADD_FAILURE() << "no student " << given;
    return 0;
  }

  // Gives Zoë the subject with national letters, stock comment 3 (which holds
  // some) and a note typed with them; the subject index is built anew.
  double zoeWithSubjects() {
    const double zoe = studentNamed("Zoë");
    addLine(zoe, 3, {.line = 23, .code = "11ECO", .comm = 3, .teacher = "ZZZ"});
    addLine(zoe, 3, {.line = 24, .code = "11ECO", .note = bytesFor(codePage()).note, .teacher = "ZZZ"});
    fs::remove(school.file(school::subjectTableName(session.year) + ".ntx"));
    options.student = std::to_string(int(zoe));
    return zoe;
  }

  QString drawnText() const {
    QString all;
    for (size_t p = 0; p < pages->size(); ++p)
      for (const Drawn& d : texts(p)) all += d.text + "\n";
    return all;
  }

  void expectNationalLettersDrawn() {
    zoeWithSubjects();
    ASSERT_TRUE(run().ran);
    const QString drawn = drawnText();
    for (const char* word : {"Zoë", "Économie et Français", "ÉVALUATION", "Très bien, Zoë!", "Très bien, note à lire."})
      EXPECT_TRUE(drawn.contains(QString::fromUtf8(word))) << word << " in " << codePage() << ":\n"
                                                          << drawn.toStdString();
    EXPECT_FALSE(drawn.contains(QChar(0xFFFD)));
  }

  // The cards of the run as a text file; in UTF-8 when asked.
  std::string textFile(bool utf8) {
    velmont::testing::TempDir out;
    reports::RunRequest r = eotRunRequest(session, print::kPdfDeviceName, false);
    r.prAscii = out.file("cards.txt");
    r.textUtf8 = utf8;
    NotingUi quiet;
    EXPECT_TRUE(PR_EOT_RPTS(r, options, session, quiet).ran);
    std::ifstream in(r.prAscii, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  Told told_;
};

class Cards850 : public NationalCards {
 protected:
  Cards850() : NationalCards(Told::kDefault850) {}
};
class Cards1252ByFlagFile : public NationalCards {
 protected:
  Cards1252ByFlagFile() : NationalCards(Told::kFlagFile1252) {}
};
class Cards1252ByDriverByte : public NationalCards {
 protected:
  Cards1252ByDriverByte() : NationalCards(Told::kDriverByte1252) {}
};

TEST_F(Cards850, NamesSubjectsCommentsNotesAndHeadingsShowTheirLetters) { expectNationalLettersDrawn(); }
TEST_F(Cards1252ByFlagFile, NamesSubjectsCommentsNotesAndHeadingsShowTheirLetters) { expectNationalLettersDrawn(); }
TEST_F(Cards1252ByDriverByte, NamesSubjectsCommentsNotesAndHeadingsShowTheirLetters) { expectNationalLettersDrawn(); }

TEST_F(Cards850, TextFileIsWrittenInTheCodePageWithTheBoxLineOrInUtf8) {
  zoeWithSubjects();
  const std::string dos = textFile(false);
  EXPECT_NE(dos.find("Zo\x89"), std::string::npos);
  EXPECT_NE(dos.find("\x90" "conomie et Fran\x87" "ais"), std::string::npos);
  EXPECT_NE(dos.find("\n \xC4\r\n"), std::string::npos) << "the box character 196 above the student line";
  const std::string utf8 = textFile(true);
  EXPECT_NE(utf8.find("Zoë"), std::string::npos);
  EXPECT_NE(utf8.find("─"), std::string::npos);
}

TEST_F(Cards1252ByDriverByte, TextFileIsWrittenInTheSchoolsCodePage) {
  zoeWithSubjects();
  const std::string windows = textFile(false);
  EXPECT_NE(windows.find("Zo\xEB"), std::string::npos);
  EXPECT_NE(windows.find("\xC9" "conomie et Fran\xE7" "ais"), std::string::npos);
  EXPECT_NE(windows.find("\n -\r\n"), std::string::npos) << "1252 has no box line: a dash stands in";
}

TEST_F(Cards1252ByFlagFile, PdfShowsTheLettersInItsText) {
  zoeWithSubjects();
  velmont::testing::TempDir out;
  const QString pdf = QString::fromStdString(out.file("cards.pdf"));
  reports::RunRequest r = eotRunRequest(session, print::kPdfDeviceName, false);
  r.outputFile = pdf;
  NotingUi quiet;
  ASSERT_TRUE(PR_EOT_RPTS(r, options, session, quiet).ran);
  const auto p = velmont::testing::runHostTool("pdftotext", {pdf, "-"}, 30000);
  ASSERT_TRUE(p.ended);
  const QString shown = QString::fromUtf8(p.out).simplified();
  for (const char* word : {"Zoë", "Économie et Français", "ÉVALUATION", "Très bien, note à lire."})
    EXPECT_TRUE(shown.contains(QString::fromUtf8(word))) << word << ":\n" << shown.toStdString();
}

TEST_F(Cards850, ANamePartTypedWithAnAccentFindsTheStudent) {
  // As the dialog hands it on: in capitals (its picture) and in the code page.
  for (const char* typed : {"MÜLLER", "müller-up", "ÜLLER"}) {
    options.student = encoded(typed);
    ASSERT_TRUE(run().ran);
    const std::vector<QString> names = cardNames();
    ASSERT_FALSE(names.empty()) << typed;
    for (const QString& n : names) EXPECT_TRUE(n.endsWith(QString::fromUtf8("Müller-Upton"))) << n.toStdString();
  }
  options.student = encoded("MULLER");
  ASSERT_TRUE(run().ran);
  EXPECT_TRUE(cardNames().empty()) << "U is not Ü";
}

TEST_F(Cards1252ByDriverByte, ANamePartTypedWithAnAccentFindsTheStudent) {
  options.student = encoded("MÜLLER");
  ASSERT_TRUE(run().ran);
  ASSERT_FALSE(cardNames().empty());
  for (const QString& n : cardNames()) EXPECT_TRUE(n.endsWith(QString::fromUtf8("Müller-Upton")));
}

TEST_F(Cards850, EditedHeadingWordAndLogoNamedWithANationalLetter) {
  zoeWithSubjects();
  // The heading word as the editor stores it, in the headings table's code page.
  loadHeadingWords(school::SchoolFolder(school.dir()), " Year");
  {
    auto t = data::Table::open(school.file("headeots.dbf"), "h", data::OpenMode::kReadWrite);
    t->goTo(3);
    ASSERT_TRUE(t->lockRecord());
    t->replace("H20", bytesFor(850).eleve);
    t->unlockRecord();
  }
  // The logo's file name in the letterhead table is the school's text too.
  // Named through the engine's own path conversion: a narrow path means the ANSI code
  // page to Windows' file functions, while the program names files in UTF-8.
  fs::copy_file(school.file("crest.png"), data::fsPath(school.file("écusson.png")));
  {
    auto t = data::Table::open(school.file("rvhplogo.dbf"), "l", data::OpenMode::kReadWrite);
    t->goTo(5);
    ASSERT_TRUE(t->lockRecord());
    t->replace("LDE", std::string("\x82" "cusson.png"));
    t->unlockRecord();
  }
  fs::remove(school.file("crest.png"));
  fs::remove(school.file("school.gif"));  // no stand-in: only the named file can be drawn
  ASSERT_TRUE(run().ran);
  EXPECT_TRUE(find(0, QString::fromUtf8("ÉLÈVE:")));
  bool logo = false;
  for (const print::DrawItem& item : (*pages)[0].items()) logo = logo || std::holds_alternative<print::ImageItem>(item);
  EXPECT_TRUE(logo) << "the logo named \"écusson.png\" is found and drawn";
}

TEST(EotCommandTest, CodePageOptionsAndRefusedCharacters) {
  batch::registerEotCommand();
  velmont::testing::SchoolCopy school;
  velmont::testing::TempDir out;
  auto eot = [&](std::vector<std::string> extra, std::string& err) {
    std::vector<std::string> args = {"eot", "--data-dir", school.dir(), "--year", "2026", "--term", "3", "--as-at", "2026-08-03",
                                     "--text", out.file("cards.txt")};
    args.insert(args.end(), extra.begin(), extra.end());
    std::ostringstream o, e;
    const int status = batch::runBatch(args, o, e, 2026);
    err = e.str();
    return status;
  };
  auto written = [&] {
    std::ifstream in(out.file("cards.txt"), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  std::string err;
  ASSERT_EQ(eot({"--text-encoding", "utf-8"}, err), 0) << err;
  EXPECT_NE(written().find("Zoë"), std::string::npos);
  // The 850 school read as 1252 for this run: ë (0x89) becomes ‰.
  ASSERT_EQ(eot({"--text-encoding", "utf-8", "--codepage", "1252"}, err), 0) << err;
  EXPECT_NE(written().find("Zo‰"), std::string::npos);
  // A surname part typed with an accent selects that student only.
  ASSERT_EQ(eot({"--text-encoding", "utf-8", "--student", "müller"}, err), 0) << err;
  EXPECT_NE(written().find("Müller-Upton"), std::string::npos);
  EXPECT_EQ(written().find("Zoë"), std::string::npos);
  // A character the school's code page cannot hold is refused by name.
  EXPECT_EQ(eot({"--student", "Łucja"}, err), 2);
  EXPECT_NE(err.find("\"Ł\" (U+0141)"), std::string::npos) << err;
  EXPECT_EQ(eot({"--codepage", "65001"}, err), 2);
  EXPECT_EQ(eot({"--text-encoding", "ebcdic"}, err), 2);
}

}  // namespace
}  // namespace velmont::eot::testing


