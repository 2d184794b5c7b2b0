// Where the report commands write: never over one of the school's files, only
// once the run has ended well, and nothing at all when no student matched.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "data/file.h"
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
  { std::ofstream(file("Velmont_Request.txt")) << "the office's request for a new report"; }
  const auto before = readDirectory(school());
  // Windows lets only some users make symbolic links (Wine none): a link that cannot be
  // made is not tried.
  std::error_code noSymlink, noHardLink;
  fs::create_symlink(file("ststuden.dbf"), dir.file("link.pdf"), noSymlink);
  fs::create_hard_link(file("STSTNAME.ntx"), dir.file("hard.txt"), noHardLink);
  std::vector<std::vector<std::string>> refused = {
      {"--text", file("ststuden.dbf")},     {"--pdf", file("STSUB24.dbf")},  {"--text", file("STSUB24.DBT")},
      {"--pdf", file("homecl.$vl")},        {"--pdf", dir.file("link.pdf")}, {"--text", dir.file("hard.txt")},
      {"--pdf", school()},                  {"--pdf", dir.file("ok.pdf"), "--png", school()},
      {"--text", school() + "/../school/paparent.dbf"},
      {"--text", file("Velmont_Request.txt")}};
  std::erase_if(refused, [&](const std::vector<std::string>& output) {
    return (noSymlink && output[1] == dir.file("link.pdf")) || (noHardLink && output[1] == dir.file("hard.txt"));
  });
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

// A school and an output folder named with national letters, as a school's often
// are: the refusals see the school's files there, and outputs land under their names.
TEST_F(OutputFiles, FoldersNamedWithNationalLettersKeepTheirSchoolFilesAndReceiveTheOutputs) {
  const std::string school = dir.file("\xC3\x89" "cole"), out = dir.file("R\xC3\xA9sultats");
  copyDirectory(this->school(), school);
  fs::create_directories(data::fsPath(out));
  const std::string request = data::pathIn(school, "Velmont_Request.txt");
  { std::ofstream(data::fsPath(request)) << "the office's request for a new report"; }
  std::error_code noHardLink;
  fs::create_hard_link(data::fsPath(data::pathIn(school, "STSTNAME.ntx")), data::fsPath(data::pathIn(out, "hard.txt")),
                       noHardLink);
  const auto before = readDirectory(school);
  auto run = [&](const char* command, std::vector<std::string> output) {
    std::vector<std::string> args = {command, "--data-dir", school, "--year", std::to_string(kTestYear)};
    if (std::string(command) == "eot") args.insert(args.end(), {"--class", "8B"});
    if (std::string(command) == "list") args.insert(args.end(), {"--level", "7"});
    args.insert(args.end(), output.begin(), output.end());
    return runReportCommand(args);
  };
  std::vector<std::vector<std::string>> refused = {
      {"--text", request}, {"--pdf", data::pathIn(school, "ststuden.dbf")}, {"--pdf", school},
      {"--pdf", data::pathIn(out, "ok.pdf"), "--png", school}};
  if (!noHardLink) refused.push_back({"--text", data::pathIn(out, "hard.txt")});
  for (const auto& output : refused)
    for (const char* command : {"eot", "list"}) {
      const CommandResult r = run(command, output);
      EXPECT_EQ(r.status, 2) << command << " " << output[1] << ": " << r.err;
      EXPECT_NE(r.err.find("The report cannot be written to"), std::string::npos) << r.err;
    }
  EXPECT_TRUE(readDirectory(school) == before) << "every school file byte for byte as it was";

  const std::string pdf = data::pathIn(out, "Carnets \xC3\xA9t\xC3\xA9.pdf"), pictures = data::pathIn(out, "Pages"),
                    text = data::pathIn(out, "Liste \xC3\xA9t\xC3\xA9.txt"), perFamily = data::pathIn(out, "Familles");
  const CommandResult cards = run("eot", {"--pdf", pdf, "--png", pictures});
  ASSERT_EQ(cards.status, 0) << cards.err;
  EXPECT_EQ(run("eot", {"--pdf-dir", perFamily}).status, 0);
  EXPECT_EQ(run("list", {"--text", text}).status, 0);
  EXPECT_GT(fs::file_size(data::fsPath(pdf)), 1000u);
  EXPECT_GT(fs::file_size(data::fsPath(text)), 100u);
  EXPECT_FALSE(fs::is_empty(data::fsPath(pictures)));
  EXPECT_FALSE(fs::is_empty(data::fsPath(perFamily)));
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(data::fsPath(out))) names.push_back(data::pathText(e.path().filename()));
  std::erase(names, "hard.txt");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Carnets \xC3\xA9t\xC3\xA9.pdf", "Familles",
                                             "Liste \xC3\xA9t\xC3\xA9.txt", "Pages"}))
      << "nothing under a garbled name";
}

