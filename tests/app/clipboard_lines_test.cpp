#include "app/clipboard_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "app/build_data.h"
#include "util/cp932.h"
#include "util/parallel.h"

namespace tavrin {
namespace {

using Lines = std::vector<std::string>;

Lines Split(std::string text) { return TClipboardLines::Split(std::move(text)).ToVector(); }

Lines Joined(std::string text) {
  TClipboardLines lines = TClipboardLines::Split(std::move(text));
  lines.JoinQuotedCells();
  return lines.ToVector();
}

Lines Read(std::string text) { return ClipboardLines(std::move(text)).ToVector(); }

// The split reads sixteen bytes at a time: breaks at every offset of a word,
// beside bytes just above the break codes and high bytes, split as a plain
// byte-by-byte reading does.
TEST(SplitClipboardText, BreaksAtEveryOffsetAmongAwkwardBytes) {
  const char alphabet[] = {'a', '\r', '\n', '\x0E', '\x0C', '\x0D', '\x8D', '\x8A', '\xFF', '\x0B'};
  std::mt19937 rng(29);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    for (int k = std::uniform_int_distribution<>(0, 40)(rng); k > 0; --k)
      text += rng() % 4 ? 'a'
                        : alphabet[std::uniform_int_distribution<std::size_t>(
                              0, std::size(alphabet) - 1)(rng)];
    Lines expected;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] != '\r' && text[i] != '\n') {
        line += text[i];
        continue;
      }
      expected.push_back(line);
      line.clear();
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    }
    if (!line.empty()) expected.push_back(line);
    ASSERT_EQ(Split(text), expected) << round;
  }
}

// A large text is split on several cores, its parts starting behind an LF:
// the lines of one core, also where only CRs break lines (no part starts
// there) and where the text ends without a break.
TEST(SplitClipboardText, PartsOnCoresGiveTheLinesOfOne) {
  std::mt19937 rng(31);
  const std::string pieces[] = {"abc", "\r", "\n", "\r\n", "\x81\x40", "\r\r"};
  std::string mixed;
  while (mixed.size() < (std::size_t{5} << 20)) mixed += pieces[rng() % std::size(pieces)];
  // The spans, then whether a line starts with a quote and whether one may
  // be blank.
  const auto spans = [](std::string_view text, unsigned width) {
    SetParallelWidth(width);
    std::vector<std::pair<std::uint32_t, std::uint32_t>> out;
    TSplitFacts facts;
    for (const TLineSpan& s : SplitLineSpans(text, &facts)) out.emplace_back(s.Start, s.Length);
    out.emplace_back(facts.Quoted, facts.MaybeBlank);
    return out;
  };
  const std::string crOnly = std::string(3 << 20, 'x') + "\r" + std::string(2 << 20, 'y');
  std::string plain;
  while (plain.size() < (std::size_t{4} << 20)) plain += "abc\n";
  // Byte by byte, as the reference: the parts make room for the lines they
  // count first, so a miscount would lose lines or leave spans unwritten.
  const auto walked = [](std::string_view text) {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> out;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] != '\r' && text[i] != '\n') continue;
      out.emplace_back(start, i - start);
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
    if (start < text.size()) out.emplace_back(start, text.size() - start);
    return out;
  };
  for (const std::string& text : {mixed, mixed + "tail", crOnly, "\n" + crOnly + "\n", plain,
                                  plain + "\"q\n", plain + "\x81\x40\n"}) {
    const auto one = spans(text, 1);
    EXPECT_EQ(std::vector(one.begin(), one.end() - 1), walked(text));
    for (const unsigned width : {2u, 3u}) EXPECT_EQ(spans(text, width), one) << width;
  }
  SetParallelWidth(0);
  // Only the last line tells: its quote or its blank is seen.
  EXPECT_EQ(Read(plain + "\"q\n r\"").back(), "q r");
  EXPECT_EQ(Read(plain + " \n").size(), Read(plain).size());
}

// The first NUL, read sixteen and sixty-four bytes at a time, at every
// place of a block, among high bytes.
TEST(SplitClipboardText, NulFoundWhereverItIs) {
  std::string text(200, '\x80');
  for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>(0x80 | i);
  EXPECT_EQ(NulAt(text), text.size());
  for (const std::size_t at : {0, 1, 15, 16, 31, 63, 64, 65, 127, 128, 190, 199}) {
    std::string with = text;
    with[at] = '\0';
    with[std::min<std::size_t>(at + 5, 199)] = '\0';
    EXPECT_EQ(NulAt(with), at);
    EXPECT_EQ(NulAt(std::string_view(with).substr(0, at)), at);
  }
}

