// Numbers printed in the reports keep their '.' and lose their trailing zeros
// under a locale whose decimal point is a comma.
#include <gtest/gtest.h>

#include "comma_locale.h"
#include "libs/lmd_strings.h"

using velmont::libs::lmdStrNum;
using velmont::testing::CommaLocaleTest;

TEST_F(CommaLocaleTest, ReportNumbersKeepTheirPoint) {
  EXPECT_EQ(lmdStrNum(12.5), "12.5");
  EXPECT_EQ(lmdStrNum(12.0), "12");
  EXPECT_EQ(lmdStrNum(-0.001), "0");
  EXPECT_EQ(lmdStrNum(2.0 / 3.0, 3), "0.667");
  EXPECT_EQ(lmdStrNum(1e20, 0), "100000000000000000000");
}
