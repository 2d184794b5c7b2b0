// velmont-batch eot as a user starts it: a level without fees is refused in the
// school's own word for a year level.
#include <gtest/gtest.h>

#include <QProcess>

#include "temp_dir.h"

namespace {

TEST(EotCommandTest, ALevelWithoutFeesIsRefusedInTheSchoolsWord) {
  velmont::testing::TempDir dir;
  const QString school = QString::fromStdString(dir.file("school"));
  auto batch = [](const QStringList& args) {
    QProcess p;
    p.start(VELMONT_BINARY_DIR "/src/velmont-batch", args);
    EXPECT_TRUE(p.waitForFinished(120000));
    return std::pair{p.exitCode(), QString::fromUtf8(p.readAllStandardError())};
  };
  // The demo's grade.$vl calls a level "Form"; its levels start at 7.
  ASSERT_EQ(batch({"demo", school, "--students", "30", "--year", "2004", "--flags", "grade"}).first, 0);
  const auto [status, err] =
      batch({"eot", "--data-dir", school, "--year", "2004", "--from", "1", "--pdf", QString::fromStdString(dir.file("c.pdf"))});
  EXPECT_EQ(status, 2);
  EXPECT_TRUE(err.startsWith("velmont-batch: --from 1: To use this School Form, please ensure")) << err.toStdString();
}

}  // namespace