// The names cards.csv lists, and the PDF files the folder holds.
std::vector<std::string> listedFiles(const std::string& folder) {
  std::vector<std::string> names;
  std::istringstream csv(readFile(folder + "/cards.csv"));
  std::string line;
  for (std::getline(csv, line); std::getline(csv, line);) names.push_back(line.substr(0, line.find(',')));
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> filesIn(const std::string& folder, const std::string& extension) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder))
    if (e.path().extension() == extension) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(OutputFiles, AFolderOfFilesHoldsExactlyTheLastRunsFilesBesideOthersFiles) {
  const std::string cards = dir.file("cards"), pictures = dir.file("pictures");
  for (const std::string& folder : {cards, pictures}) {
    fs::create_directories(folder + "/.velmont-Ab12Cd");  // the work folder of a run that was killed
    std::ofstream(folder + "/.velmont-Ab12Cd/SMIT0001-Smith.pdf") << "half written";
    std::ofstream(folder + "/notes.txt") << "the office's own notes";
  }
  const CommandResult whole = eot({"--pdf-dir", cards, "--png", pictures});
  ASSERT_EQ(whole.status, 0) << whole.err;
  const std::vector<std::string> wholeSchool = listedFiles(cards);
  EXPECT_EQ(filesIn(cards, ".pdf"), wholeSchool);
  const size_t wholePictures = filesIn(pictures, ".png").size();
  ASSERT_GT(wholePictures, 3u);

  // One class into the same folders: the earlier run's files go, the others' stay.
  const CommandResult oneClass = eot({"--pdf-dir", cards, "--png", pictures, "--class", "8B"});
  ASSERT_EQ(oneClass.status, 0) << oneClass.err;
  const std::vector<std::string> classFiles = listedFiles(cards);
  ASSERT_LT(classFiles.size(), wholeSchool.size());
  EXPECT_EQ(filesIn(cards, ".pdf"), classFiles);
  const std::vector<std::string> classPictures = filesIn(pictures, ".png");
  ASSERT_LT(classPictures.size(), wholePictures);
  for (size_t i = 0; i < classPictures.size(); ++i)
    EXPECT_EQ(classPictures[i], "page-000" + std::to_string(i + 1) + ".png");
  for (const std::string& folder : {cards, pictures}) {
    EXPECT_EQ(readFile(folder + "/notes.txt"), "the office's own notes");
    EXPECT_FALSE(fs::exists(folder + "/.velmont-Ab12Cd")) << "a killed run's work is swept";
  }

  // A file of the next run that cannot be replaced (a folder of that name):
  // the run says so and the folder stays as it was, all of it.
  const std::string blocked = cards + "/" + wholeSchool.back();
  ASSERT_FALSE(fs::exists(blocked));
  fs::create_directories(blocked);
  std::ofstream(blocked + "/inside.txt") << "somebody's";
  const auto before = readDirectory(cards);
  const CommandResult refused = eot({"--pdf-dir", cards});
  EXPECT_EQ(refused.status, 1) << refused.err;
  EXPECT_NE(refused.err.find(wholeSchool.back() + " cannot be replaced"), std::string::npos) << refused.err;
  EXPECT_EQ(refused.err.find("has been sent"), std::string::npos) << refused.err;
  EXPECT_TRUE(readDirectory(cards) == before);
  EXPECT_EQ(readFile(blocked + "/inside.txt"), "somebody's");
}

TEST_F(OutputFiles, CardsCsvShowsAFormulaInAFamilyFieldAsTextAndDropsControlBytes) {
  const std::string families = file("paparent.dbf");
  const auto table = openTable(school(), "paparent.dbf");
  const int title = table->fieldIndex("PA_MAIL_TI");
  ASSERT_GE(title, 0);
  std::string formula = "=HYPERLINK(\"x.nz\",\"Pay\x07\")";
  formula.resize(table->field(title).width, ' ');
  for (uint32_t recno = 1; recno <= table->reccount(); ++recno)
    overwrite(families, fieldOffset(families, "PA_MAIL_TI", recno), formula);
  const std::string cards = dir.file("cards");
  const CommandResult run = eot({"--pdf-dir", cards});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string csv = readFile(cards + "/cards.csv");
  EXPECT_NE(csv.find(",\"'=HYPERLINK(\"\"x.nz\"\",\"\"Pay\"\")\","), std::string::npos) << csv;
  EXPECT_EQ(csv.find('\x07'), std::string::npos);
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
  const CommandResult noMarks = runReportCommand({"list", "--data-dir", school(), "--year", std::to_string(kTestYear - 1),
                                                  "--level", "7", "--text", dir.file("list.txt")});  // a year unmarked
  EXPECT_EQ(noMarks.status, 3) << noMarks.out << noMarks.err;
  EXPECT_NE(noMarks.err.find("No subjects found for these options; nothing was listed."), std::string::npos)
      << noMarks.err;
  EXPECT_EQ(noMarks.err.find("has been sent"), std::string::npos) << noMarks.err;
  EXPECT_FALSE(fs::exists(dir.file("list.txt")));
  for (const char* command : {"eot", "list"})
    EXPECT_NE(runReportCommand({command, "--help"}).out.find("3 no student matched"), std::string::npos);
}

}  // namespace
}  // namespace velmont::testing
