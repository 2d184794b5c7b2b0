// Dates and numbers as the tables store them, and text as CSV writes it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "data/csv.h"
#include "data/date.h"
#include "data/numeric.h"

using namespace velmont::data;

TEST(DateTest, RoundTripsAndRejectsInvalidDates) {
  const Date d = Date::fromYmd(2004, 2, 29);
  EXPECT_EQ(d.dtos(), "20040229");
  EXPECT_EQ(Date::fromDtos("20040229"), d);
  EXPECT_EQ(d.dmy(), "29/02/2004");
  EXPECT_EQ(d.iso(), "2004-02-29");
  EXPECT_TRUE(Date::fromYmd(2005, 2, 29).empty());
  EXPECT_TRUE(Date::fromDtos("        ").empty());
  EXPECT_TRUE(Date::fromDtos("00000000").empty());
  EXPECT_TRUE(Date::fromDtos("20041301").empty());
  EXPECT_EQ(Date().dtos(), "        ");
  EXPECT_LT(Date(), Date::fromYmd(1, 1, 1));
  EXPECT_EQ(Date::fromYmd(2000, 3, 1).dayNumber() - Date::fromYmd(2000, 2, 28).dayNumber(), 2);
}

TEST(DateTest, TwoDigitYearsReadAs1951To2050) {
  EXPECT_EQ(Date::fromDmyText("31/12/50").dtos(), "20501231");
  EXPECT_EQ(Date::fromDmyText("1/1/51").dtos(), "19510101");
  EXPECT_EQ(Date::fromDmyText("07/02/2026").dtos(), "20260207");
  EXPECT_TRUE(Date::fromDmyText("  /  /    ").empty());
  EXPECT_TRUE(Date::fromDmyText("31/02/2026").empty());
  EXPECT_TRUE(Date::fromDmyText("1/2/3/4").empty());
  EXPECT_TRUE(Date::fromDmyText("1/2/123").empty());
}

TEST(DateTest, IsoTextIsReadStrictly) {
  EXPECT_EQ(Date::fromIsoText("2025-06-30").dtos(), "20250630");
  EXPECT_EQ(Date::fromIsoText("2025-1-1").dtos(), "20250101");
  for (const char* malformed : {"2025-06-3O", "2025-1-1x", "2025-06-31", "25-06-30", "2025-06", "2025/06/30",
                                " 2025-06-30", "2025-006-30", ""})
    EXPECT_TRUE(Date::fromIsoText(malformed).empty()) << malformed;
}

TEST(NumericTest, ParsesStoredText) {
  bool overflow = true;
  EXPECT_DOUBLE_EQ(parseNumeric("   -12.50", &overflow), -12.5);
  EXPECT_FALSE(overflow);
  EXPECT_DOUBLE_EQ(parseNumeric("      "), 0);
  EXPECT_DOUBLE_EQ(parseNumeric("  7x9"), 7);
  EXPECT_DOUBLE_EQ(parseNumeric("*****", &overflow), 0);
  EXPECT_TRUE(overflow);
}

TEST(NumericTest, FormatsLikeStr) {
  EXPECT_EQ(formatStr(3.5, 6, 2), "  3.50");
  EXPECT_EQ(formatStr(7, 3, 0), "  7");
  EXPECT_EQ(formatStr(-0.5, 5, 2), "-0.50");
  EXPECT_EQ(formatStr(2.5, 3, 0), "  3");     // half away from zero
  EXPECT_EQ(formatStr(-2.5, 3, 0), " -3");
  EXPECT_EQ(formatStr(2.675, 6, 2), "  2.68");
  EXPECT_EQ(formatStr(1234, 3, 0), "***");
  EXPECT_EQ(formatStr(-0.001, 5, 2), " 0.00");  // no negative zero
}

