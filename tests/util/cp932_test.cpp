#include "util/cp932.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "util/cp932_table.h"
#include "util/parallel.h"
#include "util/sjis.h"

namespace tavrin::cp932 {
namespace {

std::string Bytes(unsigned code) {
  return code < 0x100 ? std::string(1, char(code))
                      : std::string{char(code >> 8), char(code & 0xFF)};
}

std::string Utf8(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += {char(0xC0 | c >> 6), char(0x80 | (c & 0x3F))};
  } else if (c < 0x10000) {
    out += {char(0xE0 | c >> 12), char(0x80 | (c >> 6 & 0x3F)), char(0x80 | (c & 0x3F))};
  } else {
    out += {char(0xF0 | c >> 18), char(0x80 | (c >> 12 & 0x3F)), char(0x80 | (c >> 6 & 0x3F)),
            char(0x80 | (c & 0x3F))};
  }
  return out;
}

std::map<unsigned, char32_t> DecodeTable() {
  std::map<unsigned, char32_t> m;
  for (std::size_t i = 0; i < table::kDecodeSize; ++i)
    m[table::kDecode[i].first] = table::kDecode[i].second;
  return m;
}

bool IsUnassigned(std::string_view bytes) {
  if (bytes.size() != 2) return false;
  const unsigned char lead = static_cast<unsigned char>(bytes[0]);
  return std::find(std::begin(kUnassignedLeadBytes), std::end(kUnassignedLeadBytes), lead) !=
         std::end(kUnassignedLeadBytes);
}

// Every assigned code decodes to its character and encodes back to itself,
// unless it is a duplicate, in which case it encodes to the code the table
// picks, which decodes to the same character.
TEST(Cp932, EveryCodeRoundTrips) {
  std::map<char32_t, unsigned> pick;
  for (std::size_t i = 0; i < table::kEncodeSize; ++i)
    pick[table::kEncode[i].first] = table::kEncode[i].second;
  std::size_t duplicates = 0;
  for (const auto& [code, character] : DecodeTable()) {
    const std::string utf8 = ToUtf8(Bytes(code));
    ASSERT_EQ(utf8, Utf8(character)) << std::hex << code;
    const EncodeResult back = FromUtf8(utf8);
    EXPECT_EQ(back.replaced, 0u);
    ASSERT_EQ(back.bytes, Bytes(pick.at(character))) << std::hex << code;
    if (pick.at(character) != code) ++duplicates;
  }
  EXPECT_EQ(duplicates, table::kDecodeSize - table::kEncodeSize);
}

TEST(Cp932, DuplicatesEncodeAsCp932Picks) {
  struct Row {
    const char* name;
    unsigned code, picked;
  } const rows[] = {
      {"NEC row 13 symbol stays", 0x8790, 0x81E0},        // ≒ also in JIS row 2
      {"NEC row 13 because", 0x879A, 0x81E6},             // ∵
      {"NEC roman numeral stays", 0x8754, 0x8754},        // Ⅰ
      {"IBM roman numeral to NEC", 0xFA4A, 0x8754},       // Ⅰ
      {"IBM small roman numeral stays", 0xFA40, 0xFA40},  // ⅰ
      {"NEC-selected small roman to IBM", 0xEEEF, 0xFA40},
      {"NEC-selected kanji to IBM", 0xED40, 0xFA5C},  // 纊
      {"IBM not sign to JIS", 0xFA54, 0x81CA},        // ￢
      {"NEC-selected not sign to JIS", 0xEEF9, 0x81CA},
      {"IBM parenthesised kabu to NEC", 0xFA58, 0x878A},  // ㈱
      {"IBM broken bar stays", 0xFA55, 0xFA55},           // ￤
  };
  for (const Row& row : rows)
    EXPECT_EQ(FromUtf8(ToUtf8(Bytes(row.code))).bytes, Bytes(row.picked)) << row.name;
}

TEST(Cp932, SingleBytes) {
  for (unsigned b = 0; b < 0x80; ++b) {  // control codes, backslash and tilde included
    EXPECT_EQ(ToUtf8(Bytes(b)), Bytes(b)) << b;
    EXPECT_EQ(FromUtf8(Bytes(b)).bytes, Bytes(b)) << b;
  }
  EXPECT_EQ(ToUtf8("\xA1\xB1\xDF"), "\uFF61\uFF71\uFF9F");  // half-width katakana
  EXPECT_EQ(FromUtf8("\uFF76\uFF9E").bytes, "\xB6\xDE");
  EXPECT_EQ(ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
  // The five single bytes outside ASCII and the katakana, as Windows maps
  // them, both ways.
  const std::pair<std::string, std::string> windows[] = {{"\x80", "\u0080"},
                                                         {"\xA0", "\uF8F0"},
                                                         {"\xFD", "\uF8F1"},
                                                         {"\xFE", "\uF8F2"},
                                                         {"\xFF", "\uF8F3"}};
  for (const auto& [byte, utf8] : windows) {
    EXPECT_EQ(ToUtf8(byte), utf8) << utf8;
    EXPECT_EQ(FromUtf8(utf8).bytes, byte) << utf8;
    EXPECT_EQ(ToCp932(FromCp932(byte)).bytes, byte) << utf8;
  }
}

TEST(Cp932, FixedCodesKeepTheirCharacterAndFoldAsTheirTwin) {
  const std::map<unsigned, char32_t> decode = DecodeTable();
  const std::map<char32_t, char32_t> twinCharacter = {
      {U'\u301C', U'\uFF5E'}, {U'\u2212', U'\uFF0D'}, {U'\u2016', U'\u2225'},
      {U'\u2014', U'\u2015'}, {U'\u00A2', U'\uFFE0'}, {U'\u00A3', U'\uFFE1'},
      {U'\u00AC', U'\uFFE2'}, {U'\u00A5', U'\uFFE5'}, {U'\u203E', U'~'},
      {U'\u3099', U'\u309B'}, {U'\u309A', U'\u309C'}};
  ASSERT_EQ(std::size(kFixedCodes), twinCharacter.size());
  for (const FixedCode& f : kFixedCodes) {
    const std::string bytes = Bytes(f.code);
    EXPECT_TRUE(IsUnassigned(bytes));
    EXPECT_EQ(decode.count(f.code), 0u) << "fixed code collides with CP932";
    const EncodeResult r = FromUtf8(Utf8(f.character));
    EXPECT_EQ(r.bytes, bytes) << std::hex << unsigned(f.character);
    EXPECT_EQ(r.replaced, 0u);
    EXPECT_EQ(ToUtf8(bytes), Utf8(f.character));
    EXPECT_EQ(FoldTwin(f.code), f.twin);
    EXPECT_EQ(ToUtf8(f.twin), Utf8(twinCharacter.at(f.character)))
        << std::hex << unsigned(f.character);
    EXPECT_EQ(FromUtf8(Utf8(twinCharacter.at(f.character))).bytes, f.twin)
        << "twin is its own code";
  }
  EXPECT_EQ(FoldTwin(0x854B), "");
  EXPECT_EQ(FoldTwin(0x853F), "");
  EXPECT_EQ(FoldTwin(0x8160), "");
  EXPECT_EQ(FromUtf8("\u30AB\u3099").bytes, "\x83\x4A\x85\x49");  // カ + combining mark, not ガ
}

TEST(Cp932, UnrepresentableCharactersHaveFixedSequences) {
  EXPECT_EQ(FromUtf8("\U0001F600").bytes,
            "\xEF\x42\xEC\x7A\xEB\x40");  // plane 1, digits 0xF6, 0x00
  EXPECT_EQ(FromUtf8("\u00E9").bytes, "\xEF\x41\xEB\x40\xEC\x6D");
  EXPECT_EQ(CharLength(FromUtf8("\U0010FFFF").bytes, 0), 6u) << "the engine sees one character";
  EXPECT_LT(FromUtf8("\u00E9").bytes, FromUtf8("\U0001F600").bytes) << "sorted by scalar value";
}

// Every scalar value, whether CP932 has it or not, comes back as itself, and
// those outside CP932 each have their own form, one character long.
TEST(Cp932, SweepOfEveryScalarValue) {
  std::set<std::string> forms;
  std::string text, expected;
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    const std::string utf8 = Utf8(c);
    const EncodeResult r = FromUtf8(utf8);
    ASSERT_EQ(r.replaced, 0u) << std::hex << unsigned(c);
    ASSERT_EQ(ToUtf8(r.bytes), utf8) << std::hex << unsigned(c);
    ASSERT_EQ(CharLength(r.bytes, 0), r.bytes.size()) << std::hex << unsigned(c);
    if (r.bytes.size() == 6) {
      ASSERT_TRUE(forms.insert(r.bytes).second) << std::hex << unsigned(c);
    }
    if (c != '\n' && c >= 0x10000) text += utf8 + "\n";
  }
  EXPECT_EQ(forms.size(), 0x110000u - 0x800u - table::kEncodeSize - kFixedCodeCount);
  EXPECT_TRUE(ToUtf8(FromUtf8(text).bytes) == text);
}

// Codes of the unassigned rows read from CP932 input keep their bytes and
// are no internal form: 0x8540 is not 〜, so it does not fold as ～.
TEST(Cp932, UnassignedInputCodesAreEscaped) {
  const std::string raw = "\x85\x40\x81\x60\xEF\x41\xEB\x40\x86\xFC\x85 \xEF";
  const std::string text = FromCp932(raw);
  EXPECT_EQ(text,
            "\xEF\x40\x85\x40\x81\x60\xEF\x40\xEF\x41\xEF\x40\xEB\x40\xEF\x40\x86\xFC\x85 \xEF");
  EXPECT_EQ(ToCp932(text).bytes, raw);
  EXPECT_EQ(ToCp932(text).replaced, 0u);
  EXPECT_EQ(ToUtf8(FromCp932("\x85\x40")), "\uFFFD");
  EXPECT_EQ(FromCp932("\x82\xA0\x81\x85"), "\x82\xA0\x81\x85") << "0x85 as a trail byte";
  const EncodeResult lost = ToCp932(FromUtf8("a\U0001F600\u301C").bytes);
  EXPECT_EQ(lost.bytes, "a??");
  EXPECT_EQ(lost.replaced, 2u);
}

TEST(Cp932, MixedTextRoundTrips) {
  std::string text = "Line 1\r\n\t漢字ｶﾀｶﾅ①Ⅻ纊\\~\x7F\u00E9\U0001F600カ\u3099ハ\u309A";
  for (const FixedCode& f : kFixedCodes) text += Utf8(f.character) + "x";
  const EncodeResult r = FromUtf8(text);
  EXPECT_EQ(r.replaced, 0u);
  EXPECT_EQ(ToUtf8(r.bytes), text);
}

// The clipboard's UTF-16 gives the bytes of its UTF-8 form, whatever the
// width: every scalar value, between ASCII runs of 0 to 9 (the eight-unit
// steps end anywhere), and pairs only, where pieces would fall inside a pair;
// and every character CP932 holds, four times over, where no piece outgrows
// its region and the pieces move up in one buffer.
TEST(Cp932, FromUtf16GivesTheBytesOfFromUtf8) {
  std::u16string every, pairs, held;
  std::string everyUtf8, pairsUtf8, heldUtf8;
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    const std::string run(c % 10, 'a');
    everyUtf8 += Utf8(c) + run;
    if (c < 0x10000) {
      every += char16_t(c);
      if (FromUtf8(Utf8(c)).bytes.size() <= 2) held += char16_t(c), heldUtf8 += Utf8(c);
    } else {
      every +=
          {char16_t(0xD800 + ((c - 0x10000) >> 10)), char16_t(0xDC00 + ((c - 0x10000) & 0x3FF))};
    }
    every.append(run.begin(), run.end());
    if (c < 0x10000) held.append(run.begin(), run.end()), heldUtf8 += run;
  }
  for (int i = 0; i < 300001; ++i) pairs += u"😀", pairsUtf8 += "😀";
  for (int i = 0; i < 2; ++i) held += held, heldUtf8 += heldUtf8;
  for (const unsigned width : {1u, 2u, 3u}) {
    SetParallelWidth(width);
    const EncodeResult r = FromUtf16(every);
    EXPECT_TRUE(r.bytes == FromUtf8(everyUtf8).bytes) << width;
    EXPECT_EQ(r.replaced, 0u) << width;
    EXPECT_TRUE(FromUtf16(pairs).bytes == FromUtf8(pairsUtf8).bytes) << width;
    EXPECT_TRUE(FromUtf16(held).bytes == FromUtf8(heldUtf8).bytes) << width;
  }
  SetParallelWidth(0);
  EXPECT_EQ(FromUtf16(u"").bytes, "");
}

