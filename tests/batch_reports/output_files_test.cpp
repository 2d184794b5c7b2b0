// Where the report commands write: never over one of the school's files, only
// once the run has ended well, and nothing at all when no student matched.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "report_commands.h"

namespace velmont::testing {
namespace {

namespace fs = std::filesystem;

class OutputFiles : public DemoSchoolCommands {
 protected:
  std::string file(const std::string& name) const { return (fs::path(school()) / name).string(); }
  // Files of the output folder other than `expected`: no temporary file stays.
  std::vector<std::string> strays(const std::string& expected) const {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(dir.path()))
      if (e.path().filename() != "school" && e.path().filename() != expected) out.push_back(e.path().string());
    return out;
  }
};

TEST_F(OutputFiles, AnOutputThatNamesASchoolFileIsRefusedAndTheFileKept) {
  const auto before = readDirectory(school());
  fs::create_symlink(file("ststuden.dbf"), dir.file("link.pdf"));
  fs::create_hard_link(file("STSTNAME.ntx"), dir.file("hard.txt"));
  const std::vector<std::vector<std::string>> refused = {
      {"--text", file("ststuden.dbf")},     {"--pdf", file("STSUB24.dbf")},  {"--text", file("STSUB24.DBT")},
      {"--pdf", file("homecl.$vl")},        {"--pdf", dir.file("link.pdf")}, {"--text", dir.file("hard.txt")},
      {"--pdf", school()},                  {"--pdf", dir.file("ok.pdf"), "--png", school()},
      {"--text", school() + "/../school/paparent.dbf"}};
  for (const auto& output : refused) {
    const CommandResult cards = eot(output), grid = list(output);
    for (const CommandResult* r : {&cards, &grid}) {
      EXPECT_EQ(r->status, 2) << output[1] << ": " << r->err;
      EXPECT_NE(r->err.find("The report cannot be written to"), std::string::npos) << r->err;
    }
  }
  EXPECT_TRUE(readDirectory(school()) == before) << "every school file byte for byte as it was";
  EXPECT_FALSE(fs::exists(dir.file("ok.pdf")));
}

TEST_F(OutputFiles, AFailedRunLeavesTheEarlierOutputAsItWasAndNoTemporaryFile) {
  const CommandResult first = eot({"--pdf", dir.file("cards.pdf")});
  ASSERT_EQ(first.status, 0) << first.err;
  const CommandResult text = list({"--text", dir.file("list.txt")});
  ASSERT_EQ(text.status, 0) << text.err;
  const std::string pdf = readFile(dir.file("cards.pdf")), txt = readFile(dir.file("list.txt"));
  ASSERT_GT(pdf.size(), 1000u);
  // The run stops part of the way through the students.
  keepRecords(file("ststuden.dbf"), 35);
  EXPECT_EQ(eot({"--pdf", dir.file("cards.pdf")}).status, 1);
  EXPECT_EQ(eot({"--text", dir.file("list.txt")}).status, 1);
  EXPECT_EQ(list({"--text", dir.file("list.txt")}).status, 1);
  EXPECT_TRUE(readFile(dir.file("cards.pdf")) == pdf);
  EXPECT_TRUE(readFile(dir.file("list.txt")) == txt);
  EXPECT_FALSE(fs::exists(dir.file("new.pdf")));
  EXPECT_EQ(eot({"--pdf", dir.file("new.pdf")}).status, 1);
  EXPECT_FALSE(fs::exists(dir.file("new.pdf"))) << "no half-written file";
  for (const auto& stray : strays("cards.pdf")) EXPECT_EQ(stray, dir.file("list.txt"));
}

TEST_F(OutputFiles, NoStudentMatchedPrintsNothingAndSaysSo) {
  const CommandResult cards = eot({"--student", "zzz", "--pdf", dir.file("cards.pdf"), "--png", dir.file("png")});
  EXPECT_EQ(cards.status, 3) << cards.out << cards.err;
  EXPECT_NE(cards.err.find("There are no Students matching these options"), std::string::npos) << cards.err;
  EXPECT_EQ(cards.err.find("Report has been sent"), std::string::npos) << cards.err;
  EXPECT_FALSE(fs::exists(dir.file("cards.pdf")));
  EXPECT_TRUE(fs::is_empty(dir.file("png")));
  const CommandResult grid = list({"--class", "NOSUCH", "--text", dir.file("list.txt")});
  EXPECT_EQ(grid.status, 3) << grid.out << grid.err;
  EXPECT_NE(grid.err.find("There are no Students matching these options"), std::string::npos) << grid.err;
  EXPECT_FALSE(fs::exists(dir.file("list.txt")));
  for (const char* command : {"eot", "list"})
    EXPECT_NE(runReportCommand({command, "--help"}).out.find("3 no student matched"), std::string::npos);
}

}  // namespace
}  // namespace velmont::testing
