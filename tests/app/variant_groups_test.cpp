// Groups, canonical rows, the replacement map and normalizing, through the
// batch commands: their output is compared byte for byte.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/batch_command.h"
#include "app/clipboard_lines.h"
#include "engine/char_folding.h"
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
      {"highest count",
       {},
       "ﾕﾆｯﾄ\nユニット\nユニット\n",
       "ﾕﾆｯﾄ\tユニット\t1\r\n",
       "ユニット\nユニット\nユニット\n"},
      // A tie goes to the text that occurs first in the input, even when the
      // sorted list shows the other one first (てすと sorts before テスト).
      {"tie: first occurrence, sorted list",
       {},
       "テスト\nてすと\n",
       "てすと\tテスト\t1\r\n",
       "テスト\nテスト\n"},
      {"tie: first occurrence, input order",
       {"--no-sort"},
       "テスト\nてすと\n",
       "てすと\tテスト\t1\r\n",
       "テスト\nテスト\n"},
      // Unless one is the more standard spelling: no half-width kana, a full
      // company form, no compatibility character, no variant kanji; the
      // count still decides first.
      {"tie: no half-width kana", {}, "ﾃｽﾄ\nてすと\n", "ﾃｽﾄ\tてすと\t1\r\n", "てすと\nてすと\n"},
      {"tie: full company form",
       {"--fold=company"},
       "ﾕ)ﾔﾏﾀﾞ\n有限会社ヤマダ\n",
       "ﾕ)ﾔﾏﾀﾞ\t有限会社ヤマダ\t1\r\n",
       "有限会社ヤマダ\n有限会社ヤマダ\n"},
      {"tie: no compatibility character",
       {"--fold=compat"},
       "①番窓口\n1番窓口\n",
       "①番窓口\t1番窓口\t1\r\n",
       "1番窓口\n1番窓口\n"},
      {"tie: standard kanji",
       {"--fold=kanji"},
       "髙橋\n高橋\n",
       "髙橋\t高橋\t1\r\n",
       "高橋\n高橋\n"},
      {"tie: the table's okurigana",
       {"--fold=okurigana"},
       "申込書\n申し込み書\n",
       "申込書\t申し込み書\t1\r\n",
       "申し込み書\n申し込み書\n"},
      {"count before form",
       {"--fold=compat"},
       "①番\n①番\n1番\n",
       "1番\t①番\t1\r\n",
       "①番\n①番\n①番\n"},
      // Groups in the order of their first row, variants in list order.
      {"two groups",
       {"--no-sort"},
       "b\nア\nB\nｱ\nア\nb\nあ\n",
       "B\tb\t1\r\nｱ\tア\t1\r\nあ\tア\t1\r\n",
       "b\nア\nb\nア\nア\nb\nア\n"},
      // Options decide what is a group: with --no-hyphen, ー and - differ.
      {"hyphen folded",
       {},
       "コーヒー\nコ-ヒ-\nコーヒー\n",
       "コ-ヒ-\tコーヒー\t1\r\n",
       "コーヒー\nコーヒー\nコーヒー\n"},
      {"hyphen kept apart", {"--no-hyphen"}, "コーヒー\nコ-ヒ-\n", "", "コーヒー\nコ-ヒ-\n"},
      {"trailing mark ignored",
       {},
       "データ\nデータ\nデータ-\n",
       "データ-\tデータ\t1\r\n",
       "データ\nデータ\nデータ\n"},
      {"trailing mark counts",
       {"--no-hyphen-terminate"},
       "データ\nデータ-\n",
       "",
       "データ\nデータ-\n"},
      // A joined cell is one row, replaced from its opening to its closing quote.
      {"joined cell",
       {},
       "ABC\nABC\n\"ab\r\nc\"\r\nx\n",
       "abc\tABC\t1\r\n",
       "ABC\nABC\nABC\r\nx\n"},
      // Without --trim the outer blanks belong to the text (the key drops
      // them): the blank-padded row is a variant of its own and is replaced
      // whole.
      {"untrimmed variant with blanks",
       {},
       "abc\nabc\n abc　\n",
       " abc　\tabc\t1\r\n",
       "abc\nabc\nabc\n"},
      // With --trim the row's trimmed text counts with the canonical one and
      // the row is kept; ABC is replaced, surrounding blanks included.
      {"trim", {"--trim"}, " abc \nabc\n ABC \n", "ABC\tabc\t1\r\n", " abc \nabc\nabc\n"},
      // Blank rows, mixed line breaks and a missing final break survive.
      {"breaks and blanks",
       {},
       "ab\r\n\r\n　\rAB\nab\r ",
       "AB\tab\t1\r\n",
       "ab\r\n\r\n　\rab\nab\r "},
      // A replacement that would open a cell the next line closes is written
      // in the quoted form the intake joins back into the one row.
      {"replacement opening a cell",
       {},
       "\"abc\n\"abc\n”abc\nx\"\nABCX\nABCX\n",
       "”abc\t\"\"\"abc\"\t1\r\n",
       "\"abc\n\"abc\n\"\"a\nbc\"\nx\"\nABCX\nABCX\n"},
      {"replacement closing the cell a line opens",
       {},
       "\"q\nｘ”\nx\"\nx\"\n",
       "ｘ”\t\"x\"\"\"\t1\r\n",
       "\"q\n\"x\n\"\"\nx\"\nx\"\n"},
      {"opening a cell no line closes",
       {},
       "\"abc\n\"abc\n”abc\nx\n",
       "”abc\t\"\"\"abc\"\t1\r\n",
       "\"abc\n\"abc\n\"abc\nx\n"},
      // Where no form reads back as the one row, the row stays as it is:
      // after a kept line that opens a cell, a text of quotes alone closes it.
      {"quote after an open line",
       {},
       "\"q\n”\n\"\nb\n\"\nb\n",
       "”\t\"\"\"\"\t1\r\n",
       "\"q\n”\n\"\nb\n\"\nb\n"},
      // After a replaced row the row before is written so that the quotes fit:
      // "abc in its quoted form opens no cell for the " that "- becomes.
      {"quotes after a replaced open row",
       {},
       "\"abc\n\"abc\n”abc\n\"-\nx\n\"\nx\n\"\n",
       "\"\"\"-\"\t\"\"\"\"\t1\r\n”abc\t\"\"\"abc\"\t1\r\n",
       "\"abc\n\"abc\n\"\"a\nbc\"\n\"\nx\n\"\nx\n\"\n"},
      // A canonical row that is a joined cell is written as that cell.
      {"canonical joined cell",
       {},
       "\"ab\r\nc\"\r\nabc\r\nABC\r\n",
       "ABC\tabc\t1\r\n",
       "\"ab\r\nc\"\r\nabc\r\n\"ab\r\nc\"\r\n"},
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

