// What velmont-batch's report commands print beside the whole run: a list of
// pages, archival PDF/A files, and one PDF per family with cards.csv; and the
// words for a choice that cannot be followed.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <filesystem>
#include <map>

#include "report_commands.h"
#include "host_tool.h"

namespace velmont::testing {
namespace {

namespace fs = std::filesystem;

QString tool(const QString& program, const QStringList& args) {
  return QString::fromUtf8(runHostTool(program, args).out);
}

int pdfPages(const std::string& file) {
  const auto m = QRegularExpression(R"(Pages:\s+(\d+))").match(tool("pdfinfo", {QString::fromStdString(file)}));
  return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QString pageText(const std::string& file, int page) {
  const QString n = QString::number(page);
  return tool("pdftotext", {"-layout", "-f", n, "-l", n, QString::fromStdString(file), "-"});
}

using OutputChoices = DemoSchoolCommands;

TEST_F(OutputChoices, APageListPrintsThosePagesOfTheWholeRunAndNamesThoseItLacks) {
  const std::string all = dir.file("all.pdf");
  ASSERT_EQ(eot({"--pdf", all}).status, 0);
  const int total = pdfPages(all);
  ASSERT_GE(total, 6);

  const std::string some = dir.file("some.pdf");
  const CommandResult r = eot({"--pdf", some, "--pages", "1-2,4," + std::to_string(total) + "-,900,902-905"});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<int> wanted = {1, 2, 4, total};
  ASSERT_EQ(pdfPages(some), int(wanted.size()));
  for (size_t i = 0; i < wanted.size(); ++i) EXPECT_EQ(pageText(some, int(i) + 1), pageText(all, wanted[i])) << i;
  EXPECT_NE(r.err.find("the run has " + std::to_string(total) + " pages; not printed: 900, 902-905"), std::string::npos)
      << r.err;
  EXPECT_NE(r.out.find(", 4 pages to "), std::string::npos) << r.out;

  // An open range from the middle; the class list counts its own pages.
  const std::string tail = dir.file("tail.pdf");
  ASSERT_EQ(eot({"--pdf", tail, "--pages", std::to_string(total - 1) + "-"}).status, 0);
  EXPECT_EQ(pdfPages(tail), 2);
  EXPECT_EQ(pageText(tail, 2), pageText(all, total));
  const std::string grid = dir.file("grid.pdf");
  ASSERT_EQ(list({"--pdf", grid, "--pages", "1"}).status, 0);
  EXPECT_EQ(pdfPages(grid), 1);
}

TEST_F(OutputChoices, APageListWithNoPageOfTheRunPrintsNothingAndKeepsAnEarlierFile) {
  const std::string out = dir.file("cards.pdf");
  ASSERT_EQ(eot({"--pdf", out, "--pages", "1"}).status, 0);
  const auto before = fs::last_write_time(out);
  for (const CommandResult& r : {eot({"--pdf", out, "--pages", "900-"}), list({"--pdf", out, "--pages", "50"})}) {
    EXPECT_EQ(r.status, 3) << r.err;
    EXPECT_NE(r.err.find("none of them listed; nothing was printed"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("has been sent"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("could not be written"), std::string::npos) << "nothing failed: " << r.err;
  }
  EXPECT_EQ(fs::last_write_time(out), before);
  EXPECT_EQ(pdfPages(out), 1);
}

TEST_F(OutputChoices, ADuplexReadyPdfStartsEveryCardCopyOnAFrontWithBlankBacksBetween) {
  const std::string plain = dir.file("plain.pdf"), duplex = dir.file("duplex.pdf");
  ASSERT_EQ(eot({"--pdf", plain}).status, 0);
  const CommandResult r = eot({"--pdf", duplex, "--duplex", "long"});
  ASSERT_EQ(r.status, 0) << r.err;
  auto pages = [](const std::string& file) {
    QStringList all = tool("pdftotext", {"-layout", QString::fromStdString(file), "-"}).split('\f');
    all.removeLast();  // after the last page's form feed
    return all;
  };
  const QStringList printed = pages(plain), sheets = pages(duplex);
  QStringList drawn;
  int backs = 0;
  for (int i = 0; i < sheets.size(); ++i) {
    if (sheets[i].trimmed().isEmpty()) {
      ++backs;
      EXPECT_EQ(i % 2, 1) << "a blank page on a front: page " << i + 1;
      continue;
    }
    // A copy's first page has no page number ("Page 2") before its student line.
    if (!sheets[i].contains(QRegularExpression(R"(Page\s+\d)"))) {
      EXPECT_EQ(i % 2, 0) << "a card copy starts on a back: page " << i + 1;
    }
    drawn << sheets[i];
  }
  EXPECT_GT(backs, 0);
  EXPECT_EQ(drawn, printed);  // the same pages, in the same order, with blank backs between
}

TEST_F(OutputChoices, ATextFileOfTheCardsHoldsEveryWordOfThePdfInTheSamePagesWithCrLfLines) {
  const std::string pdf = dir.file("cards.pdf"), text = dir.file("cards.txt"), lf = dir.file("cards-lf.txt");
  ASSERT_EQ(eot({"--pdf", pdf}).status, 0);
  ASSERT_EQ(eot({"--text", text, "--text-encoding", "utf-8"}).status, 0);
  ASSERT_EQ(eot({"--text", lf, "--text-encoding", "utf-8", "--line-ends", "lf"}).status, 0);
  QFile file(QString::fromStdString(text)), lfFile(QString::fromStdString(lf));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly) && lfFile.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll(), lfBytes = lfFile.readAll();
  EXPECT_EQ(bytes.count("\r\n"), bytes.count('\n')) << "every line ends in CR LF";
  EXPECT_EQ(QByteArray(bytes).replace("\r\n", "\n"), lfBytes) << "or in LF alone when asked";
  auto words = [](const QString& page) {
    std::map<QString, int> counted;
    for (const QString& w : page.normalized(QString::NormalizationForm_KC).split(QRegularExpression(R"(\s+)"), Qt::SkipEmptyParts))
      ++counted[w];
    return counted;
  };
  QStringList printed = tool("pdftotext", {"-layout", QString::fromStdString(pdf), "-"}).split('\f');
  printed.removeLast();
  QStringList written = QString::fromUtf8(bytes).split('\f');
  ASSERT_EQ(written.size(), printed.size()) << "the same pages";
  for (int p = 0; p < printed.size(); ++p) {
    const std::map<QString, int> onPaper = words(printed[p]), inText = words(written[p]);
    for (const auto& [word, n] : onPaper) {
      const auto found = inText.find(word);
      EXPECT_GE(found == inText.end() ? 0 : found->second, n) << "page " << p + 1 << ": \"" << word.toStdString() << "\"";
    }
  }
}

TEST_F(OutputChoices, ChoicesThatCannotBeFollowedAreRefusedAsUsage) {
  const std::string pdf = dir.file("x.pdf");
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--pdf", pdf, "--pages", "5-3"}, "--pages: \"5-3\": the first page comes after the last"},
      {{"--pdf", pdf, "--pages", "1,,2"}, "--pages: an empty item between commas"},
      {{"--text", dir.file("x.txt"), "--pages", "1"}, "--pages goes with --pdf or --printer"},
      {{"--text", dir.file("x.txt"), "--pdf-a"}, "--pdf-a goes with"},
      {{"--pdf", pdf, "--split", "family"}, "--split goes with --pdf-dir DIR"},
      {{"--pdf-dir", dir.file("f"), "--split", "class"}, "--split: \"class\" is not family or student"},
      {{"--pdf-dir", school()}, "The report cannot be written to"},
      {{"--pdf-dir", dir.file("f"), "--pdf", pdf}, "give exactly one of"},
      {{"--pdf-dir", dir.file("f"), "--pages", "1"}, "--pages goes with --pdf or --printer"},
      {{"--pdf", pdf, "--copies", "2"}, "--copies goes with --printer"},
      {{"--text", dir.file("x.txt"), "--duplex", "long"}, "--duplex goes with --printer, --pdf or --pdf-dir"},
  };
  for (const auto& [args, words] : cases) {
    const CommandResult r = eot(args);
    EXPECT_EQ(r.status, 2) << args[0] << " " << args.back() << ": " << r.err;
    EXPECT_NE(r.err.find(words), std::string::npos) << r.err;
  }
  EXPECT_EQ(list({"--pdf", pdf, "--pages", "x"}).status, 2);
  EXPECT_EQ(list({"--pdf", pdf, "--duplex", "long"}).status, 2);
  EXPECT_FALSE(fs::exists(pdf));
  EXPECT_FALSE(fs::exists(dir.file("f")));
}

TEST_F(OutputChoices, CardsAndListRefuseTheSameMistakeInTheSameWords) {
  const std::string pdf = dir.file("x.pdf"), text = dir.file("x.txt");
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--pdf", pdf, "--as-at", "2025-06-3O"}, "--as-at: \"2025-06-3O\" is not a date YYYY-MM-DD"},
      {{"--pdf", pdf, "--as-at", "2025-1-1x"}, "--as-at: \"2025-1-1x\" is not a date YYYY-MM-DD"},
      {{"--pdf", pdf, "--text", text}, "give exactly one of --pdf FILE, "},
      {{"--text", text, "--png", dir.file("p")}, "--png cannot go with --text"},
      {{"--pdf", pdf, "--class", "7\xE2\x82\xAC"}, "--class: "},
  };
  for (const auto& [args, words] : cases)
    for (const CommandResult& r : {eot(args), list(args)}) {
      EXPECT_EQ(r.status, 2) << args[2] << ": " << r.err;
      EXPECT_NE(r.err.find(words), std::string::npos) << r.err;
    }
  for (std::vector<std::string> args : {std::vector<std::string>{"eot"}, {"list", "--level", "7"}}) {
    args.insert(args.end(), {"--data-dir", dir.file("none"), "--pdf", pdf});
    EXPECT_EQ(runReportCommand(args).err, "velmont-batch: --data-dir: \"" + dir.file("none") + "\" is not a directory\n");
  }
  EXPECT_FALSE(fs::exists(pdf) || fs::exists(text) || fs::exists(dir.file("p")));
  const CommandResult unknown = runReportCommand({"foo"});
  EXPECT_EQ(unknown.err, "velmont-batch: unknown command \"foo\" (demo, check, dump, eot or list)\n");
}

