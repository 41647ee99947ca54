// Groups, canonical rows, the replacement map and normalizing, through the
// batch commands: their output is compared byte for byte.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "app/batch_command.h"
#include "util/cp932.h"

namespace tavrin {
namespace {

using cp932::Sjis;

std::string RunCommand(std::vector<std::string_view> args, const std::string& sjisInput) {
  const TBatchArgs parsed = ParseBatchArgs(args);
  EXPECT_EQ(parsed.Action, TBatchArgs::TAction::Run) << parsed.Error;
  return RunBatch(parsed.Options, sjisInput).Out;
}

struct Case {
  const char* name;
  std::vector<std::string_view> options;  // after the command
  std::string input;                      // UTF-8, run as CP932
  std::string map;                        // expected map, UTF-8
  std::string normalized;                 // expected normalized text, UTF-8
};

TEST(VariantGroups, MapAndNormalize) {
  const Case cases[] = {
      // The highest count wins, whatever the list order.
      {"highest count", {}, "ﾕﾆｯﾄ\nユニット\nユニット\n", "ﾕﾆｯﾄ\tユニット\t1\r\n",
       "ユニット\nユニット\nユニット\n"},
      // A tie goes to the text that occurs first in the input, even when the
      // sorted list shows the other one first (てすと sorts before ﾃｽﾄ).
      {"tie: first occurrence, sorted list", {}, "ﾃｽﾄ\nてすと\n", "てすと\tﾃｽﾄ\t1\r\n",
       "ﾃｽﾄ\nﾃｽﾄ\n"},
      {"tie: first occurrence, input order", {"--no-sort"}, "ﾃｽﾄ\nてすと\n", "てすと\tﾃｽﾄ\t1\r\n",
       "ﾃｽﾄ\nﾃｽﾄ\n"},
      // Groups in the order of their first row, variants in list order.
      {"two groups", {"--no-sort"}, "b\nア\nB\nｱ\nア\nb\nあ\n", "B\tb\t1\r\nｱ\tア\t1\r\nあ\tア\t1\r\n",
       "b\nア\nb\nア\nア\nb\nア\n"},
      // Options decide what is a group: with --no-hyphen, ー and - differ.
      {"hyphen folded", {}, "コーヒー\nコ-ヒ-\nコーヒー\n", "コ-ヒ-\tコーヒー\t1\r\n",
       "コーヒー\nコーヒー\nコーヒー\n"},
      {"hyphen kept apart", {"--no-hyphen"}, "コーヒー\nコ-ヒ-\n", "", "コーヒー\nコ-ヒ-\n"},
      {"trailing mark ignored", {}, "データ\nデータ\nデータ-\n", "データ-\tデータ\t1\r\n",
       "データ\nデータ\nデータ\n"},
      {"trailing mark counts", {"--no-hyphen-terminate"}, "データ\nデータ-\n", "", "データ\nデータ-\n"},
      // A joined cell is one row, replaced from its opening to its closing quote.
      {"joined cell", {}, "ABC\nABC\n\"ab\r\nc\"\r\nx\n", "abc\tABC\t1\r\n", "ABC\nABC\nABC\r\nx\n"},
      // Without --trim the outer blanks belong to the text (the key drops
      // them): the blank-padded row is a variant of its own and is replaced
      // whole.
      {"untrimmed variant with blanks", {}, "abc\nabc\n abc　\n", " abc　\tabc\t1\r\n", "abc\nabc\nabc\n"},
      // With --trim the row's trimmed text counts with the canonical one and
      // the row is kept; ABC is replaced, surrounding blanks included.
      {"trim", {"--trim"}, " abc \nabc\n ABC \n", "ABC\tabc\t1\r\n", " abc \nabc\nabc\n"},
      // Blank rows, mixed line breaks and a missing final break survive.
      {"breaks and blanks", {}, "ab\r\n\r\n　\rAB\nab\r ", "AB\tab\t1\r\n", "ab\r\n\r\n　\rab\nab\r "},
      // The text ends at its first NUL.
      {"NUL", {}, std::string("ab\nAB\nab\0AB\n", 12), "AB\tab\t1\r\n", "ab\nab\nab"},
      {"nothing similar", {}, "a\r\nb", "", "a\r\nb"},
  };
  for (const Case& c : cases) {
    std::vector<std::string_view> map{"map"}, normalize{"normalize"};
    map.insert(map.end(), c.options.begin(), c.options.end());
    normalize.insert(normalize.end(), c.options.begin(), c.options.end());
    EXPECT_EQ(cp932::ToUtf8(RunCommand(map, Sjis(c.input))), c.map) << c.name;
    const std::string once = RunCommand(normalize, Sjis(c.input));
    EXPECT_EQ(cp932::ToUtf8(once), c.normalized) << c.name;
    // Normalizing a normalized text changes nothing.
    EXPECT_EQ(RunCommand(normalize, once), once) << c.name << " (again)";
  }
}

}  // namespace
}  // namespace tavrin
