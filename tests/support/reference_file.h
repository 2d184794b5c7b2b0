#pragma once
// Compares a whole output with a reference file checked in beside the tests, so that
// a change shows as a readable diff. With VELMONT_UPDATE_REFERENCES=1 in the
// environment the reference is written instead: scripts/refresh-references does
// that for every reference, and its diff is read before it is committed.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include "host_tool.h"

namespace velmont::testing {

// The first line that differs, when no diff program can be run.
inline std::string firstDifference(const QByteArray& expected, const QByteArray& actual) {
  const QList<QByteArray> want = expected.split('\n'), got = actual.split('\n');
  for (qsizetype i = 0; i < std::max(want.size(), got.size()); ++i) {
    const QByteArray w = want.value(i), g = got.value(i);
    if (w != g)
      return "first difference at line " + std::to_string(i + 1) + ":\n  expected: " + w.toStdString() +
             "\n  actual:   " + g.toStdString();
  }
  return "the files differ in their line ends";
}

inline void expectMatchesReference(const QByteArray& actual, const QString& relativePath) {
  const QString path = QStringLiteral(VELMONT_SOURCE_DIR "/") + relativePath;
  QFile file(path);
  if (qEnvironmentVariableIntValue("VELMONT_UPDATE_REFERENCES") == 1) {
    QDir().mkpath(QFileInfo(path).path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(actual);
    return;
  }
  ASSERT_TRUE(file.open(QIODevice::ReadOnly))
      << "no reference file " << path.toStdString() << " (make it with scripts/refresh-references)";
  const QByteArray expected = file.readAll();
  if (expected == actual) return;
  // The output as it came is kept in the build folder, for a diff of one's own.
  const QString kept = QStringLiteral(VELMONT_BINARY_DIR "/reference-actual/") + relativePath;
  QDir().mkpath(QFileInfo(kept).path());
  QFile keep(kept);
  if (keep.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    keep.write(actual);
    keep.close();
  }
  const HostToolRun diff =
      runHostTool("diff", {"-u", "--label", "reference " + relativePath, "--label", "this run", path, kept}, 30000);
  const bool diffed = diff.ended && diff.exitCode == 1;
  const std::string shown = diffed ? diff.out.toStdString() : firstDifference(expected, actual);
  ADD_FAILURE() << relativePath.toStdString() << " differs from this run's output (kept in "
                << kept.toStdString() << "):\n"
                << shown << "\nWhen the change is meant, run scripts/refresh-references and read its diff.";
}

}  // namespace velmont::testing
