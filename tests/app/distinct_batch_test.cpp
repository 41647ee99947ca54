// The distinct-heavy path against the collection's: the same bytes for every
// option set it takes, in every encoding, on each shape of input; and none
// for what it leaves to the collection.
#include "app/distinct_batch.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "app/batch_command.h"
#include "util/cp932.h"
#include "util/parallel.h"
#include "util/text_encoding.h"

namespace tavrin {
namespace {

using cp932::Sjis;

TBatchOptions Options(const std::vector<std::string_view>& args) {
  const TBatchArgs parsed = ParseBatchArgs(args, TLanguage::Japanese);
  EXPECT_EQ(parsed.Action, TBatchArgs::TAction::Run) << parsed.Error;
  return parsed.Options;
}

// Lines of four kana of twenty (small ones fold to big: shared keys), a
// hyphen and digits, from a fixed sequence; every seventh line repeats.
std::string Codes(std::size_t lines) {
  std::string out;
  std::uint32_t x = 12345;
  std::vector<std::string> kept;
  for (std::size_t i = 0; i < lines; ++i) {
    if (i % 7 == 6) {
      out += kept[(x >> 4) % kept.size()];
      continue;
    }
    std::string line;
    for (int k = 0; k < 4; ++k) {
      x = x * 1103515245u + 12345u;
      line += "\x83";
      line += static_cast<char>(0x40 + (x >> 16) % 20);  // ァ .. サ
    }
    line += '-' + std::to_string((x >> 8) % 1000) + "\r\n";
    kept.push_back(line);
    out += line;
  }
  return out;
}

struct Shape {
  const char* name;
  std::string text;  // CP932
};

const std::vector<Shape>& Shapes() {
  static const std::vector<Shape> shapes = {
      // Line ends of every kind, blank lines, a last line without a break.
      {"numbers", "10\n9\r\n10\r100\n\n   \n9\r\n\r\n1\r\n0010\n10"},
      // Case, width, small kana, trailing marks and blanks inside: keys
      // shared by several texts, and a key equal to another line's text.
      {"folds", Sjis("abc\nABC\nAbc\nｱｲｳ\nアイウ\nァィゥ\nabc-\nabc\xE3\x83\xBC\nab "
                     "c\nab\tc\nab\n\xE3\x80\x80\n"
                     "ABC-\nx-\n-\n－\nー\n-\n")},
      // Keys longer than the entries' prefix that tie on it.
      {"long",
       Sjis("アイウエオカキク1\nｱｲｳｴｵｶｷｸ1\nアイウエオカキク2\nアイウエオカキク1\nabcdefghijklmnop\n"
            "ABCDEFGHIJKLMNOP\nabcdefghijklmnoq\nabcdefghijkl\nabcdefghijk\n")},
      // What the kinds of variants join, and ASCII lines some kinds change.
      {"variants",
       Sjis("渡辺\n渡邊\n株式会社ヤマダ\n(株)ヤマダ\nヤマダ(株)\n本町一丁目\n本町1丁目\n"
            "申込書\n申し込み書\nab c\nabc\ntel03-1234\nTEL03-1234\n℡03-1234\n"
            "3ヶ月\n3か月\n①番\n1番\n~\n～\n・\nx`y\nx‘y\n")},
      // Enough lines for every stage to run in parts.
      {"many codes", Codes(80000)},
  };
  return shapes;
}

// The input in an encoding: the CP932 text as it is, or as UTF-8 (with a
// BOM), or UTF-16LE with a BOM.
std::string Encoded(const std::string& cp932, std::string_view encoding) {
  if (encoding == "cp932") return cp932;
  const std::string utf8 = cp932::ToUtf8(cp932);
  if (encoding == "utf8") return utf8;
  if (encoding == "utf8 bom") return "\xEF\xBB\xBF" + utf8;
  return EncodeText(cp932, TTextEncoding::Utf16Le, true);
}

TEST(DistinctBatch, SameBytesAsTheCollection) {
  SetParallelWidth(2);  // the parts run on any machine
  const std::vector<std::vector<std::string_view>> taken = {
      {"all"},
      {"similar"},
      {"all", "--no-count"},
      {"similar", "--no-hyphen"},
      {"similar", "--no-hyphen-terminate", "--no-count"},
      {"similar", "--no-zenkaku", "--no-upper"},
      {"similar", "--fold=all"},
      {"similar", "--fold=number,space", "--no-hyphen"},
  };
  for (const Shape& shape : Shapes()) {
    for (const std::string_view encoding : {"cp932", "utf8", "utf8 bom", "utf16le"}) {
      const std::string input = Encoded(shape.text, encoding);
      for (const std::vector<std::string_view>& args : taken) {
        const TBatchOptions options = Options(args);
        const std::string what = std::string(shape.name) + ", " + std::string(encoding) + ", " +
                                 std::string(args[0]) +
                                 (args.size() > 1 ? " " + std::string(args[1]) : "");
        const TBatchOutput reference = RunBatch(options, input);
        const TDecodedText decoded = DecodeText(input, options.Encoding);
        for (const TDistinctWay way : {TDistinctWay::PerLine, TDistinctWay::Counted}) {
          // Written in pieces, as the program writes.
          std::string written;
          const std::optional<TBatchOutput> fast = RunDistinctBatch(
              options, decoded.Text, decoded.Encoding, decoded.Bom,
              [&](std::string_view piece) {
                written += piece;
                return true;
              },
              way);
          const std::string how = what + (way == TDistinctWay::Counted ? ", counted" : "");
          ASSERT_TRUE(fast.has_value()) << how;
          EXPECT_TRUE(written == reference.Out) << how;
          EXPECT_EQ(fast->Summary, reference.Summary) << how;
        }
      }
    }
  }
  SetParallelWidth(0);
}

TEST(DistinctBatch, LeavesToTheCollection) {
  const struct {
    const char* name;
    std::vector<std::string_view> args;
    std::string text;
  } cases[] = {
      {"all that merges", {"all", "--no-zenkaku"}, "a\nb\n"},
      {"trimming", {"all", "--trim"}, "a\nb\n"},
      {"unsorted", {"similar", "--no-sort"}, "a\nb\n"},
      {"the map", {"map"}, "a\nb\n"},
      {"a quoted cell", {"all"}, "\"a\nb\"\n"},
      {"a key of 1024 bytes", {"all"}, std::string(1024, 'A') + "\n"},
      {"a text of 1024 bytes", {"all"}, std::string(1024, 'a') + "\n"},
      {"a code of an unassigned row", {"all"}, "\x85\x40\n"},
  };
  for (const auto& c : cases) {
    const TBatchOptions options = Options(c.args);
    const TDecodedText decoded = DecodeText(c.text, options.Encoding);
    for (const TDistinctWay way : {TDistinctWay::PerLine, TDistinctWay::Counted})
      EXPECT_FALSE(RunDistinctBatch(options, decoded.Text, decoded.Encoding, decoded.Bom, {}, way)
                       .has_value())
          << c.name;
  }
}

TEST(DistinctBatch, LooksDistinctHeavy) {
  std::string distinct, repeated;
  for (int i = 0; i < 1000; ++i) distinct += std::to_string(i) + "\n";
  for (int i = 0; i < 1000; ++i) repeated += std::to_string(i % 50) + "\n";
  EXPECT_TRUE(LooksDistinctHeavy(distinct, 0));
  EXPECT_FALSE(LooksDistinctHeavy(repeated, 0));
  EXPECT_FALSE(LooksDistinctHeavy(distinct, distinct.size() + 1));  // too short to be worth it
}

}  // namespace
}  // namespace tavrin
