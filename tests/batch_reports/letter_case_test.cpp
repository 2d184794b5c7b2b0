// A school folder copied from a Windows machine often has its file names in
// upper case, or in a mix of cases. The program finds every file of it as the
// school's Windows directory does: the reports print what they print for the
// same folder in lower case, and no file is added beside the school's own.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>

#include "data/table.h"
#include "host_tool.h"
#include "report_commands.h"

namespace velmont::testing {
namespace {

namespace fs = std::filesystem;

std::string upperCase(std::string name) {
  for (char& c : name) c = char(std::toupper(static_cast<unsigned char>(c)));
  return name;
}

std::string mixedCase(std::string name) {
  for (size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    name[i] = char(i % 2 == 0 ? std::toupper(c) : std::tolower(c));
  }
  return name;
}

std::string lowerCase(std::string name) {
  for (char& c : name) c = char(std::tolower(static_cast<unsigned char>(c)));
  return name;
}

class LetterCase : public DemoSchoolCommands {
 protected:
  // What check, the cards and the list print for the folder, with the folder's
  // own name taken out.
  std::vector<std::string> outputs(const std::string& folder) {
    std::vector<std::string> printed;
    CommandResult check = runCommand({"check", folder, "--year", std::to_string(kTestYear)});
    EXPECT_EQ(check.status, 0) << check.err;
    // Findings name a file as the folder holds it; what they say is compared.
    printed.push_back(lowerCase(replaced(check.out, folder)));
    for (const char* kind : {"eot", "list"}) {
      const std::string text = dir.file(std::string(kind) + ".txt");
      std::vector<std::string> args = {kind, "--data-dir", folder, "--year", std::to_string(kTestYear),
                                       "--term", "2", "--as-at", "2024-06-30", "--text", text};
      if (std::string(kind) == "list") args.insert(args.end(), {"--level", "7", "--marks"});
      const CommandResult r = runReportCommand(args);
      EXPECT_EQ(r.status, 0) << kind << ": " << r.err;
      printed.push_back(replaced(r.out + r.err, text));
      printed.push_back(withoutClock(readFile(text)));
      fs::remove(text);
    }
    // The letterhead and logo show only on paper.
    const std::string pdf = dir.file("cards.pdf");
    const CommandResult cards = runReportCommand({"eot", "--data-dir", folder, "--year", std::to_string(kTestYear),
                                                  "--term", "2", "--as-at", "2024-06-30", "--pdf", pdf});
    EXPECT_EQ(cards.status, 0) << cards.err;
    printed.push_back(runHostTool("pdftotext", {"-layout", QString::fromStdString(pdf), "-"}).out.toStdString());
    fs::remove(pdf);
    return printed;
  }
  static std::string replaced(std::string text, const std::string& what) {
    for (size_t p; (p = text.find(what)) != std::string::npos;) text.replace(p, what.size(), "FOLDER");
    return text;
  }
  // The list's heading carries the time of printing.
  static std::string withoutClock(std::string text) {
    for (size_t i = 0; i + 8 <= text.size(); ++i)
      if (std::isdigit(static_cast<unsigned char>(text[i])) && text[i + 2] == ':' && text[i + 5] == ':')
        text.replace(i, 8, "hh:mm:ss");
    return text;
  }
  // A copy of the school with every file renamed by `rename`.
  std::string copyNamed(const std::string& name, std::string (*rename)(std::string)) {
    const std::string copy = dir.file(name);
    fs::create_directories(copy);
    for (const auto& e : fs::directory_iterator(school()))
      fs::copy_file(e.path(), fs::path(copy) / rename(e.path().filename().string()));
    return copy;
  }
};

TEST_F(LetterCase, UpperAndMixedCaseFoldersPrintAsTheLowerCaseOneAndGainNoFile) {
  // The first run makes the side tables a school lacks (the card headings, the
  // year's subject index); the school then words its headings its own way, so
  // that default headings made anew would show.
  ASSERT_EQ(eot({"--text", dir.file("first.txt")}).status, 0);
  {
    auto headings = data::Table::open(school() + "/headeots.dbf", "headeots", data::OpenMode::kReadWrite);
    headings->goTo(3);
    ASSERT_TRUE(headings->lockRecord());
    headings->replace("H20", "BULLETIN DE:");
    headings->unlockRecord();
  }
  const std::vector<std::string> lower = outputs(school());
  ASSERT_NE(lower[2].find("BULLETIN DE:"), std::string::npos) << "the school's own heading is printed";
  ASSERT_NE(lower[5].find("Telephone"), std::string::npos) << "the school's own letterhead is printed";

  using Rename = std::string (*)(std::string);
  for (const auto& [name, rename] : {std::pair<const char*, Rename>{"UPPER", upperCase}, {"Mixed", mixedCase}}) {
    SCOPED_TRACE(name);
    const std::string copy = copyNamed(name, rename);
    const auto before = readDirectory(copy);
    const std::vector<std::string> printed = outputs(copy);
    const char* what[] = {"check", "cards: closing line", "cards: text", "list: closing line", "list: text",
                          "cards: PDF"};
    ASSERT_EQ(printed.size(), lower.size());
    for (size_t i = 0; i < lower.size(); ++i) EXPECT_TRUE(printed[i] == lower[i]) << what[i] << ":\n" << printed[i];
    EXPECT_TRUE(readDirectory(copy) == before) << "no file added to the folder, none changed";
  }
}

}  // namespace
}  // namespace velmont::testing
