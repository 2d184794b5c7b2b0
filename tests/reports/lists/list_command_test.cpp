// velmont-batch as a user starts it: the list command named in the help, a year
// level outside 1 to 20 refused, and stderr kept for the program's own words
// even without XDG_RUNTIME_DIR (cron, a root shell).
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include "temp_dir.h"

namespace {

struct Result {
  int status = -1;
  QString out, err;
};

Result batch(const QStringList& args) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove("XDG_RUNTIME_DIR");
  env.remove("DISPLAY");
  env.remove("QT_QPA_PLATFORM");
  p.setProcessEnvironment(env);
  p.start(VELMONT_BINARY_DIR "/src/velmont-batch", args);
  EXPECT_TRUE(p.waitForFinished(120000));
  // Windows ends a console line with CR LF: the words are what is compared.
  auto text = [](const QByteArray& bytes) { return QString::fromUtf8(bytes).remove('\r'); };
  return {p.exitCode(), text(p.readAllStandardOutput()), text(p.readAllStandardError())};
}

TEST(ListCommandTest, HelpNamesTheCommandAndALevelOutsideOneToTwentyIsRefused) {
  const Result help = batch({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.contains("\n  list ...    print a year level's home-class list with subjects\n")) << help.out.toStdString();
  EXPECT_TRUE(help.out.contains("\n  eot ...     print the end-of-term report cards")) << help.out.toStdString();

  velmont::testing::TempDir dir;
  const QString school = QString::fromStdString(dir.file("school"));
  ASSERT_EQ(batch({"demo", school, "--students", "30", "--year", "2004"}).status, 0);
  const QString pdf = QString::fromStdString(dir.file("list.pdf"));
  const Result refused = batch({"list", "--data-dir", school, "--year", "2004", "--level", "99", "--pdf", pdf});
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(refused.err, "velmont-batch: --level 99: a year level lies between 1 and 20\n");

  const Result listed = batch({"list", "--data-dir", school, "--year", "2004", "--level", "8", "--pdf", pdf});
  EXPECT_EQ(listed.status, 0) << listed.err.toStdString();
  EXPECT_FALSE(listed.err.contains("QStandardPaths")) << listed.err.toStdString();
  EXPECT_FALSE(listed.err.contains("XDG_RUNTIME_DIR")) << listed.err.toStdString();
}

}  // namespace
