#include "engine/char_folding.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <set>

#include "tests/engine/fold_reference.h"
#include "util/cp932.h"

namespace tavrin {
namespace {

using cp932::Sjis;

std::string Two(unsigned v) { return {char(v >> 8), char(v & 0xFF)}; }

std::string KeyFold(std::string_view s, bool hyphens) {
  std::string out(s.size(), '\0');
  out.resize(FoldKeyInto(s, hyphens, out.data()));
  return out;
}

TEST(FoldTables, HoldTheListedPairs) {
  ASSERT_EQ(WidthTable().size(), 269u);
  ASSERT_EQ(SmallKanaTable().size(), 27u);
  std::set<std::string_view> sources;
  for (const TFoldPair& p : WidthTable()) {
    EXPECT_EQ(p.Source.size(), 2u);
    EXPECT_TRUE(IsLeadByte(static_cast<unsigned char>(p.Source[0])));
    EXPECT_FALSE(HasDoubleByteCharacter(p.Replacement)) << "a replacement never holds a lead byte";
    EXPECT_TRUE(p.Replacement.size() == 1 || p.Replacement.size() == 2);
    sources.insert(p.Source);
  }
  EXPECT_EQ(sources.size(), 268u) << "only the voiced mark is listed twice";
  // Spot checks, one per class, against the bytes as listed.
  EXPECT_EQ(WidthTable()[0].Source, "\x82\x60");
  EXPECT_EQ(WidthTable()[0].Replacement, "A");
  EXPECT_EQ(WidthTable()[93].Source, "\x81\x40");  // full-width space, last symbol
  EXPECT_EQ(WidthTable()[93].Replacement, " ");
  EXPECT_EQ(WidthTable()[268].Source, Sjis("ヱ"));
  EXPECT_EQ(WidthTable()[268].Replacement, Sjis("ｴ"));
  EXPECT_EQ(SmallKanaTable()[26].Source, "\xD6");
  EXPECT_EQ(SmallKanaTable()[26].Replacement, "\xAE");
}

struct FoldCase {
  const char* name;
  std::string (*fold)(std::string_view);
  const char* in;   // UTF-8, converted to CP932
  const char* out;  // UTF-8, converted to CP932
};

// CP932 bytes as C++ would write them: printable ASCII as it is, every
// other byte, and both bytes of a double-byte character, as \xNN, so that a
// parameter reads as its case in the list.
void PrintBytes(std::string_view bytes, std::ostream* os) {
  static const char digits[] = "0123456789ABCDEF";
  *os << '"';
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    const bool pair = IsLeadByte(b) && i + 1 < bytes.size();
    if (!pair && b >= 0x20 && b < 0x7F && b != '"' && b != '\\') {
      *os << char(b);
      continue;
    }
    *os << "\\x" << digits[b >> 4] << digits[b & 0xF];
    if (!pair) continue;
    const auto t = static_cast<unsigned char>(bytes[++i]);
    *os << "\\x" << digits[t >> 4] << digits[t & 0xF];
  }
  *os << '"';
}

// The printers gtest uses for a parameter ("GetParam() = ..." in the test
// list and in failures): its name and texts, not the struct's raw bytes.
void PrintTo(const FoldCase& c, std::ostream* os) {
  *os << c.name << ": \"" << c.in << "\" -> \"" << c.out << '"';
}

class FoldExamples : public testing::TestWithParam<FoldCase> {};

TEST_P(FoldExamples, GiveTheListedResult) {
  EXPECT_EQ(GetParam().fold(Sjis(GetParam().in)), Sjis(GetParam().out));
}

INSTANTIATE_TEST_SUITE_P(
    Folding, FoldExamples,
    testing::Values(FoldCase{"WidthKeepsSingleBytes", FoldWidth, "ｱｲｳabc", "ｱｲｳabc"},
                    FoldCase{"WidthKatakana", FoldWidth, "ガッコウ", "ｶﾞｯｺｳ"},
                    FoldCase{"WidthHiragana", FoldWidth, "がっこう", "ｶﾞｯｺｳ"},
                    FoldCase{"CaseSmallOfWidth", FoldCaseAndSmallKana, "ｶﾞｯｺｳ", "ｶﾞｯｺｩ"},
                    FoldCase{"WidthSmallYo", FoldWidth, "キョウ", "ｷｮｳ"},
                    FoldCase{"SmallFoldsLargeYo", FoldCaseAndSmallKana, "ｷﾖｳ", "ｷｮｩ"},
                    FoldCase{"WidthLettersDigitsSpace", FoldWidth, "ＡＢＣａｂｃ０１　",
                             "ABCabc01 "},
                    FoldCase{"WidthVoicedAndSemiVoiced", FoldWidth, "ヴぱゐヱ゛゜", "ｳﾞﾊﾟｲｴﾞﾟ"},
                    FoldCase{"WidthLeavesUnlisted", FoldWidth, "“漢ヵヶヮゎ＼Α", "“漢ヵヶヮゎ＼Α"},
                    FoldCase{"WidthMarks", FoldWidth, "ー‘「」、。・～", "ｰ`｢｣､｡･~"},
                    FoldCase{"HyphensFoldBothMarks", FoldHyphens, "ﾃﾞｰﾀｰ", "ﾃﾞ-ﾀ-"},
                    FoldCase{"HyphensKeepHyphen", FoldHyphens, "ﾃﾞ-ﾀ", "ﾃﾞ-ﾀ"},
                    FoldCase{"HyphensDoubleByteMark", FoldHyphens, "データー", "デ-タ-"},
                    FoldCase{"CaseFullWidthLatin", FoldCaseAndSmallKana, "ＡＢＣABC", "ａｂｃabc"},
                    FoldCase{"CaseGreekCyrillic", FoldCaseAndSmallKana, "ΑΩЯ", "αωя"},
                    FoldCase{"CaseKanaSmall", FoldCaseAndSmallKana, "あツヨｱﾂ", "ぁッョｧｯ"},
                    FoldCase{"EmptyWidth", FoldWidth, "", ""},
                    FoldCase{"EmptyCase", FoldCaseAndSmallKana, "", ""},
                    FoldCase{"EmptyHyphens", FoldHyphens, "", ""}),
    [](const auto& info) { return info.param.name; });

TEST(Folding, NeverActsOnATrailByte) {
  EXPECT_EQ(FoldCaseAndSmallKana("\x83\x4A"), "\x83\x4A");  // カ: trail 0x4A is "J"
  EXPECT_EQ(FoldCaseAndSmallKana("\x82\xB1"), "\x82\xB1");  // こ: trail 0xB1 is ｱ
  EXPECT_EQ(FoldHyphens("\x93\xB0"), "\x93\xB0");           // 堂: trail 0xB0 is ｰ
  // A lead byte before a listed source swallows its first byte.
  EXPECT_EQ(FoldWidth("\x88\x82\x60"), "\x88\x82\x60");
}

TEST(Folding, LowerCasesOnlyToCodesCp932Picks) {
  EXPECT_EQ(FoldCaseAndSmallKana("\x87\x54"), "\xFA\x40");  // NEC Roman numeral one
  EXPECT_EQ(FoldCaseAndSmallKana("\xFA\x4A"), "\xFA\x40");  // its IBM duplicate
  EXPECT_EQ(FoldCaseAndSmallKana("\xEE\xEF"), "\xEE\xEF");  // lower-case duplicate stays as written
  EXPECT_EQ(FoldCaseAndSmallKana("\x81\xF0"),
            "\x81\xF0");  // Angstrom sign: lower form not in CP932
}

TEST(Folding, ArbitraryBytesAreDefined) {
  // A final lone lead byte is one character; NUL and invalid trail bytes
  // pair with the lead byte before them.
  EXPECT_EQ(FoldWidth("A\x82"), "A\x82");
  EXPECT_EQ(FoldCaseAndSmallKana("A\x82"), "a\x82");
  EXPECT_EQ(FoldWidth(std::string("\x82\x00\x82\x60", 4)), std::string("\x82\x00"
                                                                       "A",
                                                                       3));
  EXPECT_EQ(FoldCaseAndSmallKana(std::string("\0A", 2)), std::string("\0a", 2));
  EXPECT_EQ(FoldWidth("\x81\x0A\x81\x40"), "\x81\x0A ");
  EXPECT_EQ(FoldHyphens("\xFF\xB0\x80"), "\xFF-\x80");
}

// Every two-byte value, as a string of its own: the lookups give what the
// pairs applied one by one give, folding twice equals folding once, and
// single-byte characters stay single while double-byte ones become either
// single bytes (width) or one double-byte character (case and size).
TEST(FoldingSweep, AllTwoByteValues) {
  for (unsigned v = 0; v < 0x10000; ++v) {
    const std::string s = Two(v);
    const std::string w = FoldWidth(s), c = FoldCaseAndSmallKana(s), h = FoldHyphens(s);
    ASSERT_EQ(w, test::ReferenceFoldWidth(s)) << std::hex << v;
    ASSERT_EQ(c, test::ReferenceFoldCase(s)) << std::hex << v;
    ASSERT_EQ(h, test::ReferenceFoldHyphens(s)) << std::hex << v;
    ASSERT_EQ(FoldWidth(w), w) << std::hex << v;
    ASSERT_EQ(FoldCaseAndSmallKana(c), c) << std::hex << v;
    ASSERT_EQ(FoldHyphens(h), h) << std::hex << v;
    ASSERT_EQ(KeyFold(s, true), FoldHyphens(w)) << std::hex << v;
    ASSERT_EQ(KeyFold(s, false), FoldCaseAndSmallKana(w)) << std::hex << v;
    if (IsLeadByte(static_cast<unsigned char>(v >> 8))) {
      ASSERT_TRUE(w == s || !HasDoubleByteCharacter(w) || !cp932::FoldTwin(v).empty())
          << std::hex << v;
      ASSERT_EQ(c.size(), 2u) << std::hex << v;
      ASSERT_TRUE(IsLeadByte(static_cast<unsigned char>(c[0])) || c == s) << std::hex << v;
    } else {
      ASSERT_EQ(w, s);
      ASSERT_EQ(c.size(), 2u);
      ASSERT_EQ(HasDoubleByteCharacter(c), HasDoubleByteCharacter(s)) << std::hex << v;
    }
  }
}

// Longer random texts mixing listed characters, their trail-byte look-alikes
// and stray lead bytes.
TEST(FoldingSweep, RandomTextsMatchThePairByPairProcedure) {
  std::mt19937 rng(7);
  const std::string pieces[] = {"\x82",     "\x81", "\x40",     "\x60",     "\xB0",     "\xB1",
                                "A",        " ",    "\x83\x41", "\x81\x5B", "\x81\x4A", "\x82\xA0",
                                "\x83\x94", "\x00", "\xEF\x40", "\x85\x40"};
  for (int round = 0; round < 3000; ++round) {
    std::string s;
    for (int k = std::uniform_int_distribution<>(0, 12)(rng); k > 0; --k)
      s += pieces[std::uniform_int_distribution<std::size_t>(0, std::size(pieces) - 1)(rng)];
    ASSERT_EQ(FoldWidth(s), test::ReferenceFoldWidth(s));
    ASSERT_EQ(FoldCaseAndSmallKana(s), test::ReferenceFoldCase(s));
    ASSERT_EQ(FoldHyphens(s), test::ReferenceFoldHyphens(s));
    ASSERT_EQ(KeyFold(s, true), FoldHyphens(FoldWidth(s)));
    ASSERT_EQ(KeyFold(s, false), FoldCaseAndSmallKana(FoldWidth(s)));
  }
}

struct TrimCase {
  const char* name;
  std::string in;
  std::string out;
};

void PrintTo(const TrimCase& c, std::ostream* os) {
  *os << c.name << ": ";
  PrintBytes(c.in, os);
  *os << " -> ";
  PrintBytes(c.out, os);
}

class TrimBlanksExamples : public testing::TestWithParam<TrimCase> {};

TEST_P(TrimBlanksExamples, Trim) {
  EXPECT_EQ(TrimBlanks(GetParam().in), GetParam().out);
  EXPECT_EQ(TrimBlanksView(GetParam().in), GetParam().out);
}

const std::string kFw = "\x81\x40";  // full-width space

INSTANTIATE_TEST_SUITE_P(
    Trim, TrimBlanksExamples,
    testing::Values(TrimCase{"Empty", "", ""},
                    TrimCase{"OnlyBlanks", " " + kFw + "\t\r\n" + kFw, ""},
                    TrimCase{"BothKindsAtBothEnds", kFw + "\x82\x60\x82\x61\x82\x62" + kFw + " ",
                             "\x82\x60\x82\x61\x82\x62"},
                    // The tab is trimmed only after the outer full-width space went, so
                    // the inner one stays.
                    TrimCase{"ControlBetweenBlanks", "X" + kFw + "\t" + kFw, "X" + kFw},
                    // 0x81 0x40 at the end is the trail byte of ａ followed by "@".
                    TrimCase{"TrailByteLookAlike", "\x82\x81\x40", "\x82\x81\x40"},
                    TrimCase{"InnerBlanksStay", " a " + kFw + "b ", "a " + kFw + "b"},
                    TrimCase{"ControlsAroundText",
                             std::string("\0\x1F"
                                         "ab\x01",
                                         5),
                             "ab"},
                    TrimCase{"LoneLeadAtEnd", kFw + "X\x81", "X\x81"},
                    TrimCase{"LeadBeforeSpace", "X\x81 ", "X\x81"},
                    TrimCase{"NulInside", std::string("a\0b", 3), std::string("a\0b", 3)}),
    [](const auto& info) { return info.param.name; });

TEST(HasDoubleByteCharacter, LooksForLeadBytes) {
  EXPECT_FALSE(HasDoubleByteCharacter(""));
  EXPECT_FALSE(HasDoubleByteCharacter("abc\xA1\xDF\x80\xA0\xFD"));
  EXPECT_TRUE(HasDoubleByteCharacter("abc\x81"));
  EXPECT_TRUE(HasDoubleByteCharacter("\xFC\x40"));
}

TEST(IsCharacterStart, CountsLeadBytesBack) {
  const std::string s = "a\x81\x81\x81\x40";  // a, 0x8181, 0x8140
  EXPECT_TRUE(IsCharacterStart(s, 0));
  EXPECT_TRUE(IsCharacterStart(s, 1));
  EXPECT_FALSE(IsCharacterStart(s, 2));
  EXPECT_TRUE(IsCharacterStart(s, 3));
  EXPECT_FALSE(IsCharacterStart(s, 4));
  EXPECT_TRUE(IsCharacterStart(s, 5));
}

// The codec's internal sequences are one character: nothing inside is folded
// or trimmed, and positions inside are no character starts. An escaped 0x8540
// from CP932 input would otherwise fold as the 〜 twin ～.
TEST(Folding, InternalSequencesAreWholeCharacters) {
  const std::string sequences[] = {cp932::FromCp932("\x85\x40"), cp932::FromCp932("\x85\x49"),
                                   cp932::FromUtf8("\U0001F0B0").bytes,
                                   cp932::FromUtf8("\u0100").bytes};
  for (const std::string& q : sequences) {
    const std::string text = "\x81\x40" + q + "\x81\x40";
    EXPECT_EQ(FoldWidth(text), " " + q + " ") << q;
    EXPECT_EQ(FoldHyphens(q), q) << q;
    EXPECT_EQ(TrimBlanks(text), q) << q;
    for (std::size_t p = 1; p < q.size(); ++p)
      EXPECT_FALSE(IsCharacterStart(text, 2 + p)) << q << p;
    EXPECT_TRUE(IsCharacterStart(text, 2 + q.size()));
  }
}

// Characters the clipboard writes with other code points than CP932 fold as
// their CP932 twins, so a typed 〜 meets ～ and a decomposed ガ meets ガ.
TEST(Folding, FixedCodesFoldAsTheirTwins) {
  const std::string waveDash = cp932::FromUtf8("\u301C").bytes;
  EXPECT_EQ(FoldWidth(waveDash), FoldWidth("\x81\x60"));
  EXPECT_EQ(FoldWidth(waveDash), "~");
  const std::string decomposedGa = cp932::FromUtf8("\u30AB\u3099").bytes;
  EXPECT_EQ(FoldWidth(decomposedGa), FoldWidth("\x83\x4B"));  // ガ
  EXPECT_EQ(FoldWidth(cp932::FromUtf8("\u203E").bytes), "~");
  EXPECT_EQ(cp932::ToUtf8(waveDash), "\u301C");  // the text itself keeps its character
}

}  // namespace
}  // namespace tavrin
