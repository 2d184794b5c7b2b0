// Numbers and dates keep their stored form under a locale whose decimal point is
// a comma: what the engine writes must read the same in every other program.
#include <gtest/gtest.h>

#include "comma_locale.h"
#include "data/dbf_file.h"
#include "data/expr.h"
#include "data/numeric.h"
#include "data/table.h"
#include "temp_dir.h"

using namespace velmont::data;
using velmont::testing::CommaLocaleTest;
using velmont::testing::TempDir;

TEST_F(CommaLocaleTest, NumbersAreWrittenAndReadWithAPoint) {
  // More than nine decimals take the general formatting path.
  EXPECT_EQ(formatStr(-1.25, 14, 10), " -1.2500000000");
  EXPECT_EQ(formatStr(1.5, 6, 2), "  1.50");
  // More digits than one 64-bit integer holds: the general parsing path.
  EXPECT_DOUBLE_EQ(parseNumeric("0.1234567890123456789"), 0.1234567890123456789);
  EXPECT_DOUBLE_EQ(parseNumeric(" -12345678901234567.5"), -12345678901234567.5);

  TempDir dir;
  const std::string path = dir.file("fees.dbf");
  DbfFile::create(path, {{"FEE", 'N', 9, 2}, {"RATE", 'N', 14, 10}, {"PAID", 'D', 8, 0}});
  {
    auto t = Table::open(path, "F", OpenMode::kReadWrite);
    t->appendBlank();
    t->replace("FEE", 1234.5);
    t->replace("RATE", 0.0625);
    t->replace("PAID", Date::fromYmd(2026, 12, 7));
    t->commit();
  }
  auto t = Table::open(path, "F");
  t->goTop();
  EXPECT_EQ(std::string(t->str("FEE")), "  1234.50");
  EXPECT_EQ(std::string(t->str("RATE")), "  0.0625000000");
  EXPECT_DOUBLE_EQ(t->num("RATE"), 0.0625);
  EXPECT_EQ(std::string(t->str("PAID")), "20261207");
  auto e = Expression::parse("STR(RATE, 14, 12) + DTOS(PAID) + STR(VAL(\"2.5\") * FEE, 9, 1)", *t);
  EXPECT_EQ(std::string(e.eval(*t).text()), "0.062500000000" "20261207" "   3086.3");
}
