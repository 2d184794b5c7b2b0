#pragma once
// Compares a whole output with a reference file checked in beside the tests, so that
// a change shows as a readable diff. With VELMONT_UPDATE_REFERENCES=1 in the
// environment the reference is written instead (look at it before committing).
#include <gtest/gtest.h>

#include <QFile>
#include <QString>

namespace velmont::testing {

inline void expectMatchesReference(const QByteArray& actual, const QString& relativePath) {
  const QString path = QStringLiteral(VELMONT_SOURCE_DIR "/") + relativePath;
  QFile file(path);
  if (qEnvironmentVariableIntValue("VELMONT_UPDATE_REFERENCES") == 1) {
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(actual);
    return;
  }
  ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "no reference file " << path.toStdString();
  const QByteArray expected = file.readAll();
  if (expected == actual) return;
  // The first line that differs, for the failure message.
  const QList<QByteArray> want = expected.split('\n'), got = actual.split('\n');
  for (qsizetype i = 0; i < std::max(want.size(), got.size()); ++i) {
    const QByteArray w = want.value(i), g = got.value(i);
    if (w != g) {
      ADD_FAILURE() << relativePath.toStdString() << " differs at line " << i + 1 << ":\n  expected: "
                    << w.toStdString() << "\n  actual:   " << g.toStdString();
      return;
    }
  }
}

}  // namespace velmont::testing
