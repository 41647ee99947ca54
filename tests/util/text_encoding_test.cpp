#include "util/text_encoding.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "util/cp932.h"

namespace tavrin {
namespace {

using cp932::Sjis;
using namespace std::string_literals;
constexpr auto kCp932 = TTextEncoding::Cp932;
constexpr auto kUtf8 = TTextEncoding::Utf8;

// Text without a BOM that reads in both encodings goes to the reading that
// gives the likelier characters.
TEST(RecognisedEncoding, WeighsBothReadings) {
  const struct {
    const char* name;
    std::string bytes;
    std::optional<TTextEncoding> expected;
  } cases[] = {
      // Each pair of half-width kana here is also one UTF-8 letter (ﾐｷ is з).
      {"half-width names, valid UTF-8", Sjis("ﾐｷ\r\nﾅｶ\r\nﾋｻﾋｺ\r\n"), kCp932},
      {"half-width names, eight pairs before an invalid one",
       Sjis("ﾐｷ\nﾅｶ\nﾐｷ\nﾅｶ\nﾐｷ\nﾅｶ\nﾐｷ\nﾅｶ\nﾀﾅｶ\n"), kCp932},
      {"half-width kana ending inside a UTF-8 letter", Sjis("ﾐｷ\nﾅｶ\nﾐ"), kCp932},
      {"kanji and kana", Sjis("東京都\r\nとうきょう\r\n"), kCp932},
      {"Japanese UTF-8", "データ\nﾃﾞｰﾀ\n", kUtf8},
      // Letters of other scripts in words, and signs beside ASCII, are UTF-8.
      {"accented Latin in a word", "Café\nMüller\n", kUtf8},
      {"Cyrillic word", "Иван\n", kUtf8},
      {"Greek letter before kanji", "α版\n", kUtf8},
      {"Latin-1 sign beside a digit", "25°C\n", kUtf8},
      {"lone Greek letter and kanji", "狩\nΨ\n", kUtf8},
      {"emoji", "ok 😀\n", kUtf8},
      {"ASCII reads alike", "abc\n", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(RecognisedEncoding(c.bytes), c.expected) << c.name;
}

// UTF-8 that the end cuts inside a character is refused as such, at the
// offset where that character starts; a fault elsewhere stays invalid.
TEST(DecodeText, Utf8CutAtTheEnd) {
  const struct {
    const char* name;
    std::string bytes;
    std::optional<TTextEncoding> forced;
    std::size_t offset, line;
    bool cut;
  } cases[] = {
      {"recognised, one byte left of three", "ユニット\nﾕﾆｯﾄ\nユニッ\xE3", std::nullopt, 35, 3,
       true},
      {"recognised, two bytes left of three", "ユニット\nユニッ\xE3\x83", std::nullopt, 22, 2,
       true},
      {"named, four-byte character", "a\n\xF0\x9F\x98", kUtf8, 2, 2, true},
      {"lead of E0 needs A0 and above", "ユニット\n\xE0\x80", kUtf8, 13, 2, false},
      {"invalid byte before the end", "ユニット\n\xE3\x83\n", kUtf8, 13, 2, false},
      {"cut before a NUL is no end", "ユニット\n\xE3\x83\0"s, kUtf8, 13, 2, false},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(c.forced.value_or(RecognisedEncoding(c.bytes).value_or(kCp932)), kUtf8) << c.name;
    const TDecodedText d = DecodeText(c.bytes, c.forced);
    EXPECT_EQ(d.ErrorOffset, c.offset) << c.name;
    EXPECT_EQ(d.ErrorLine, c.line) << c.name;
    EXPECT_EQ(d.ErrorIsCut, c.cut) << c.name;
    EXPECT_TRUE(d.Text.empty()) << c.name;
  }
}

}  // namespace
}  // namespace tavrin