// A map line read as a spreadsheet reads a pasted row: TABs part the cells,
// a cell that begins with a quote runs to its closing quote, "" inside it
// being one quote.
std::vector<std::string> Cells(std::string_view line) {
  std::vector<std::string> cells(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
      cells.back() += '"', ++i;
    } else if (c == '"' && (quoted || cells.back().empty())) {
      quoted = !quoted;
    } else if (c == '\t' && !quoted) {
      cells.emplace_back();
    } else {
      cells.back() += c;
    }
  }
  return cells;
}

// Each map line pastes as its columns: variant, canonical, count (and the
// kinds with --explain), whatever TABs and quotes the texts hold.
TEST(VariantGroups, MapLinesAreSpreadsheetRows) {
  const struct {
    std::vector<std::string_view> args;
    std::string input;  // UTF-8, run as CP932
    std::vector<std::string> cells;
  } cases[] = {
      {{"map"}, "x\ty\nX\ty\nx\ty\n", {"X\ty", "x\ty", "1"}},
      {{"map"}, "a\"b\na\"b\nA\"B\n", {"A\"B", "a\"b", "1"}},
      {{"map"}, "\"a\n\"a\n\"Ａ\n", {"\"Ａ", "\"a", "1"}},
      {{"map", "--explain"}, "ｶ\t\"\nカ\t\"\nカ\t\"\n", {"ｶ\t\"", "カ\t\"", "1", "全角/半角"}},
  };
  for (const auto& c : cases) {
    const std::string line = cp932::ToUtf8(RunCommand(c.args, Sjis(c.input)));
    ASSERT_TRUE(line.ends_with("\r\n")) << c.input;
    EXPECT_EQ(Cells(line.substr(0, line.size() - 2)), c.cells) << c.input;
  }
}

