// The user guide is kept true by these tests: every picture it shows exists,
// every message it explains is one the program can show, every velmont-batch
// example uses options the command has, and the version it and the change log
// name is the one the programs print.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "temp_dir.h"
#include "velmont_version.h"

namespace fs = std::filesystem;

namespace {

const fs::path kSource = VELMONT_SOURCE_DIR;
const fs::path kBinary = VELMONT_BINARY_DIR;

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string guide() { return readFile(kSource / "docs" / "user-guide.md"); }

// The guide's text from the heading that starts with `from` up to the next
// heading of the same level.
std::string section(const std::string& text, const std::string& from) {
  const size_t start = text.find("\n" + from);
  if (start == std::string::npos) return {};
  const size_t end = text.find("\n## ", start + 1);
  return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// Standard output of a command line, run without a shell's help.
std::string run(const std::string& commandLine, int* status = nullptr) {
  std::string out;
  FILE* p = ::popen((commandLine + " 2>&1").c_str(), "r");
  if (!p) return out;
  char buf[4096];
  for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
  const int rc = ::pclose(p);
  if (status) *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  return out;
}

std::string batch() { return (kBinary / "src" / "velmont-batch").string(); }

// Every source file's text in one string, to look messages up in.
const std::string& allSources() {
  static const std::string all = [] {
    std::string s;
    for (const auto& e : fs::recursive_directory_iterator(kSource / "src")) {
      const auto ext = e.path().extension();
      if (e.is_regular_file() && (ext == ".cpp" || ext == ".h")) s += readFile(e.path());
    }
    return s;
  }();
  return all;
}

std::vector<std::string> matches(const std::string& text, const std::regex& re, int group = 1) {
  std::vector<std::string> found;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator(); ++it)
    found.push_back((*it)[group].str());
  return found;
}

}  // namespace

TEST(UserGuide, EveryPictureItShowsExistsAsASmallPng) {
  const auto pictures = matches(guide(), std::regex(R"(!\[[^\]]*\]\(([^)]+)\))"));
  ASSERT_GE(pictures.size(), 8u) << "the guide shows the main window, both options windows, the printer window, "
                                    "the preview, its help, a card and a list";
  uintmax_t total = 0;
  for (const auto& name : pictures) {
    const fs::path file = kSource / "docs" / name;
    ASSERT_TRUE(fs::is_regular_file(file)) << "the guide shows " << name << ", which does not exist";
    EXPECT_EQ(readFile(file).substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8)) << name << " is not a PNG";
    total += fs::file_size(file);
  }
  // The pictures travel in the repository and the package: a few hundred KB in all.
  EXPECT_LT(total, 800u * 1024) << "the guide's pictures take " << total << " bytes";
}

