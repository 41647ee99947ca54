// The profile rules over bytes, and the odd files of tests/data.
#include "settings/ini_text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace tavrin {
namespace {

std::string Fixture(const char* name) {
  std::ifstream in(std::string(TAVRIN_TEST_DATA) + "/" + name, std::ios::binary);
  EXPECT_TRUE(in) << name;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::optional<std::string> Find(std::string_view text, std::string_view section,
                                std::string_view key) {
  return FindIniValue(text, section, key);
}

TEST(IniRead, NamesIgnoreAsciiCaseAndBlanks) {
  const std::string text = "[ User ]\r\n  fSound \t=\t 0  \r\n";
  EXPECT_EQ(Find(text, "USER", "FSOUND"), "0");
  EXPECT_EQ(Find(text, " user ", " fsound "), "0");
  EXPECT_EQ(Find(text, "User", "FHint"), std::nullopt);
  EXPECT_EQ(Find(text, "Form", "FSound"), std::nullopt);
  EXPECT_EQ(Find("", "User", "FSound"), std::nullopt);
}

TEST(IniRead, TrailBytesAreNeitherFoldedNorDelimiters) {
  // 0x83 0x41 is a katakana whose trail byte is "A"; it must not match 0x83 0x61.
  EXPECT_EQ(Find("[S]\r\n\x83\x41=1\r\n", "S", "\x83\x61"), std::nullopt);
  EXPECT_EQ(Find("[S]\r\n\x83\x41=1\r\n", "S", "\x83\x41"), "1");
  // 0x81 0x3D would put "=" as a trail byte: the key is then the whole text
  // before the next "=".
  EXPECT_EQ(Find("[S]\r\nk\x81==v\r\n", "S", "k\x81="), "v");
  // "]" as a trail byte does not end the section name.
  EXPECT_EQ(Find("[\x81]]\r\nk=v\r\n", "\x81]", "k"), "v");
}

TEST(IniRead, KeysBeforeTheFirstSectionBelongToNone) {
  EXPECT_EQ(Find("k=v\r\n[S]\r\n", "S", "k"), std::nullopt);
}

TEST(IniRead, ValueIsCutTo2047BytesOnACharacterBoundary) {
  std::string value(2046, 'a');
  value += "\x82\xA0";  // a double-byte character across the limit
  EXPECT_EQ(Find("[S]\r\nk=" + value + "\r\n", "S", "k"), std::string(2046, 'a'));
  EXPECT_EQ(Find("[S]\r\nk=" + std::string(3000, 'b'), "S", "k")->size(), kIniValueMax);
}

TEST(IniWrite, UpdatesInPlaceKeepingEverythingElse) {
  const std::string text = "; note\r\n[S]\r\nA=1\r\nB = 2 \r\nX=?\r\n[T]\r\nA=9\r\n";
  EXPECT_EQ(SetIniValue(text, "s", "b", "3"),
            "; note\r\n[S]\r\nA=1\r\nb=3\r\nX=?\r\n[T]\r\nA=9\r\n");
}

TEST(IniWrite, AppendsAtTheEndOfItsSection) {
  // After the last non-blank line: a blank separator stays before [T].
  EXPECT_EQ(SetIniValue("[S]\r\nA=1\r\n\r\n[T]\r\n", "S", "B", "2"),
            "[S]\r\nA=1\r\nB=2\r\n\r\n[T]\r\n");
  EXPECT_EQ(SetIniValue("[S]\r\n[T]\r\n", "S", "B", "2"), "[S]\r\nB=2\r\n[T]\r\n");
}

TEST(IniWrite, AppendsANewSectionAtTheEnd) {
  EXPECT_EQ(SetIniValue("", "User", "FSound", "1"), "[User]\r\nFSound=1\r\n");
  EXPECT_EQ(SetIniValue("[User]\r\nFSound=1\r\n", "Form", "Left", "0"),
            "[User]\r\nFSound=1\r\n[Form]\r\nLeft=0\r\n");
}

TEST(IniWrite, ALineBreakInAValueCannotOpenALine) {
  std::string text = SetIniValue("", "S", "k", "a\r\n[T]\nb=c");
  EXPECT_EQ(text, "[S]\r\nk=a[T]b=c\r\n");
  EXPECT_EQ(Find(text, "T", "b"), std::nullopt);
}

// --- odd files people produce -------------------------------------------

// Many writes in one scan leave what the writes one after another leave.
TEST(IniWrite, WritesInOneScanEqualWritesOneByOne) {
  const std::vector<IniWrite> writes = {{"User", "FSound", "1"}, {"Form", "Left", "3"},
                                        {"user", "New", "n"},    {"User", "fsound", "0"},
                                        {"Other", "A", "a"},     {"Form", "Top", "4"}};
  for (std::string_view text :
       {"", "[User]\r\nFSound=9\r\n\r\n[Form]\r\nLeft=1",
        "\xEF\xBB\xBF[Form]\nTop=2\n[User]\nx=1\n[User]\nNew=old\n", "k=v\r\n[user]\r\n\r\n"}) {
    std::string oneByOne(text);
    for (const IniWrite& w : writes) oneByOne = SetIniValue(oneByOne, w.section, w.key, w.value);
    EXPECT_EQ(SetIniValues(text, writes), oneByOne) << text;
  }
}

TEST(IniFixtures, NoHeaderIsReadAndStaysWithoutHeader) {
  const std::string text = Fixture("ini-no-header.ini");
  EXPECT_EQ(Find(text, "User", "FSound"), "0");
  EXPECT_EQ(Find(text, "Form", "Left"), "10");
  EXPECT_EQ(SetIniValue(text, "Form", "Left", "5").substr(0, 8), "[User]\r\n");
}

TEST(IniFixtures, NoFinalLineBreak) {
  const std::string text = Fixture("ini-no-final-line-break.ini");
  EXPECT_EQ(Find(text, "Form", "Width"), "700");
  EXPECT_EQ(SetIniValue(text, "Form", "Width", "800"), text.substr(0, text.size() - 3) + "800");
  EXPECT_EQ(SetIniValue(text, "Form", "Height", "385"), text + "\r\nHeight=385\r\n");
  EXPECT_EQ(SetIniValue(text, "New", "k", "v"), text + "\r\n[New]\r\nk=v\r\n");
}

TEST(IniFixtures, LfOnlyLinesAreReadAndKept) {
  const std::string text = Fixture("ini-lf-only.ini");
  EXPECT_EQ(Find(text, "User", "FSound"), "0");
  EXPECT_EQ(Find(text, "Form", "Width"), "700");
  std::string written = SetIniValue(text, "User", "FHint", "1");
  EXPECT_NE(written.find("\nFSound=0\nFHint=1\r\n[Form]\n"), std::string::npos);
  EXPECT_EQ(Find(written, "Form", "Width"), "700");
}

TEST(IniFixtures, Utf8ByteOrderMarkIsSkippedAndKept) {
  const std::string text = Fixture("ini-utf8-bom.ini");
  EXPECT_EQ(Find(text, "User", "FSound"), "0");
  std::string written = SetIniValue(text, "User", "FSound", "1");
  EXPECT_EQ(written.substr(0, 13), "\xEF\xBB\xBF[User]\r\nFS");
  EXPECT_EQ(Find(written, "User", "FSound"), "1");
}

// What is no well-formed UTF-8 or UTF-16 keeps its bytes; what UTF-16
// cannot say as a character becomes "?". (The encodings themselves:
// IniFile.UnicodeFileIsReadAndWrittenBackInTheProgramsEncoding.)
TEST(IniTextOfFile, OddFilesHaveDefinedTexts) {
  const std::string sjis = "k=\x83\x81\x83\x43\x83\x8A\x83\x49\r\n";  // メイリオ
  const struct {
    const char* name;
    std::string bytes, text;
  } rows[] = {
      {"CP932", sjis, sjis},
      {"a UTF-8 BOM before CP932 keeps both", "\xEF\xBB\xBF" + sjis, "\xEF\xBB\xBF" + sjis},
      {"ASCII", "[User]\r\n", "[User]\r\n"},
      {"UTF-16LE ending in half a unit", std::string("\xFF\xFEk\0=\0v\0\n", 9), "k=v?"},
      {"UTF-16LE with an unpaired surrogate", std::string("k\0=\0\x00\xD8v\0", 8), "k=?v"},
      {"empty", "", ""},
  };
  for (const auto& row : rows) EXPECT_EQ(IniTextOfFile(row.bytes), row.text) << row.name;
}

TEST(IniFixtures, KeyWithoutEqualsIsNoKeyButIsKept) {
  const std::string text = Fixture("ini-key-without-equals.ini");
  EXPECT_EQ(Find(text, "User", "FSound"), std::nullopt);
  EXPECT_EQ(Find(text, "User", "FHint"), "0");
  EXPECT_EQ(Find(text, "Form", "Width"), "700");
  EXPECT_EQ(SetIniValue(text, "User", "FSound", "1"),
            "[User]\r\nFSound\r\nFHint=0\r\nFSound=1\r\n[Form]\r\nLeft\r\nWidth=700\r\n");
}

TEST(IniFixtures, EmptyValueIsPresentButEmpty) {
  const std::string text = Fixture("ini-empty-value.ini");
  EXPECT_EQ(Find(text, "User", "FSound"), "");
  EXPECT_EQ(Find(text, "User", "FSetLvColumn0"), "");
  EXPECT_EQ(Find(text, "Form", "Left"), "10");
}

TEST(IniFixtures, SectionTwiceOnlyTheFirstCounts) {
  const std::string text = Fixture("ini-section-twice.ini");
  EXPECT_EQ(Find(text, "User", "FSound"), "0");
  EXPECT_EQ(Find(text, "User", "FHint"), std::nullopt);
  std::string written = SetIniValue(text, "USER", "FHint", "1");
  EXPECT_EQ(
      written,
      "[User]\r\nFSound=0\r\nFHint=1\r\n[Form]\r\nLeft=10\r\n[user]\r\nFSound=1\r\nFHint=0\r\n");
}

TEST(IniFixtures, Value5000BytesReadsAsItsFirst2047) {
  const std::string text = Fixture("ini-value-5000-bytes.ini");
  EXPECT_EQ(Find(text, "User", "lvResultName"), std::string(kIniValueMax, 'A'));
  EXPECT_EQ(Find(text, "User", "FSound"), "0");
}

TEST(IniFixtures, InvalidShiftJisGivesDefinedResults) {
  const std::string text = Fixture("ini-invalid-sjis.ini");
  EXPECT_EQ(Find(text, "User", "lvResultName"), "\x81");  // a lone lead byte at a line's end
  EXPECT_EQ(Find(text, "User", "FSound"), "0");
  EXPECT_EQ(Find(text, "\x81]", "k"), std::nullopt);  // "\x82=" is one character, no "="
  EXPECT_EQ(Find(text, "Form", "Left"), "10");
  EXPECT_EQ(Find(text, "Form", "Top"), "\xFF\xFE\x80");
  std::string written = SetIniValue(text, "Form", "Top", "0");
  EXPECT_EQ(written, text.substr(0, text.size() - 5) + "0\r\n");
}

}  // namespace
}  // namespace tavrin
