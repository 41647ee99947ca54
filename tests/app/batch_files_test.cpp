// tavrin-batch over several files: each read in its own encoding, their
// ends kept apart, and the output's encoding and BOM taken from the first
// file that shows them.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "app/batch_command.h"
#include "util/cp932.h"

namespace tavrin {
namespace {

using cp932::Sjis;
using namespace std::string_literals;

const std::string kUtf8Bom = "\xEF\xBB\xBF";
const std::string kUtf16Bom = "\xFF\xFE";

// ASCII text as UTF-16LE.
std::string Utf16(std::string_view ascii) {
  std::string out;
  for (const char c : ascii) out += {c, '\0'};
  return out;
}

TEST(BatchFiles, EachFileInItsOwnEncoding) {
  const struct {
    const char* name;
    std::vector<std::string_view> args;
    std::vector<TBatchInput> files;
    std::string out;
    TTextEncoding encoding;
  } cases[] = {
      // The output is in the encoding of the first file that shows one.
      {"ASCII, then UTF-16",
       {"all"},
       {{"a", "apple\nbanana\n"}, {"b", kUtf16Bom + Utf16("cherry\n")}},
       kUtf16Bom + Utf16("apple\t1\r\nbanana\t1\r\ncherry\t1\r\n"),
       TTextEncoding::Utf16Le},
      {"an even-sized ASCII file after UTF-16",
       {"all"},
       {{"b", kUtf16Bom + Utf16("cherry\n")}, {"a", "apple\nkiwi\n"}},
       kUtf16Bom + Utf16("apple\t1\r\ncherry\t1\r\nkiwi\t1\r\n"),
       TTextEncoding::Utf16Le},
      {"CP932, then UTF-8",
       {"all"},
       {{"a", Sjis("データ\n")}, {"b", "データ\nﾃﾞｰﾀ\n"}},
       Sjis("データ\t2\r\nﾃﾞｰﾀ\t1\r\n"),
       TTextEncoding::Cp932},
      {"UTF-8 with a BOM, then CP932",
       {"similar"},
       {{"a", kUtf8Bom + "ユニット\n"}, {"b", Sjis("ﾕﾆｯﾄ\n")}},
       kUtf8Bom + "ユニット\t1\r\nﾕﾆｯﾄ\t1\r\n",
       TTextEncoding::Utf8},
  };
  for (const auto& c : cases) {
    const TBatchOptions options = ParseBatchArgs(c.args).Options;
    const TBatchOutput out = RunBatch(options, c.files);
    EXPECT_EQ(out.Error, "") << c.name;
    EXPECT_EQ(out.Out, c.out) << c.name;
    EXPECT_EQ(BatchOutputEncoding(options, c.files), c.encoding) << c.name;
  }
}

TEST(BatchFiles, FileEndsAndTheOutputsBom) {
  const struct {
    const char* name;
    const char* command;
    std::vector<TBatchInput> files;
    std::string out;
  } cases[] = {
      // A CR ending one file and an LF starting the next are two line ends:
      // the quoted cell of the first never joins a line of the second.
      {"CR, then LF", "all", {{"a", "\"a\r"}, {"b", "\nb\"\n"}}, "\"a\t1\r\nb\"\t1\r\n"},
      {"CR, then LF, normalized",
       "normalize",
       {{"a", "\"a\r"}, {"b", "\nb\"\n"}},
       "\"a\r\n\nb\"\n"},
      {"CR, an empty file, LF",
       "all",
       {{"a", "x\r"}, {"e", ""}, {"b", "\ny\n"}},
       "x\t1\r\ny\t1\r\n"},
      // The BOM follows the first file with text that shows its encoding.
      {"empty file first", "all", {{"e", ""}, {"a", kUtf8Bom + "x\n"}}, kUtf8Bom + "x\t1\r\n"},
      {"BOM-only file first", "all", {{"e", kUtf8Bom}, {"a", Sjis("ﾃﾞｰﾀ\n")}}, Sjis("ﾃﾞｰﾀ\t1\r\n")},
      {"plain ASCII first",
       "all",
       {{"e", "x\n"}, {"a", kUtf8Bom + "y\n"}},
       kUtf8Bom + "x\t1\r\ny\t1\r\n"},
      {"no BOM first",
       "all",
       {{"a", "Müller\n"}, {"b", kUtf8Bom + "y\n"}},
       "Müller\t1\r\ny\t1\r\n"},
      {"map, empty file first",
       "map",
       {{"e", ""}, {"a", kUtf8Bom + "ab\nAB\nAB\n"}},
       kUtf8Bom + "ab\tAB\t1\r\n"},
  };
  for (const auto& c : cases) {
    const TBatchOutput out =
        RunBatch(ParseBatchArgs(std::vector<std::string_view>{c.command}).Options, c.files);
    EXPECT_EQ(out.Error, "") << c.name;
    EXPECT_EQ(out.Out, c.out) << c.name;
  }
}

// UTF-8 cut inside its last character is refused as that, with where the
// character starts; in a file of several, as the file's own.
TEST(BatchFiles, CutUtf8IsRefused) {
  const struct {
    std::vector<TBatchInput> files;
    std::string error;
  } cases[] = {
      {{{"-", "ユニット\nﾕﾆｯﾄ\nユニッ\xE3\x83"}},
       "UTF-8 cut at the end in line 3 at byte offset 35"},
      {{{"a", "x\n"}, {"b", "データ\nデー\xE3"}},
       "b: UTF-8 cut at the end in line 2 at byte offset 16"},
  };
  for (const auto& c : cases) {
    const TBatchOutput out =
        RunBatch(ParseBatchArgs(std::vector<std::string_view>{"similar"}).Options, c.files);
    EXPECT_EQ(out.Error, c.error);
    EXPECT_EQ(out.Out, "");
  }
}

}  // namespace
}  // namespace tavrin