// Each piece is first written where its units take a byte (ASCII) or two:
// half-width kana take one of their two, so the pieces move up, and the
// last byte of each is its own. An earlier text's room, too small or
// larger, leaves none of its bytes behind.
TEST(Cp932, FromUtf16PiecesOfOneByteCodesMoveUp) {
  const std::u16string kana(600001, u'\uFF71');  // half-width ｱ
  for (const unsigned width : {1u, 2u, 3u}) {
    SetParallelWidth(width);
    for (const std::size_t room : {std::size_t{0}, std::size_t{10}, kana.size() * 3}) {
      const EncodeResult r = FromUtf16(kana, std::string(room, 'x'));
      EXPECT_TRUE(r.bytes == std::string(kana.size(), '\xB1')) << width << " " << room;
      EXPECT_EQ(r.bytes.c_str()[r.bytes.size()], '\0') << width << " " << room;
    }
  }
  SetParallelWidth(0);
}

// ASCII is copied in runs found eight bytes at a time: runs of every length
// at every offset, between characters of two bytes and of one, come through.
TEST(Cp932, AsciiRunsOfEveryLengthRoundTrip) {
  for (std::size_t before = 0; before < 9; ++before) {
    for (std::size_t run = 0; run < 18; ++run) {
      const std::string lead(before, 'b'), middle(run, 'a'), tail(run % 5, '~');
      const std::string text = lead + "漢" + middle + "ｶ" + tail;
      const EncodeResult r = FromUtf8(text);
      ASSERT_EQ(r.bytes, lead + "\x8A\xBF" + middle + "\xB6" + tail) << before << " " << run;
      ASSERT_EQ(ToUtf8(r.bytes), text) << before << " " << run;
    }
  }
}