TEST_F(OutputChoices, ArchivalPdfEmbedsEveryFontAndNamesTitleSchoolAndDate) {
  for (const bool cards : {true, false}) {
    const std::string out = dir.file(cards ? "cards.pdf" : "list.pdf");
    const CommandResult r = cards ? eot({"--pdf", out, "--pdf-a"}) : list({"--pdf", out, "--pdf-a"});
    ASSERT_EQ(r.status, 0) << r.err;
    const QStringList fonts = tool("pdffonts", {QString::fromStdString(out)}).split('\n', Qt::SkipEmptyParts).mid(2);
    ASSERT_FALSE(fonts.isEmpty());
    for (const QString& font : fonts) EXPECT_TRUE(font.contains(QRegularExpression(R"(\s+yes\s+(yes|no)\s+(yes|no)\s+\d+)")))
        << font.toStdString();
    const QString meta = tool("pdfinfo", {"-meta", QString::fromStdString(out)});
    EXPECT_TRUE(meta.contains("pdfaid:part=\"1\"") && meta.contains("pdfaid:conformance=\"B\"")) << meta.toStdString();
    EXPECT_TRUE(meta.contains(QRegularExpression("<dc:creator><rdf:Seq><rdf:li>\\S.*</rdf:li>"))) << meta.toStdString();
    EXPECT_TRUE(meta.contains(QRegularExpression("<dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">\\S")));
    // The metadata's creation time is the document information's, to the second.
    const auto created = QRegularExpression("xmp:CreateDate=\"([^\"]+)\"").match(meta);
    ASSERT_TRUE(created.hasMatch());
    const QString info = tool("pdfinfo", {"-isodates", QString::fromStdString(out)});
    const auto infoDate = QRegularExpression(R"(CreationDate:\s+(\S+))").match(info);
    ASSERT_TRUE(infoDate.hasMatch()) << info.toStdString();
    EXPECT_EQ(QDateTime::fromString(created.captured(1), Qt::ISODate),
              QDateTime::fromString(infoDate.captured(1), Qt::ISODate));
  }
}

TEST_F(OutputChoices, OneFilePerFamilyFromTheCommandLine) {
  const std::string folder = dir.file("families");
  const CommandResult r = eot({"--pdf-dir", folder, "--pdf-a"});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto m = QRegularExpression(R"((\d+) cards, (\d+) pages in (\d+) files and cards\.csv to )")
                     .match(QString::fromStdString(r.out));
  ASSERT_TRUE(m.hasMatch()) << r.out;
  int files = 0, pages = 0;
  for (const auto& e : fs::directory_iterator(folder))
    if (e.path().extension() == ".pdf") {
      ++files;
      pages += pdfPages(e.path().string());
    }
  EXPECT_EQ(files, m.captured(3).toInt());
  EXPECT_EQ(pages, m.captured(2).toInt());
  EXPECT_TRUE(fs::exists(folder + "/cards.csv"));
  const QString meta = tool("pdfinfo", {"-meta", QString::fromStdString(fs::directory_iterator(folder)->path().string())});
  EXPECT_TRUE(meta.contains("pdfaid:part=\"1\""));
}

// The closing line counts in words a school reads: one student, not "1 students".
TEST_F(OutputChoices, TheClosingLineCountsOneInTheSingular) {
  const CommandResult one = eot({"--student", "-1", "--pdf", dir.file("one.pdf")});
  ASSERT_EQ(one.status, 0) << one.err;
  EXPECT_NE(one.out.find("1 student, 1 card, 1 page to "), std::string::npos) << one.out;
  const CommandResult many = eot({"--pdf", dir.file("all.pdf")});
  ASSERT_EQ(many.status, 0) << many.err;
  EXPECT_NE(many.out.find(" students, "), std::string::npos) << many.out;
}

}  // namespace
}  // namespace velmont::testing