TEST(UserGuide, EveryMessageItExplainsIsOneTheProgramShows) {
  const std::string messages = section(guide(), "## 10.");
  ASSERT_FALSE(messages.empty()) << "the guide has no section 10 with the messages";
  // Quoted in a heading or in bold; "..." stands for what the program fills in.
  std::vector<std::string> quoted;
  for (const auto& heading : matches(messages, std::regex(R"(\n### ([^\n]*))")))
    for (const auto& q : matches(heading, std::regex(R"x("([^"]+)")x"))) quoted.push_back(q);
  for (const auto& q : matches(messages, std::regex(R"x(\*\*"([^"]+)"\*\*)x"))) quoted.push_back(q);
  ASSERT_GE(quoted.size(), 10u);
  for (const auto& message : quoted) {
    size_t from = 0;
    while (from <= message.size()) {
      size_t dots = message.find("...", from);
      const std::string piece = message.substr(from, dots == std::string::npos ? std::string::npos : dots - from);
      if (piece.size() >= 4) {
        EXPECT_NE(allSources().find(piece), std::string::npos)
            << "the guide explains \"" << message << "\", but no program text holds \"" << piece << "\"";
      }
      if (dots == std::string::npos) break;
      from = dots + 3;
    }
  }
}

TEST(UserGuide, EveryVelmontBatchExampleUsesOptionsTheCommandHas) {
  const std::string text = guide();
  const auto lines = matches(text, std::regex(R"(\n    velmont-batch ([^\n]*))"));
  ASSERT_GE(lines.size(), 6u);
  std::set<std::string> commandsSeen;
  for (const auto& line : lines) {
    std::istringstream words(line);
    std::string command;
    words >> command;
    if (command.rfind("--", 0) == 0) continue;  // --help and --version on their own
    int status = -1;
    const std::string help = run(batch() + " " + command + " --help", &status);
    ASSERT_EQ(status, 0) << "velmont-batch has no command \"" << command << "\" (the guide's: " << line << ")";
    commandsSeen.insert(command);
    for (const auto& option : matches(line, std::regex(R"((?:^|\s)(--[a-z-]+))")))
      if (option != "--help") {
        EXPECT_TRUE(std::regex_search(help, std::regex(option + "([^a-z-]|$)")))
            << "the guide's example \"" << line << "\" uses " << option << ", which " << command << " does not know";
      }
  }
  for (const char* c : {"check", "eot", "list", "demo"})
    EXPECT_TRUE(commandsSeen.count(c)) << "the guide gives no example of velmont-batch " << c;
}

// What a secretary copies from the guide works: each example, on a demo school
// of this year in place of the school's folder, ends well and writes its file.
TEST(UserGuide, EveryVelmontBatchExampleRunsOnADemoSchool) {
  velmont::testing::TempDir dir;
  const std::string year = run("date +%Y").substr(0, 4);
  int status = -1;
  run("cd '" + dir.path().string() + "' && " + batch() + " demo school --year " + year, &status);
  ASSERT_EQ(status, 0);
  int ran = 0;
  for (std::string line : matches(guide(), std::regex(R"(\n    (velmont-batch [^\n]*))"))) {
    if (line.find("--printer") != std::string::npos || line.find("--help") != std::string::npos) continue;
    for (const char* folder : {"/srv/school", "/path/to/school/data"})
      for (size_t at; (at = line.find(folder)) != std::string::npos;) line.replace(at, std::string(folder).size(), "school");
    line = std::regex_replace(line, std::regex("2026"), year);
    const std::string output = run("cd '" + dir.path().string() + "' && " + batch() + line.substr(13), &status);
    EXPECT_EQ(status, 0) << "the guide's example \"" << line << "\" fails on a demo school:\n" << output;
    std::smatch file;
    if (std::regex_search(line, file, std::regex(R"((?:--pdf|--text|>) +([^ ]+))"))) {
      EXPECT_GT(fs::exists(dir.path() / file[1].str()) ? fs::file_size(dir.path() / file[1].str()) : 0u, 0u)
          << "the guide's example \"" << line << "\" wrote no " << file[1].str();
    }
    ++ran;
  }
  EXPECT_GE(ran, 8);
}

// Every file that printing cards and lists adds to or changes in the data
// directory is one the guide's list of what the program writes names.
TEST(UserGuide, WhatTheReportsWriteInTheDataDirectoryIsListed) {
  const std::string written = section(guide(), "## 9.");
  ASSERT_FALSE(written.empty()) << "the guide has no section 9 on what the program writes";
  velmont::testing::TempDir dir;
  const fs::path school = dir.path() / "school";
  int status = -1;
  run(batch() + " demo '" + school.string() + "' --year 2026", &status);
  ASSERT_EQ(status, 0);
  auto snapshot = [&] {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::directory_iterator(school)) files[e.path().filename().string()] = readFile(e.path());
    return files;
  };
  const auto before = snapshot();
  const std::string common = " --data-dir '" + school.string() + "' --year 2026 --as-at 2026-06-01 ";
  run(batch() + " eot" + common + "--pdf '" + (dir.path() / "cards.pdf").string() + "'", &status);
  ASSERT_EQ(status, 0);
  run(batch() + " list" + common + "--level 10 --text '" + (dir.path() / "list.txt").string() + "'", &status);
  ASSERT_EQ(status, 0);
  int changed = 0;
  for (const auto& [name, bytes] : snapshot()) {
    const auto was = before.find(name);
    if (was != before.end() && was->second == bytes) continue;
    ++changed;
    EXPECT_NE(written.find("`" + name + "`"), std::string::npos)
        << "the reports wrote " << name << " in the data directory, which the guide's section 9 does not name";
  }
  EXPECT_GE(changed, 1) << "the first report of a year builds the subject index";

  // A year without subject records: the cards say so with status 3 and write
  // nothing; the class list makes the year's table, which the guide names too.
  for (const char* ext : {".dbf", ".dbt", ".ntx"}) fs::remove(school / ("STSUB26" + std::string(ext)));
  const auto without = snapshot();
  const std::string said = run(batch() + " eot" + common + "--pdf '" + (dir.path() / "blank.pdf").string() + "'", &status);
  EXPECT_EQ(status, 3);
  EXPECT_NE(said.find("The year 2026 has no subject records (STSUB26.dbf is missing)"), std::string::npos) << said;
  EXPECT_FALSE(fs::exists(dir.path() / "blank.pdf"));
  EXPECT_EQ(snapshot(), without) << "nothing is made in the data directory for cards that are not printed";
  run(batch() + " list" + common + "--level 10 --text '" + (dir.path() / "list.txt").string() + "'", &status);
  for (const auto& [name, bytes] : snapshot()) {
    if (without.count(name)) continue;
    EXPECT_NE(written.find("`" + name + "`"), std::string::npos)
        << "the class list made " << name << " in the data directory, which the guide's section 9 does not name";
  }
}

TEST(UserGuide, OneVersionInTheProgramsTheChangeLogAndTheGuide) {
  const std::string version = VELMONT_VERSION;
  EXPECT_EQ(run(batch() + " --version"), "velmont-batch " + version + "\n");
  EXPECT_EQ(run((kBinary / "src" / "velmont").string() + " --version"), "velmont " + version + "\n");
  const auto releases = matches(readFile(kSource / "CHANGELOG.md"), std::regex(R"(\n## ([0-9][^ \n]*))"));
  ASSERT_FALSE(releases.empty());
  EXPECT_EQ(releases.front(), version) << "the newest entry of CHANGELOG.md is not the version CMake gives";
  EXPECT_NE(guide().find("velmont_" + version + "_amd64.deb"), std::string::npos)
      << "the guide's install command names another package version";
}
