#include "util/cp932.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "util/cp932_table.h"
#include "util/sjis.h"

namespace tavrin::cp932 {
namespace {

std::string Bytes(unsigned code) {
  return code < 0x100 ? std::string(1, char(code)) : std::string{char(code >> 8), char(code & 0xFF)};
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
  for (std::size_t i = 0; i < table::kDecodeSize; ++i) m[table::kDecode[i].first] = table::kDecode[i].second;
  return m;
}

bool IsOpaque(std::string_view bytes) {
  if (bytes.size() != 2) return false;
  const unsigned char lead = static_cast<unsigned char>(bytes[0]);
  return std::find(std::begin(kOpaqueLeadBytes), std::end(kOpaqueLeadBytes), lead) !=
         std::end(kOpaqueLeadBytes);
}

class Cp932Test : public ::testing::Test {
 protected:
  void SetUp() override { ResetRunCodes(); }
  void TearDown() override { ResetRunCodes(); }
};

// Every assigned code decodes to its character and encodes back to itself,
// unless it is a duplicate, in which case it encodes to the code the table
// picks, which decodes to the same character.
TEST_F(Cp932Test, EveryCodeRoundTrips) {
  std::map<char32_t, unsigned> pick;
  for (std::size_t i = 0; i < table::kEncodeSize; ++i) pick[table::kEncode[i].first] = table::kEncode[i].second;
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
  EXPECT_EQ(RunCodesLeft(), kOpaqueCodeCount - kFixedCodeCount) << "no table character needs a run code";
}

TEST_F(Cp932Test, DuplicatesEncodeAsCp932Picks) {
  struct Row {
    const char* name;
    unsigned code, picked;
  } const rows[] = {
      {"NEC row 13 symbol stays", 0x8790, 0x81E0},       // ≒ also in JIS row 2
      {"NEC row 13 because", 0x879A, 0x81E6},            // ∵
      {"NEC roman numeral stays", 0x8754, 0x8754},       // Ⅰ
      {"IBM roman numeral to NEC", 0xFA4A, 0x8754},      // Ⅰ
      {"IBM small roman numeral stays", 0xFA40, 0xFA40}, // ⅰ
      {"NEC-selected small roman to IBM", 0xEEEF, 0xFA40},
      {"NEC-selected kanji to IBM", 0xED40, 0xFA5C},     // 纊
      {"IBM not sign to JIS", 0xFA54, 0x81CA},           // ￢
      {"NEC-selected not sign to JIS", 0xEEF9, 0x81CA},
      {"IBM parenthesised kabu to NEC", 0xFA58, 0x878A}, // ㈱
      {"IBM broken bar stays", 0xFA55, 0xFA55},          // ￤
  };
  for (const Row& row : rows)
    EXPECT_EQ(FromUtf8(ToUtf8(Bytes(row.code))).bytes, Bytes(row.picked)) << row.name;
}

TEST_F(Cp932Test, SingleBytes) {
  for (unsigned b = 0; b < 0x80; ++b) {  // control codes, backslash and tilde included
    EXPECT_EQ(ToUtf8(Bytes(b)), Bytes(b)) << b;
    EXPECT_EQ(FromUtf8(Bytes(b)).bytes, Bytes(b)) << b;
  }
  EXPECT_EQ(ToUtf8("\xA1\xB1\xDF"), "\uFF61\uFF71\uFF9F");  // half-width katakana
  EXPECT_EQ(FromUtf8("\uFF76\uFF9E").bytes, "\xB6\xDE");
  EXPECT_EQ(ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST_F(Cp932Test, FixedCodesKeepTheirCharacterAndFoldAsTheirTwin) {
  const std::map<unsigned, char32_t> decode = DecodeTable();
  const std::map<char32_t, char32_t> twinCharacter = {
      {U'\u301C', U'\uFF5E'}, {U'\u2212', U'\uFF0D'}, {U'\u2016', U'\u2225'}, {U'\u2014', U'\u2015'},
      {U'\u00A2', U'\uFFE0'}, {U'\u00A3', U'\uFFE1'}, {U'\u00AC', U'\uFFE2'}, {U'\u00A5', U'\uFFE5'},
      {U'\u203E', U'~'},      {U'\u3099', U'\u309B'}, {U'\u309A', U'\u309C'}};
  ASSERT_EQ(std::size(kFixedCodes), twinCharacter.size());
  for (const FixedCode& f : kFixedCodes) {
    const std::string bytes = Bytes(f.code);
    EXPECT_TRUE(IsOpaque(bytes));
    EXPECT_EQ(decode.count(f.code), 0u) << "fixed code collides with CP932";
    const EncodeResult r = FromUtf8(Utf8(f.character));
    EXPECT_EQ(r.bytes, bytes) << std::hex << unsigned(f.character);
    EXPECT_EQ(r.replaced, 0u);
    EXPECT_EQ(ToUtf8(bytes), Utf8(f.character));
    EXPECT_EQ(FoldTwin(f.code), f.twin);
    EXPECT_EQ(ToUtf8(f.twin), Utf8(twinCharacter.at(f.character))) << std::hex << unsigned(f.character);
    EXPECT_EQ(FromUtf8(Utf8(twinCharacter.at(f.character))).bytes, f.twin) << "twin is its own code";
  }
  EXPECT_EQ(RunCodesLeft(), kOpaqueCodeCount - kFixedCodeCount) << "fixed codes use no run codes";
  EXPECT_EQ(FoldTwin(0x854B), "");  // the first run code
  EXPECT_EQ(FoldTwin(0x853F), "");
  EXPECT_EQ(FoldTwin(0x8160), "");
  EXPECT_EQ(FromUtf8("\u30AB\u3099").bytes, "\x83\x4A\x85\x49");  // カ + combining mark, not ガ
}

TEST_F(Cp932Test, UnrepresentableCharactersGetRunCodes) {
  const std::string emoji = "\U0001F600", eAcute = "\u00E9", replacementChar = "\uFFFD";
  const std::string e1 = FromUtf8(emoji).bytes, e2 = FromUtf8(eAcute).bytes;
  const std::string e3 = FromUtf8(replacementChar).bytes;
  EXPECT_EQ(e1, Bytes(OpaqueCode(kFixedCodeCount)));
  EXPECT_EQ(e2, Bytes(OpaqueCode(kFixedCodeCount + 1)));
  EXPECT_TRUE(IsOpaque(e3));
  EXPECT_EQ(FromUtf8(emoji).bytes, e1) << "same character, same code";
  EXPECT_EQ(RunCodesLeft(), kOpaqueCodeCount - kFixedCodeCount - 3);
  EXPECT_EQ(ToUtf8(e1 + e2 + e3), emoji + eAcute + replacementChar);
  EXPECT_EQ(CharLength(e1, 0), 2u) << "the engine sees one double-byte character";
}

TEST_F(Cp932Test, MixedTextRoundTrips) {
  std::string text = "Line 1\r\n\t漢字ｶﾀｶﾅ①Ⅻ纊\\~\x7F\u00E9\U0001F600カ\u3099ハ\u309A";
  for (const FixedCode& f : kFixedCodes) text += Utf8(f.character) + "x";
  const EncodeResult r = FromUtf8(text);
  EXPECT_EQ(r.replaced, 0u);
  EXPECT_EQ(ToUtf8(r.bytes), text);
}

TEST_F(Cp932Test, ExhaustionReplacesAndCounts) {
  const std::size_t free = RunCodesLeft();
  ASSERT_EQ(free, kOpaqueCodeCount - kFixedCodeCount);
  std::string many;
  for (char32_t c = 0x10000; c < 0x10000 + free; ++c) many += Utf8(c);
  const EncodeResult all = FromUtf8(many);
  EXPECT_EQ(all.replaced, 0u);
  EXPECT_EQ(all.bytes.size(), 2 * free);
  EXPECT_EQ(RunCodesLeft(), 0u);
  EXPECT_EQ(ToUtf8(all.bytes), many);

  const EncodeResult over = FromUtf8("a\U0001F600b\U0001F601\U0001F600");
  EXPECT_EQ(over.bytes, "a?b??");
  EXPECT_EQ(over.replaced, 3u);
  EXPECT_EQ(FromUtf8(Utf8(0x10000)).bytes, all.bytes.substr(0, 2)) << "codes handed out stay";
  EXPECT_EQ(FromUtf8("\u301C").bytes, "\x85\x40") << "fixed codes never run out";
  EXPECT_EQ(FromUtf8("\u6F22").replaced, 0u);
}

TEST_F(Cp932Test, InvalidUtf8IsReplacedPerIllFormedPart) {
  struct Row {
    const char* name;
    std::string in, out;
    std::size_t replaced;
  } const rows[] = {
      {"lone continuation byte", "a\x80" "b", "a?b", 1},
      {"overlong slash", "\xC0\xAF", "??", 2},
      {"surrogate", "\xED\xA0\x80", "???", 3},
      {"truncated at end", "\xE3\x81", "?", 1},
      {"truncated before ASCII", "\xE3\x81" "b", "?b", 1},
      {"above U+10FFFF", "\xF4\x90\x80\x80", "????", 4},
      {"byte never in UTF-8", "\xFF\xF5", "??", 2},
      {"valid neighbours kept", "\xE3\x81\x82\x80\xE3\x81\x84", "\x82\xA0?\x82\xA2", 1},
  };
  for (const Row& row : rows) {
    const EncodeResult r = FromUtf8(row.in);
    EXPECT_EQ(r.bytes, row.out) << row.name;
    EXPECT_EQ(r.replaced, row.replaced) << row.name;
  }
  EXPECT_EQ(RunCodesLeft(), kOpaqueCodeCount - kFixedCodeCount) << "invalid input takes no codes";
}

TEST_F(Cp932Test, InvalidCp932DecodesToReplacementCharacter) {
  const std::map<unsigned, char32_t> decode = DecodeTable();
  ASSERT_EQ(decode.count(0x81AD), 0u);
  struct Row {
    const char* name;
    std::string in, out;
  } const rows[] = {
      {"lone lead byte at end", "a\x82", "a\uFFFD"},
      {"lead byte before space keeps the space", "\x82 b", "\uFFFD b"},
      {"lead byte before 0x7F", "\x82\x7F", "\uFFFD\x7F"},
      {"unassigned single bytes", "\x80\xA0\xFD\xFE\xFF", "\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"unassigned code in an assigned row", "\x81\xAD", "\uFFFD"},
      {"opaque code not handed out", "\x86\xFC", "\uFFFD"},
      {"lead byte pairs with a lead byte after it", "\x82\x82\xA0", "\uFF42\uFFFD"},
  };
  for (const Row& row : rows) EXPECT_EQ(ToUtf8(row.in), row.out) << row.name;
}

// Every two-byte string decodes to valid UTF-8; where nothing was invalid, it
// encodes back to the same bytes (or the code picked for a duplicate).
TEST_F(Cp932Test, SweepOfEveryTwoByteString) {
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

TEST_F(Cp932Test, ThreadsAgreeOnRunCodes) {
  std::string text;
  for (char32_t c = 0x1F300; c < 0x1F340; ++c) text += Utf8(c);
  std::vector<std::string> results(4);
  std::vector<std::thread> threads;
  for (auto& result : results) threads.emplace_back([&] { result = FromUtf8(text).bytes; });
  for (auto& t : threads) t.join();
  for (const auto& result : results) EXPECT_EQ(result, results[0]);
  EXPECT_EQ(ToUtf8(results[0]), text);
}

// The generated table: its free rows are the opaque rows, and no two
// characters share a code.
TEST(Cp932Table, FreeRowsAndOneCodePerCharacter) {
  EXPECT_TRUE(std::equal(std::begin(kOpaqueLeadBytes), std::end(kOpaqueLeadBytes), table::kFreeLeadBytes,
                         table::kFreeLeadBytes + table::kFreeLeadBytesSize));
  const std::map<unsigned, char32_t> decode = DecodeTable();
  std::set<unsigned> codes;
  for (std::size_t i = 0; i < table::kEncodeSize; ++i) {
    EXPECT_EQ(decode.at(table::kEncode[i].second), table::kEncode[i].first);
    EXPECT_TRUE(codes.insert(table::kEncode[i].second).second);
  }
  for (unsigned lead : kOpaqueLeadBytes) EXPECT_TRUE(IsLeadByte(static_cast<unsigned char>(lead)));
}

}  // namespace
}  // namespace tavrin::cp932