TEST(NumericTest, EncodesNtxKeysInNumberOrder) {
  EXPECT_EQ(encodeNumericKey(42, 6, 0), "000042");
  EXPECT_EQ(encodeNumericKey(0, 6, 0), "000000");
  EXPECT_EQ(encodeNumericKey(-7, 6, 0), ",,,,,%");
  EXPECT_EQ(encodeNumericKey(-42, 6, 0), ",,,,(*");
  EXPECT_EQ(encodeNumericKey(12.5, 8, 2), "00012.50");
  EXPECT_EQ(encodeNumericKey(-12.5, 8, 2), ",,,+*.',");
  const double values[] = {-1000, -42, -7, -0.5, 0, 0.5, 7, 42, 1000};
  for (size_t i = 0; i + 1 < std::size(values); ++i)
    EXPECT_LT(encodeNumericKey(values[i], 8, 1), encodeNumericKey(values[i + 1], 8, 1)) << values[i];
  for (double v : values) EXPECT_DOUBLE_EQ(decodeNumericKey(encodeNumericKey(v, 8, 1)), v);
}

TEST(NumericTest, FastFormattingAgreesWithPrintfRounding) {
  // Values exactly representable at a half: rounding away from zero must hold on both paths.
  uint64_t state = 12345;
  for (int i = 0; i < 20000; ++i) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    const int decimals = int(state >> 60) % 4;
    const double value = (double(int64_t(state >> 20) % 2000000) - 1000000) / 8.0;
    char expected[64];
    const double p = std::pow(10.0, decimals);
    double r = std::floor(std::fabs(value) * p + 0.5) / p;
    if (value < 0) r = -r;
    if (r == 0) r = 0;
    std::snprintf(expected, sizeof expected, "%*.*f", 12, decimals, r);
    ASSERT_EQ(formatStr(value, 12, decimals), expected) << value << " " << decimals;
  }
}

TEST(NumericTest, HugeWidthsAndValuesStayInBounds) {
  EXPECT_EQ(formatStr(1e308, 500, 60).size(), 500u);
  EXPECT_EQ(formatStr(-1e308, 320, 0).find_first_not_of(' '), 0u + 320 - 310);
  EXPECT_EQ(formatStr(1.0 / 0.0, 5, 0), "*****");
}

TEST(DateTest, LongDigitRunsAreNotDates) {
  // Found by fuzzing: a long year once overflowed while being read.
  EXPECT_TRUE(Date::fromDmyText("1/1/5133333333333").empty());
  EXPECT_TRUE(Date::fromDmyText("999999999999/1/2000").empty());
}

TEST(CsvTest, QuotesOnlyWhatASpreadsheetWouldSplitOrTrim) {
  EXPECT_EQ(csvField("plain"), "plain");
  EXPECT_EQ(csvField(""), "");
  EXPECT_EQ(csvField("O'Dowell, Jack"), "\"O'Dowell, Jack\"");
  EXPECT_EQ(csvField("The \"Kiwi\" Family"), "\"The \"\"Kiwi\"\" Family\"");
  EXPECT_EQ(csvField("  EXAM"), "\"  EXAM\"");
  EXPECT_EQ(csvField("tail\t"), "\"tail\t\"");
  EXPECT_EQ(csvField("two\r\nlines"), "\"two\r\nlines\"");
  EXPECT_EQ(csvField("M\xc3\xa4ori"), "M\xc3\xa4ori") << "bytes beyond ASCII pass as they are";
}

TEST(CsvTest, CellsForTheOfficeNeverBecomeFormulasOrCarryControlBytes) {
  const std::pair<std::string, std::string> rows[] = {
      {"=cmd|' /C calc'!A0", "\"'=cmd|' /C calc'!A0\""},
      {"=HYPERLINK(\"http://x\",\"y\")", "\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\""},
      {"+64 21 555", "\"'+64 21 555\""},
      {"-2+3", "\"'-2+3\""},
      {"@SUM(A1)", "\"'@SUM(A1)\""},
      {"\t=1", "\"'\t=1\""},
      {"\r=1", "\"'\r=1\""},
      {std::string("\0=1", 3), "\"'=1\""},  // what is left once the NUL is dropped is still a formula
      {"Smith\x1b[2J\x7f family", "Smith[2J family"},
      {"a=b, c", "\"a=b, c\""},
      {"", ""},
  };
  for (const auto& [value, cell] : rows) EXPECT_EQ(csvCell(value), cell) << value;
}
