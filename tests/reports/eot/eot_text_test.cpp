// A card as a text file, whole, against a reference file: the student line, the
// results table, the co-curricular rows, the legend and the comments each on lines of
// their own, nothing written over anything else.
#include <QFile>
#include <QRegularExpression>

#include "eot_fixture.h"
#include "reference_file.h"
#include "temp_dir.h"

namespace velmont::eot::testing {
namespace {

TEST_F(EotRun, ACardAsPlainTextMatchesItsReference) {
  auto st = data::Table::open(school.file("ststuden.dbf"), "st");
  st->addIndex(school.file("STSTNAME.ntx"));
  st->goTop();
  options.student = std::to_string(int(st->num("ST_NUMBER")));
  st.reset();
  velmont::testing::TempDir out;
  session.prAscii = out.file("card.txt");
  ASSERT_TRUE(run().ran);
  QFile f(QString::fromStdString(session.prAscii));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray text = f.readAll();
  velmont::testing::expectMatchesReference(text, "tests/reports/eot/reference/card.txt");
  const QString card = QString::fromUtf8(text);
  for (const char* heading : {"End of Term Report", "REPORT OF:", "SUBJECT:", "Teacher's comments:", "TERM 3"})
    EXPECT_EQ(card.count(heading), card.count('\f') + 1) << heading << ": once a page";
  EXPECT_FALSE(card.contains(QRegularExpression("[A-Za-z]\\d{2,3}\\b"))) << "a name run into a mark";
}

}  // namespace
}  // namespace velmont::eot::testing