TEST(SplitClipboardText, LineEnds) {
  const struct {
    const char* name;
    std::string text;
    Lines lines;
  } cases[] = {
      {"empty text", "", {}},
      {"no break", "abc", {"abc"}},
      {"final CR LF adds no line", "a\r\nb\r\n", {"a", "b"}},
      {"final LF adds no line", "a\nb\n", {"a", "b"}},
      {"final CR adds no line", "a\rb\r", {"a", "b"}},
      {"CR LF is one break", "a\r\n\r\nb", {"a", "", "b"}},
      {"LF CR is two breaks", "a\n\rb", {"a", "", "b"}},
      {"CR CR LF is two breaks", "a\r\r\nb", {"a", "", "b"}},
      {"lone break", "\r\n", {""}},
      {"two final breaks keep one empty line", "a\n\n", {"a", ""}},
      {"text ends at the first NUL", std::string("a\r\nb\0c\r\nd", 9), {"a", "b"}},
      {"NUL first gives nothing", std::string("\0a", 2), {}},
      // A lead byte is followed by its trail byte, but CR and LF still end a line.
      {"lead byte before LF", "\x82\na", {"\x82", "a"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Split(c.text), c.lines) << c.name;
}

TEST(JoinQuotedCells, SpreadsheetCells) {
  const struct {
    const char* name;
    std::string text;
    Lines lines;
  } cases[] = {
      {"cell with a line break", "\"abc\r\ndef\"\r\nx", {"abcdef", "", "x"}},
      // Only the first byte of line i and the last of line i+1 are looked at.
      {"quoted line joins a line ending in a quote", "\"x\"\ny\"", {"x\"y", ""}},
      {"three-line cell is not joined", "\"a\nb\nc\"", {"\"a", "b", "c\""}},
      {"doubled quotes stay", "\"He said \"\"hi\"\"\nthere\"", {"He said \"\"hi\"\"there", ""}},
      {"no following line", "\"abc", {"\"abc"}},
      {"two lone quotes give an empty line", "\"\n\"", {"", ""}},
      // The emptied line i+1 is passed over, so line i+2 is tested against i+3.
      {"joined pairs in a row", "\"a\nb\"\n\"c\nd\"", {"ab", "", "cd", ""}},
      {"emptied line is not joined again", "\"a\n\"b\"\nc\"", {"a\"b", "", "c\""}},
  };
  for (const auto& c : cases) EXPECT_EQ(Joined(c.text), c.lines) << c.name;
}

// The text as read stays whole and unchanged beside the lines: joining a
// cell must not write into it, and a NUL cuts the lines only.
TEST(ReadClipboardLines, TextAsReadStaysWhole) {
  for (const std::string& text : {std::string("a\r\nb\r\n"), std::string("\"abc\r\ndef\"\r\nx"),
                                  std::string("a\nb\0c\nd", 7)}) {
    std::shared_ptr<const std::string> read;
    const Lines lines = ClipboardLines(text, &read).ToVector();
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, text);
    EXPECT_EQ(lines, Read(text));
  }
}

TEST(ReadClipboardLines, BlankLinesGo) {
  const std::string fw = "\x81\x40";  // full-width space
  const struct {
    const char* name;
    std::string text;
    Lines lines;
  } cases[] = {
      {"blank line between two", "a\r\n\r\nb\r\n", {"a", "b"}},
      {"full-width spaces only", fw + fw + "\r\nx", {"x"}},
      {"spaces, tab and full-width space", " \t" + fw + " \nx", {"x"}},
      {"outer blanks of a text stay", " a" + fw + "\n", {" a" + fw}},
      {"control characters only", "\x01\x1f\n\x7f", {"\x7f"}},
      // 0x81 0x81 is one character (＝), so the 0x40 after it is an "@".
      {"0x40 after a double-byte character is no space", "\x81\x81\x40", {"\x81\x81\x40"}},
      {"joined cell of blanks is dropped", "\" \n \"", {}},
      {"only blank lines", "\r\n \r\n\t", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(Read(c.text), c.lines) << c.name;
}

TEST(ReadClipboardLines, JapaneseCellKeepsItsBytes) {
  const std::string text = cp932::Sjis("\"東京都\r\n千代田区\"\r\n　\r\n ユニット \r\n");
  EXPECT_EQ(Read(text), (Lines{cp932::Sjis("東京都千代田区"), cp932::Sjis(" ユニット ")}));
}

// Random texts of quotes, breaks, blanks and NULs read in blocks of every
// small size give exactly the lines read at once, in order. Lines that both
// open and close a cell ("", "a") are the ones a block's end can misread: a
// second line of a cell that also opens one.
TEST(ReadClipboardLines, BlocksGiveTheSameLines) {
  std::mt19937 rng(21);
  const std::string pieces[] = {"\"", "\"", "a",        "\r",  "\n",    "\r\n",
                                "\n", " ",  "\x81\x40", "b\"", "\"\"\n"};
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    for (int k = std::uniform_int_distribution<>(0, 60)(rng); k > 0; --k)
      text += pieces[rng() % std::size(pieces)];
    if (round % 10 == 0) text.insert(rng() % (text.size() + 1), 1, '\0');
    const Lines expected = ClipboardLines(text).ToVector();
    for (std::size_t blockBytes = 1; blockBytes <= 12; ++blockBytes) {
      TClipboardLineBlocks blocks(text, blockBytes);
      Lines actual;
      for (TClipboardLines block; blocks.Next(block);) {
        for (const std::string& line : block.ToVector()) actual.push_back(line);
      }
      ASSERT_EQ(actual, expected) << round << " " << blockBytes;
    }
  }
}

// The collection built in small blocks is the one built from every line
// at once: the same texts with the same counts, in the same order.
TEST(ReadClipboardLines, BlocksBuildTheSameCollection) {
  const auto items = [](const TUniqueManager& m) {
    std::vector<std::pair<std::string, std::int32_t>> result;
    for (std::int32_t i = 0; i < m.Count(); ++i)
      result.emplace_back(m.Items(i)->Text(), m.Items(i)->FCount);
    return result;
  };
  std::mt19937 rng(26);
  const std::string lines[] = {"\"\"", "\"a", "a\"", "\"a\"", "a", "\"", "\"\"\"", " "};
  const std::string breaks[] = {"\n", "\r\n", "\r"};
  for (int round = 0; round < 300; ++round) {
    std::string text;
    for (int k = std::uniform_int_distribution<>(1, 80)(rng); k > 0; --k)
      text += lines[rng() % std::size(lines)] + breaks[rng() % std::size(breaks)];
    TUniqueManager whole, blocked;
    BuildData(whole, ClipboardLines(text), true);
    for (const std::size_t blockBytes : {1u, 2u, 3u, 5u, 8u, 13u}) {
      BuildDataInBlocks(blocked, text, true, blockBytes);
      ASSERT_EQ(items(blocked), items(whole)) << round << " " << blockBytes;
    }
  }
}

TEST(ProgressPercent, IntegerDivision) {
  // Floating point gives 28 for line 29 of 100 (0.29 * 100 = 28.999...).
  EXPECT_EQ(ProgressPercent(29, 100), 29);
  EXPECT_EQ(ProgressPercent(0, 1), 0);       // a single line shows 0
  EXPECT_EQ(ProgressPercent(199, 200), 99);  // the last of 200 shows 99, never 100
  EXPECT_EQ(ProgressPercent(57, 100), 57);
  EXPECT_EQ(ProgressPercent(1, 3), 33);
  EXPECT_EQ(ProgressPercent(0, 0), 0);
  // No overflow for a large input.
  EXPECT_EQ(ProgressPercent(4'000'000'000u, 4'000'000'001u), 99);
}

// A guess only where nearly every line since the first mark was new, for the
// rest of the input at the lines per byte seen so far, and on the low side.
TEST(GuessTexts, OnlyForInputWhoseLinesStayNew) {
  struct Row {
    TTextsSeen First, Now;
    std::size_t Total, Guess;
  };
  const Row rows[] = {
      {{2000, 200, 200}, {4000, 400, 400}, 10000, 800},  // all new: 4/5 of the whole input
      {{2000, 200, 190}, {4000, 400, 370}, 10000, 728},  // nine in ten: 4/5 of 370 + 600 * 0.9
      {{2000, 200, 100}, {4000, 400, 150}, 10000, 0},    // lines repeat
      {{2000, 200, 200}, {4000, 400, 400}, 4000, 0},     // nothing left
      {{2000, 200, 200}, {2000, 200, 200}, 10000, 0},    // no lines between
  };
  for (const Row& r : rows)
    EXPECT_EQ(GuessTexts(r.First, r.Now, r.Total), r.Guess) << r.Now.Texts << " " << r.Total;
}

}  // namespace
}  // namespace tavrin
