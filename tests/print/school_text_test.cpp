// The school's text between its code page and Unicode: round trips in every
// listed code page, the letters a school writes, refusals, and the plain-text
// device writing in the code page.
#include <gtest/gtest.h>

#include "print/char_device.h"
#include "qtcore/school_text.h"

using velmont::print::CharDevice;
using velmont::qtcore::SchoolText;

namespace {

std::string bytesOf(const QByteArray& b) { return std::string(b.constData(), size_t(b.size())); }

}  // namespace

TEST(SchoolTextTest, EveryDefinedByteRoundTripsInTheListedCodePages) {
  for (int cp : {437, 850, 852, 865, 866, 1250, 1251, 1252}) {
    const SchoolText& t = SchoolText::of(cp);
    ASSERT_TRUE(t.valid()) << cp;
    int defined = 0;
    for (int b = 0; b < 256; ++b) {
      const std::string one(1, char(b));
      const QString shown = t.decode(one);
      ASSERT_EQ(shown.size(), 1);
      if (shown[0] == QChar(0xFFFD)) continue;  // a byte the code page leaves undefined
      ++defined;
      std::string back;
      ASSERT_TRUE(t.encode(shown, back)) << cp << " byte " << b;
      EXPECT_EQ(back, one) << cp << " byte " << b;
    }
    EXPECT_GE(defined, 251) << cp;  // 1252 leaves five bytes undefined, the DOS code pages none
  }
}

TEST(SchoolTextTest, NationalLettersAsEachCodePageStoresThem) {
  const QString zoe = QString::fromUtf8("Zoë Müller-Upton, Économie et Français");
  std::string in850, in1252;
  ASSERT_TRUE(SchoolText::of(850).encode(zoe, in850));
  ASSERT_TRUE(SchoolText::of(1252).encode(zoe, in1252));
  EXPECT_EQ(in850.substr(0, 10), "Zo\x89 M\x81ller");
  EXPECT_EQ(in1252.substr(0, 10), "Zo\xEB M\xFCller");
  EXPECT_EQ(SchoolText::of(850).decode(in850), zoe);
  EXPECT_EQ(SchoolText::of(1252).decode(in1252), zoe);
  // Cyrillic and Central European letters.
  std::string cyr;
  ASSERT_TRUE(SchoolText::of(866).encode(QString::fromUtf8("Зоя"), cyr));
  EXPECT_EQ(cyr, "\x87\xAE\xEF");
  EXPECT_EQ(SchoolText::of(1251).decode("\xC7\xEE\xFF"), QString::fromUtf8("Зоя"));
  EXPECT_EQ(SchoolText::of(852).decode("\xA5"), QString::fromUtf8("ą"));
  EXPECT_EQ(SchoolText::of(1250).decode("\xB9"), QString::fromUtf8("ą"));
  // The card's box character is a line in the DOS code pages.
  EXPECT_EQ(SchoolText::of(850).decode("\xC4"), QString(QChar(0x2500)));
  EXPECT_EQ(SchoolText::of(437).decode("\xC4"), QString(QChar(0x2500)));
}

TEST(SchoolTextTest, ACharacterTheCodePageCannotHoldIsRefusedAndNamed) {
  const SchoolText& dos = SchoolText::of(850);
  const QString typed = QString::fromUtf8("Łucja");
  std::string out = "unchanged";
  EXPECT_FALSE(dos.encode(typed, out));
  EXPECT_EQ(out, "unchanged") << "nothing is stored as a substitute";
  EXPECT_EQ(dos.refusedCharacter(typed), QString::fromUtf8("Ł"));
  EXPECT_EQ(dos.refusalMessage(dos.refusedCharacter(typed)),
            QString::fromUtf8("The character \"Ł\" (U+0141) cannot be stored in the school's code page 850."));
  EXPECT_TRUE(SchoolText::of(1250).refusedCharacter(typed).isEmpty());
  EXPECT_EQ(SchoolText::of(1252).refusedCharacter(QString::fromUtf8("€ ok 😀")), QString::fromUtf8("😀"));
  // Unknown code pages convert ASCII only.
  EXPECT_FALSE(SchoolText::of(12345).valid());
  EXPECT_EQ(SchoolText::of(12345).decode("abc\xE9"), QString::fromUtf8("abc\uFFFD"));
}

TEST(SchoolTextTest, CapitalsAndProperNamesIncludeNationalLetters) {
  const SchoolText& dos = SchoolText::of(850);
  // "müller-éa" in 850, in capitals: ü 0x81 -> Ü 0x9A, é 0x82 -> É 0x90.
  EXPECT_EQ(dos.upperCase("m\x81ller-\x82" "a"), "M\x9ALLER-\x90" "A");
  // "ZOË" stored in capitals prints as "Zoë" where # stands for the name.
  EXPECT_EQ(dos.properCase("ZO\xD3 M\x9ALLER"), "Zo\x89 M\x81ller");
  EXPECT_EQ(SchoolText::of(1252).properCase("JOS\xC9 O'NEIL"), "Jos\xE9 O'neil");
  // 850 has ÿ but not Ÿ: the letter stays.
  EXPECT_EQ(dos.upperCase("\x98"), "\x98");
}

TEST(SchoolTextTest, SideTableTextIsCarriedIntoTheSchoolsCodePage) {
  EXPECT_EQ(SchoolText::of(1252).transcode("\x90L\xD4VE:", SchoolText::of(850)), "\xC9L\xC8VE:");
  EXPECT_EQ(SchoolText::of(850).transcode("abc", SchoolText::of(850)), "abc");
}

TEST(SchoolTextTest, PlainTextGoesOutInTheCodePageOrInUtf8) {
  const QString line = QString::fromUtf8("Zoë ") + QChar(0x2500) + QString::fromUtf8(" Łucja");
  CharDevice dos;
  dos.setCodePage(850);
  dos.write(line);
  dos.close();
  EXPECT_EQ(bytesOf(dos.output()), "Zo\x89 \xC4 ?ucja\n") << "the box line stays a line; Ł has no byte";

  CharDevice windows;
  windows.setCodePage(1252);
  windows.write(line);
  windows.close();
  EXPECT_EQ(bytesOf(windows.output()), "Zo\xEB - ?ucja\n") << "1252 has no box line: a dash stands in";

  CharDevice utf8;
  utf8.write(line);
  utf8.close();
  EXPECT_EQ(QString::fromUtf8(utf8.output()), line + "\n");
}
