#include "util/integers.h"

#include <gtest/gtest.h>

#include <limits>

#include "util/cp932.h"
#include "util/error.h"

namespace tavrin {
namespace {

TEST(ParseInteger, Accepts) {
  struct Row {
    const char* text;
    std::int64_t value;
  } const rows[] = {
      {"0", 0},
      {"-0", 0},
      {"+17", 17},
      {" \t\r\n42\x01 ", 42},           // every byte up to 0x20 is trimmed
      {"007", 7},                       // leading zeros
      {"000000000000000000000001", 1},  // a long run of digits must not overflow
      {"2147483647", 2147483647},
      {"-2147483648", -2147483648LL},
      {"$ff", 255},
      {"xFF", 255},
      {"X10", 16},
      {"0x7FFFFFFF", 2147483647},
      {"0X1a", 26},
      {"-$80000000", -2147483648LL},
      {"+0x10", 16},
  };
  for (const Row& row : rows) EXPECT_EQ(ParseInteger(row.text), row.value) << row.text;
}

TEST(ParseInteger, RejectsWithTheTrimmedText) {
  const char* const rows[] = {
      "",
      "   ",
      "-",
      "+",
      "$",
      "0x",
      "x",  // nothing after the sign or prefix
      "1 2",
      "12a",
      "1.5",
      "1e3",  // trailing rubbish
      "+-1",
      "--1",
      "$-1",
      "0x+1",  // one sign, before the prefix
      "2147483648",
      "-2147483649",  // outside the 32-bit range
      "$80000000",
      "0xFFFFFFFF",  // hexadecimal has the same range
      "99999999999999999999",
      "\x82\x50",  // full-width digit
      "0$1",
  };
  for (const char* text : rows) {
    try {
      ParseInteger(text);
      ADD_FAILURE() << "accepted '" << text << "'";
    } catch (const EError& e) {
      std::string trimmed(text);
      trimmed.erase(0, trimmed.find_first_not_of(' '));
      trimmed.erase(trimmed.find_last_not_of(' ') + 1);
      EXPECT_EQ(e.what(), "'" + trimmed + cp932::Sjis("' は整数ではありません")) << text;
    }
  }
}

TEST(IntegerText, Decimal) {
  EXPECT_EQ(IntegerText(0), "0");
  EXPECT_EQ(IntegerText(-5), "-5");
  EXPECT_EQ(IntegerText(std::numeric_limits<std::int32_t>::max()), "2147483647");
  EXPECT_EQ(IntegerText(std::numeric_limits<std::int32_t>::min()), "-2147483648");
}

TEST(UpperCaseText, SingleByteLettersOnly) {
  EXPECT_EQ(UpperCaseText("abc xyz-AZ{`@"), "ABC XYZ-AZ{`@");
  // 0x83 0x61 is a katakana whose trail byte is "a"; 0x82 0x81 is full-width a.
  EXPECT_EQ(UpperCaseText("\x83\x61"
                          "a\x82\x81"),
            "\x83\x61"
            "A\x82\x81");
  EXPECT_EQ(UpperCaseText("\xB1z"), "\xB1Z");  // half-width katakana is one byte
  EXPECT_EQ(UpperCaseText("a\x83"), "A\x83");  // a lone lead byte at the end
  EXPECT_EQ(UpperCaseText(std::string("a\0b", 3)), std::string("A\0B", 3));
}

TEST(RemoveAdjacentDuplicates, KeepsTheFirstOfEachRun) {
  struct Row {
    const char* name;
    std::vector<std::string> in, out;
  } const rows[] = {
      {"sorted runs", {"a", "a", "b", "b", "b", "c"}, {"a", "b", "c"}},
      {"empty", {}, {}},
      {"one", {"x"}, {"x"}},
      {"empty strings", {"", "", "a"}, {"", "a"}},
      {"prefix is smaller", {"a", "ab", "ab", "abc"}, {"a", "ab", "abc"}},
      // Unsigned bytes: 0x82 sorts after "a", so the scan for 0x82A0 goes on past "a".
      {"unsigned order", {"\x82\xA0", "a", "\x82\xA0"}, {"\x82\xA0", "a"}},
      // Unsorted input: the scan of "b" stops at the greater "c".
      {"stops at a greater entry", {"b", "c", "b"}, {"b", "c", "b"}},
  };
  for (const Row& row : rows) {
    std::vector<std::string> list = row.in;
    RemoveAdjacentDuplicates(list);
    EXPECT_EQ(list, row.out) << row.name;
  }
}

}  // namespace
}  // namespace tavrin
