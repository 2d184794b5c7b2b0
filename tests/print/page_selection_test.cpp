// Page lists as users type them: the pages a list names in a run of a given
// length, what it names past the end, and clear words for a list that is wrong.
#include <gtest/gtest.h>

#include "print/page_selection.h"

namespace velmont::print {
namespace {

std::vector<int> pages(const std::string& list, int count) {
  std::string why;
  const auto s = PageSelection::parse(list, &why);
  EXPECT_TRUE(s) << list << ": " << why;
  return s ? s->pagesOf(count) : std::vector<int>{};
}

std::string refusal(const std::string& list) {
  std::string why;
  EXPECT_FALSE(PageSelection::parse(list, &why)) << list;
  return why;
}

TEST(PageSelectionTest, SinglePagesRangesAndOpenRangesInPageOrderEachOnce) {
  EXPECT_EQ(pages("1-3,5,8-", 10), (std::vector<int>{1, 2, 3, 5, 8, 9, 10}));
  EXPECT_EQ(pages(" 5 , 1 - 2 ", 10), (std::vector<int>{1, 2, 5}));
  EXPECT_EQ(pages("-3", 10), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(pages("2-4,3-6,4", 10), (std::vector<int>{2, 3, 4, 5, 6}));
  EXPECT_EQ(pages("7", 7), (std::vector<int>{7}));
  EXPECT_EQ(pages("1-", 1), (std::vector<int>{1}));
}

TEST(PageSelectionTest, PagesPastTheEndAreNamedAndTheRestPrinted) {
  const auto s = PageSelection::parse("1-3,5,8-12,20-", nullptr);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->pagesOf(9), (std::vector<int>{1, 2, 3, 5, 8, 9}));
  EXPECT_EQ(s->missingText(9), "10-12, 20 onwards");
  EXPECT_EQ(s->missingText(4), "5, 8-12, 20 onwards");
  EXPECT_EQ(s->missingText(25), "");
  EXPECT_EQ(PageSelection::parse("3,4,5-", nullptr)->missingText(2), "3 onwards");  // parts that touch merge
  EXPECT_TRUE(PageSelection::parse("50", nullptr)->pagesOf(12).empty());
}

TEST(PageSelectionTest, AWrongListIsRefusedWithWhatIsWrong) {
  EXPECT_EQ(refusal(""), "no pages given (for example 1-3,5,8-)");
  EXPECT_EQ(refusal("5-3"), "\"5-3\": the first page comes after the last");
  EXPECT_EQ(refusal("0"), "\"0\" is not a page number (pages count from 1)");
  EXPECT_EQ(refusal("1,,3"), "an empty item between commas in \"1,,3\"");
  EXPECT_EQ(refusal("1-3,"), "an empty item between commas in \"1-3,\"");
  EXPECT_EQ(refusal("a"), "\"a\" is not a page number (pages count from 1)");
  EXPECT_EQ(refusal("2-x"), "\"2-x\" is not a page or a range of pages (pages count from 1)");
  EXPECT_EQ(refusal("1--3"), "\"1--3\" is not a page or a range of pages (pages count from 1)");
  EXPECT_EQ(refusal("-"), "\"-\" names no page");
  EXPECT_EQ(refusal("99999999999"), "\"99999999999\" is not a page number (pages count from 1)");
}

TEST(PageSelectionTest, PagesAreWrittenBackAsAList) {
  EXPECT_EQ(PageSelection::describe({1, 2, 3, 5, 8, 9}), "1-3, 5, 8-9");
  EXPECT_EQ(PageSelection::describe({4}), "4");
  EXPECT_EQ(PageSelection::describe({}), "");
}

}  // namespace
}  // namespace velmont::print
