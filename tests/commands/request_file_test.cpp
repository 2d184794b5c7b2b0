// The report request file: its exact lines, never overwritten, opened with the
// desktop's editor without a shell.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/gui_helpers.h"
#include "commands/maker.h"
#include "commands/request_file.h"
#include "temp_dir.h"

namespace velmont::commands {
namespace {

using testing::onNextModal;

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct Opened {
  std::vector<std::string> paths;
  FileOpener opener() {
    return [this](const std::string& path, const std::string&) {
      paths.push_back(path);
      return true;
    };
  }
};

TEST(RequestFile, TheThirteenLinesByteForByte) {
  const std::string expected =
      "Specify requirements for your Velmont Report\r\n"
      "Then email this file as an attachment to: info@tarnwick-systems.example  \r\n" +
      std::string(47, '_') +
      "\r\n"
      "Report Request Options: (nominate if similar to a standard RV report)\r\n"
      "eg. select: Starting Year, Ending Year & Home Class\r\n"
      "\r\n"
      "\r\n" +
      std::string(27, '_') +
      "\r\n"
      "Report Layout:\r\n"
      "\r\n"
      "\r\n"
      "\r\n"
      "email to: support@tarnwick-systems.example\r\n";
  EXPECT_EQ(requestFormText(), expected);
}

TEST(RequestFile, YesWritesTheFormAndOpensIt) {
  testing::TempDir dir;
  Opened opened;
  QString question;
  onNextModal([&](QWidget* box) {
    question = testing::messageText(box);
    testing::clickButton(box, "Yes");
  });
  YOUR_REPT(dir.path().string(), nullptr, opened.opener());
  EXPECT_TRUE(question.startsWith("Click on YES to specify YOUR velmont report\n\n(use WordPad"));
  EXPECT_TRUE(question.endsWith("\n\nContinue?"));
  const std::string path = dir.file(kRequestFile);
  ASSERT_EQ(opened.paths, std::vector<std::string>{path});
  EXPECT_EQ(readAll(path), requestFormText());
}

TEST(RequestFile, ASecondUseKeepsWhatTheUserWrote) {
  testing::TempDir dir;
  Opened opened;
  onNextModal([](QWidget* box) { testing::clickButton(box, "Yes"); });
  YOUR_REPT(dir.path().string(), nullptr, opened.opener());
  std::ofstream(dir.file(kRequestFile), std::ios::binary | std::ios::app) << "A list of birthdays by class\r\n";
  onNextModal([](QWidget* box) { testing::clickButton(box, "Yes"); });
  YOUR_REPT(dir.path().string(), nullptr, opened.opener());
  EXPECT_EQ(opened.paths.size(), 2u);
  EXPECT_EQ(readAll(dir.file(kRequestFile)), requestFormText() + "A list of birthdays by class\r\n");
}

TEST(RequestFile, NoLeavesTheDirectoryUntouched) {
  testing::TempDir dir;
  Opened opened;
  onNextModal([](QWidget* box) { testing::clickButton(box, "No"); });
  YOUR_REPT(dir.path().string(), nullptr, opened.opener());
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
  EXPECT_TRUE(opened.paths.empty());
}

TEST(RequestFile, AFormThatCannotBeWrittenOrOpenedIsToldWithItsPlace) {
  Opened opened;
  QString told;
  auto answerYesThenRead = [&] {
    onNextModal([&](QWidget* box) {
      onNextModal([&](QWidget* message) {
        told = testing::messageText(message);
        QTest::keyClick(message, Qt::Key_Return);
      });
      testing::clickButton(box, "Yes");
    });
  };
  answerYesThenRead();
  YOUR_REPT("/nonexistent/velmont", nullptr, opened.opener());
  EXPECT_TRUE(opened.paths.empty());
  EXPECT_TRUE(told.contains("could not be written in /nonexistent/velmont")) << told.toStdString();

  // A desktop without a program to open the form: the user learns where it is.
  testing::TempDir dir;
  told.clear();
  answerYesThenRead();
  YOUR_REPT(dir.path().string(), nullptr, [](const std::string&, const std::string&) { return false; });
  EXPECT_TRUE(told.startsWith(QString::fromStdString("The request form is ready in " + dir.file(kRequestFile) + ".")))
      << told.toStdString();
  EXPECT_TRUE(told.contains("no program to open it")) << told.toStdString();
}

#ifndef _WIN32
// The real opener with a stand-in xdg-open on the PATH that records its
// arguments: the file name arrives as one argument, shell characters and all.
TEST(RequestFile, EditorGetsTheFileNameAsOneArgument) {
  testing::TempDir dir;
  const std::string bin = dir.file("bin");
  std::filesystem::create_directory(bin);
  const std::string record = dir.file("args.txt");
  {
    std::ofstream script(bin + "/xdg-open");
    script << "#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > '" << record << ".tmp' && mv '" << record << ".tmp' '"
           << record << "'\n";
  }
  std::filesystem::permissions(bin + "/xdg-open", std::filesystem::perms::owner_all);
  const QByteArray oldPath = qgetenv("PATH");
  qputenv("PATH", QByteArray::fromStdString(bin) + ":" + oldPath);
  const std::string school = dir.file("My School; rm -rf x");
  std::filesystem::create_directory(school);
  const std::string path = ensureRequestForm(school);
  EXPECT_TRUE(openInTextEditor(path, school));
  qputenv("PATH", oldPath);
  ASSERT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(record); }, 5000));
  EXPECT_EQ(readAll(record), "1|" + path + "|");
}
#endif

}  // namespace
}  // namespace velmont::commands