// On random texts of quotes, variants and line breaks, the normalized text
// read again has the input's rows, each replaced by its canonical text
// (or, where no form can be written, kept), and normalizing it again
// changes nothing.
TEST(VariantGroups, NormalizeKeepsTheRows) {
  const std::string words[] = {"\"abc", "”abc", "abc\"", "abc”",  "ABC",    "abc", "ａｂｃ",
                               "\"",    "”",    "\"\"",  "x\"",   "ｘ”",    "\"x", "\"ab",
                               "c\"",   " ",    "",      " abc ", "\"ａ\"", "\"-"};
  const std::string breaks[] = {"\n", "\r\n", "\r"};
  const std::vector<std::vector<std::string_view>> optionSets = {
      {}, {"--trim"}, {"--no-hyphen", "--no-sort"}};
  std::mt19937 rng(2);
  for (int round = 0; round < 1500; ++round) {
    const std::vector<std::string_view>& options = optionSets[round % optionSets.size()];
    const bool trim = !options.empty() && options[0] == "--trim";
    std::string text;
    for (int k = std::uniform_int_distribution<>(1, 14)(rng); k > 0; --k)
      text += Sjis(words[rng() % std::size(words)]) + breaks[rng() % std::size(breaks)];
    if (rng() % 2) text.pop_back();
    std::vector<std::string_view> map{"map"}, normalize{"normalize"};
    map.insert(map.end(), options.begin(), options.end());
    normalize.insert(normalize.end(), options.begin(), options.end());

    std::map<std::string, std::string> canonicalOf;
    std::istringstream mapLines(RunCommand(map, text));
    for (std::string line; std::getline(mapLines, line);) {
      const std::vector<std::string> cells = Cells(line.substr(0, line.size() - 1));
      ASSERT_EQ(cells.size(), 3u) << line;
      canonicalOf[cells[0]] = cells[1];
    }
    const auto kept = [&](std::string_view row) {
      return std::string(trim ? TrimBlanksView(row) : row);
    };
    const std::string once = RunCommand(normalize, text);
    const std::vector<std::string> before = ClipboardLines(text).ToVector(),
                                   after = ClipboardLines(once).ToVector();
    ASSERT_EQ(after.size(), before.size()) << round << "\n"
                                           << cp932::ToUtf8(text) << "\n--\n"
                                           << cp932::ToUtf8(once);
    for (std::size_t i = 0; i < before.size(); ++i) {
      const auto found = canonicalOf.find(kept(before[i]));
      if (found == canonicalOf.end()) {
        EXPECT_EQ(after[i], before[i]) << round << " row " << i;
      } else if (kept(after[i]) != found->second) {
        // Left only where quotes alone would close the cell that a kept row
        // before it opens.
        EXPECT_EQ(after[i], before[i]) << round << " row " << i;
        EXPECT_EQ(found->second.find_first_not_of('"'), std::string::npos) << round << " row " << i;
        EXPECT_TRUE(i > 0 && after[i - 1] == before[i - 1]) << round << " row " << i << "\n"
                                                            << cp932::ToUtf8(text);
      }
    }
    ASSERT_EQ(RunCommand(normalize, once), once) << round << "\n" << cp932::ToUtf8(text);
  }
}

}  // namespace
}  // namespace tavrin