TEST(Cp932, InvalidUtf8IsReplacedPerIllFormedPart) {
  struct Row {
    const char* name;
    std::string in, out;
    std::size_t replaced, at;  // at: where the first ill-formed part starts
  } const rows[] = {
      {"lone continuation byte",
       "a\x80"
       "b",
       "a?b", 1, 1},
      {"overlong slash", "\xC0\xAF", "??", 2, 0},
      {"surrogate", "\xED\xA0\x80", "???", 3, 0},
      {"truncated at end", "\xE3\x81", "?", 1, 0},
      {"truncated before ASCII",
       "\xE3\x81"
       "b",
       "?b", 1, 0},
      {"above U+10FFFF", "\xF4\x90\x80\x80", "????", 4, 0},
      {"byte never in UTF-8", "\xFF\xF5", "??", 2, 0},
      {"valid neighbours kept", "\xE3\x81\x82\x80\xE3\x81\x84", "\x82\xA0?\x82\xA2", 1, 3},
  };
  for (const Row& row : rows) {
    const EncodeResult r = FromUtf8(row.in);
    EXPECT_EQ(r.bytes, row.out) << row.name;
    EXPECT_EQ(r.replaced, row.replaced) << row.name;
    EXPECT_EQ(FirstInvalidUtf8(row.in), row.at) << row.name;
  }
  EXPECT_EQ(FirstInvalidUtf8("\u00E9\U0010FFFF\uFFFF"), std::nullopt);
}

