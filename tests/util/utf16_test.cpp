#include "util/utf16.h"

#include <gtest/gtest.h>

#include "util/cp932.h"

namespace tavrin {
namespace {

// Wide text from the clipboard and back: whatever CP932 cannot hold keeps
// its identity through the engine's text.
TEST(Utf16, RoundTripsEveryKindOfCharacter) {
  const struct {
    const char* name;
    std::u16string text;
  } kCases[] = {
      {"empty", u""},
      {"ascii and crlf", u"abc\r\nxyz\t1"},
      {"kana and kanji", u"カタカナ かな 漢字 ｶﾀｶﾅ"},
      {"outside cp932", u"café é ü"},
      {"wave dash twin", u"\u301C\uFF5E"},
      {"pair for U+20BB7", u"\U00020BB7野家"},
      {"emoji", u"\U0001F600!"},
      {"nul inside", std::u16string(u"a\0b", 3)},
  };
  for (const auto& c : kCases) {
    std::size_t replaced = 99;
    const std::string sjis = SjisFromUtf16(c.text, &replaced);
    EXPECT_EQ(replaced, 0u) << c.name;
    EXPECT_EQ(Utf16FromSjis(sjis), c.text) << c.name;
  }
}

TEST(Utf16, CodecBytesForJapaneseAreCp932) {
  EXPECT_EQ(SjisFromUtf16(u"文字列"), cp932::Sjis("文字列"));
  EXPECT_EQ(SjisFromUtf16(u"ｱ"), "\xB1");
}

TEST(Utf16, LoneSurrogatesAreReplacedAndCounted) {
  const struct {
    const char* name;
    std::u16string text;
    std::string sjis;
    std::size_t replaced;
  } kCases[] = {
      {"high at end", u"a\xD800", "a?", 1},
      {"low alone", u"\xDC00z", "?z", 1},
      {"high before non-low",
       u"\xD83D"
       u"a",
       "?a", 1},
      {"two lows", u"\xDC00\xDC01", "??", 2},
      {"reversed pair", u"\xDE00\xD83D", "??", 2},
  };
  for (const auto& c : kCases) {
    std::size_t replaced = 0;
    EXPECT_EQ(SjisFromUtf16(c.text, &replaced), c.sjis) << c.name;
    EXPECT_EQ(replaced, c.replaced) << c.name;
  }
}

TEST(Utf16, Utf8PathsWidenAndNarrow) {
  const struct {
    const char* name;
    std::string utf8;
    std::u16string wide;
  } kCases[] = {
      {"ascii", "C:\\Tavrin\\tavrin.ini", u"C:\\Tavrin\\tavrin.ini"},
      {"japanese", "顧客データ.txt", u"顧客データ.txt"},
      {"supplementary", "\xF0\xA0\xAE\xB7", u"\U00020BB7"},
      // Each byte of an ill-formed sequence gives one U+FFFD.
      {"stray continuation", "a\x80z", u"a\uFFFDz"},
      {"truncated lead", "a\xE3\x81", u"a\uFFFD\uFFFD"},
      {"overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(Utf16FromUtf8(c.utf8), c.wide) << c.name;
  }
  EXPECT_EQ(Utf8FromUtf16(u"顧客\U00020BB7.txt"), "顧客\xF0\xA0\xAE\xB7.txt");
  EXPECT_EQ(Utf8FromUtf16(u"a\xD800"), "a\xEF\xBF\xBD");
}

}  // namespace
}  // namespace tavrin
