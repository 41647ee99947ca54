// Grapheme clusters of the engine's text: which characters join the one
// before them, in CP932, in the codec's fixed codes and in its plane forms.
#include "util/clusters.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "util/cp932.h"

namespace tavrin {
namespace {

TEST(Clusters, ExtendingCharactersAtTheEdgesOfTheirRuns) {
  const struct {
    char32_t c;
    bool extends;
  } cases[] = {
      {U'\u02FF', false}, {U'\u0300', true},     {U'\u036F', true},     {U'\u0370', false},
      {U'\u3099', true},  {U'\u309A', true},     {U'\u309B', false},    {U'\uFE0F', true},
      {U'\uFF9E', true},  {U'\U000E0100', true}, {U'\U000E01EF', true}, {U'\U000E01F0', false},
      {U'\u200C', false},  // shown as a mark of its own
      {U'\u200D', false}, {U'a', false},         {U'\u30AB', false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ExtendsCluster(c.c), c.extends) << std::hex << unsigned(c.c);
}

// The clusters of each text, "|" between, after the codec's conversion.
TEST(Clusters, TextsSplitIntoClusters) {
  const struct {
    const char* utf8;
    const char* clusters;
  } cases[] = {
      {"カ\u3099ス会社", "カ\u3099|ス|会|社"},
      {"ハ\u309Aン", "ハ\u309A|ン"},
      {"ｶﾞｽ", "ｶﾞ|ｽ"},
      {"e\u0301\u0323x", "e\u0301\u0323|x"},
      {"葛\U000E0100飾", "葛\U000E0100|飾"},
      {"#\uFE0F1", "#\uFE0F|1"},
      {"\u3099カ", "\u3099|カ"},  // a mark with nothing before it stands alone
      {"a\u200Cb\u200Dc", "a|\u200C|b|\u200D|c"},
      {"", ""},
  };
  for (const auto& c : cases) {
    const std::string text = cp932::Sjis(c.utf8);
    std::string clusters;
    for (std::size_t i = 0; i < text.size(); i += ClusterLength(text, i)) {
      EXPECT_TRUE(IsClusterStart(text, i)) << c.utf8 << " at " << i;
      if (i > 0) clusters += '|';
      clusters += cp932::ToUtf8(text.substr(i, ClusterLength(text, i)));
    }
    EXPECT_EQ(clusters, c.clusters);
    EXPECT_TRUE(IsClusterStart(text, text.size()));
  }
}

// Codes of the unassigned rows read from CP932 input keep their escape and
// join nothing, even when their bytes are those of a fixed code.
TEST(Clusters, EscapedInputCodesJoinNothing) {
  const std::string text = cp932::FromCp932("\x83\x4A\x85\x49");
  ASSERT_EQ(text.size(), 6u);
  EXPECT_EQ(ClusterLength(text, 0), 2u);
  EXPECT_TRUE(IsClusterStart(text, 2));
}

}  // namespace
}  // namespace tavrin
