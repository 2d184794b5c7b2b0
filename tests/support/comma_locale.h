#pragma once
// Puts the C library in a locale whose decimal point is a comma (as a school
// office's Windows or a Linux desktop may be set) for one test, and back to "C"
// afterwards; the test is skipped where the system has no such locale.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace velmont::testing {

class CommaLocaleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"German_Germany.1252", "de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "nl_NL.UTF-8"}) {
      if (std::setlocale(LC_ALL, name) && std::string(std::localeconv()->decimal_point) == ",") return;
    }
    std::setlocale(LC_ALL, "C");
    GTEST_SKIP() << "no locale with a decimal comma on this system";
  }
  void TearDown() override { std::setlocale(LC_ALL, "C"); }
};

}  // namespace velmont::testing
