#include "util/message_lines.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

using Lines = std::vector<std::string>;

TEST(SplitMessageLines, BreaksAtEveryKindOfLineEnd) {
  EXPECT_EQ(SplitMessageLines("a\rb\nc\r\nd"), (Lines{"a", "b", "c", "d"}));
  // CR LF is one break; LF CR is two, with an empty line between.
  EXPECT_EQ(SplitMessageLines("a\n\rb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(SplitMessageLines("a\r\rb"), (Lines{"a", "", "b"}));
}

TEST(SplitMessageLines, FinalBreakStartsNoLine) {
  EXPECT_EQ(SplitMessageLines(""), Lines{});
  EXPECT_EQ(SplitMessageLines("a\r"), Lines{"a"});
  EXPECT_EQ(SplitMessageLines("a\r\n"), Lines{"a"});
  EXPECT_EQ(SplitMessageLines("\r"), Lines{""});
  EXPECT_EQ(SplitMessageLines("a\r\r"), (Lines{"a", ""}));
}

TEST(SplitMessageLines, KeepsDoubleByteCharactersWhole) {
  // 0x955C ("表") has the trail byte of "\"; nothing splits inside it.
  std::string hyou = "\x95\x5C";
  EXPECT_EQ(SplitMessageLines(hyou + "\r" + hyou), (Lines{hyou, hyou}));
}

}  // namespace
}  // namespace tavrin