TEST(Cp932, InvalidCp932DecodesToReplacementCharacter) {
  const std::map<unsigned, char32_t> decode = DecodeTable();
  ASSERT_EQ(decode.count(0x81AD), 0u);
  struct Row {
    const char* name;
    std::string in, out;
  } const rows[] = {
      {"lone lead byte at end", "a\x82", "a\uFFFD"},
      {"lead byte before space keeps the space", "\x82 b", "\uFFFD b"},
      {"lead byte before 0x7F", "\x82\x7F", "\uFFFD\x7F"},
      {"unassigned code in an assigned row", "\x81\xAD", "\uFFFD"},
      {"unassigned code", "\x86\xFC", "\uFFFD"},
      {"plane sequence cut short: codes of their own", "\xEF\x42\xEB", "\uFFFD\uFFFD"},
      {"plane sequence with a non-digit", "\xEF\x42\x85\x40\xEC\x40", "\uFFFD\u301C\uFFFD"},
      {"lead byte pairs with a lead byte after it", "\x82\x82\x82", "\uFF42\uFFFD"},
  };
  for (const Row& row : rows) EXPECT_EQ(ToUtf8(row.in), row.out) << row.name;
}

// Escaped codes of CP932 input, told from the other codes of their rows
// and given back as the bytes they escape.
TEST(Cp932, EscapedCodesAsGiven) {
  const struct {
    std::string text;
    bool escaped, other;
    std::string given;
  } rows[] = {
      {"abc", false, false, "abc"},
      {FromCp932("a\x85o\xEB\x40"), true, false, "a\x85o\xEB\x40"},
      {FromUtf8("\u301C").bytes, false, true, FromUtf8("\u301C").bytes},
      {FromUtf8("\U0001F600").bytes + FromCp932("\xEF\xFC"), true, true,
       FromUtf8("\U0001F600").bytes + "\xEF\xFC"},
      // 0x85 as a trail byte starts no code.
      {"\x88\x85o", false, false, "\x88\x85o"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(FindUnassignedCodes(row.text).escaped, row.escaped) << row.given;
    EXPECT_EQ(FindUnassignedCodes(row.text).other, row.other) << row.given;
    EXPECT_EQ(WithoutEscapes(row.text), row.given);
  }
}

// Every two-byte string decodes to valid UTF-8; where nothing was invalid, it
// encodes back to the same bytes (or the code picked for a duplicate).
TEST(Cp932, SweepOfEveryTwoByteString) {
  std::size_t exact = 0;
  for (unsigned v = 0; v < 0x10000; ++v) {
    const std::string in = std::string{char(v >> 8), char(v & 0xFF)};
    const std::string utf8 = ToUtf8(in);
    if (utf8.find("\uFFFD") != std::string::npos) continue;
    const EncodeResult back = FromUtf8(utf8);
    ASSERT_EQ(back.replaced, 0u) << std::hex << v;
    ASSERT_EQ(ToUtf8(back.bytes), utf8) << std::hex << v;
    if (back.bytes == in) ++exact;
  }
  EXPECT_GT(exact, 128u * 128u);
}

// The generated table: its free rows are the unassigned rows, and no two
// characters share a code.
TEST(Cp932Table, FreeRowsAndOneCodePerCharacter) {
  EXPECT_TRUE(std::equal(std::begin(kUnassignedLeadBytes), std::end(kUnassignedLeadBytes),
                         table::kFreeLeadBytes, table::kFreeLeadBytes + table::kFreeLeadBytesSize));
  const std::map<unsigned, char32_t> decode = DecodeTable();
  std::set<unsigned> codes;
  for (std::size_t i = 0; i < table::kEncodeSize; ++i) {
    EXPECT_EQ(decode.at(table::kEncode[i].second), table::kEncode[i].first);
    EXPECT_TRUE(codes.insert(table::kEncode[i].second).second);
  }
  for (unsigned lead : kUnassignedLeadBytes)
    EXPECT_TRUE(IsLeadByte(static_cast<unsigned char>(lead)));
}

}  // namespace
}  // namespace tavrin::cp932
