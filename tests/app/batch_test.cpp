// tavrin-batch: the copy text after each command, byte for byte, for the
// documented examples; and the program itself (arguments, streams, exit).
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/batch_command.h"
#include "tests/platform.h"
#include "util/cp932.h"
#include "util/paths.h"

namespace tavrin {
namespace {

using cp932::Sjis;
using namespace std::string_literals;

// The summaries below are the window's, in Japanese; the error texts English.
TBatchOptions Options(const std::vector<std::string_view>& args,
                      TLanguage language = TLanguage::Japanese) {
  const TBatchArgs parsed = ParseBatchArgs(args, language);
  EXPECT_EQ(parsed.Action, TBatchArgs::TAction::Run) << parsed.Error;
  return parsed.Options;
}

struct Example {
  const char* name;
  std::vector<std::string_view> args;
  std::string input;     // UTF-8, converted to CP932 for the run
  std::string expected;  // UTF-8 with CR LF, converted to CP932
  std::string summary;
};

void Check(const Example& e) {
  const TBatchOutput out = RunBatch(Options(e.args), Sjis(e.input));
  EXPECT_EQ(out.Out, Sjis(e.expected)) << e.name << "\n" << cp932::ToUtf8(out.Out);
  EXPECT_EQ(out.Summary, e.summary) << e.name;
}

const std::string kNone = "表示するデータがありません";

TEST(BatchOutput, ClipboardIntake) {
  const Example examples[] = {
      {"blank line dropped",
       {"all"},
       "a\r\n\r\nb\r\n",
       "a\t1\r\nb\t1\r\n",
       "全2個のデータの中から、2 種類のデータを取得しました"},
      {"cell spanning two lines",
       {"all"},
       "\"abc\r\ndef\"\r\n",
       "abcdef\t1\r\n",
       "全1個のデータの中から、1 種類のデータを取得しました"},
      {"quoted line joined with the next",
       {"all"},
       "\"x\"\ny\"\n",
       "x\"y\t1\r\n",
       "全1個のデータの中から、1 種類のデータを取得しました"},
      {"three-line cell left alone",
       {"all"},
       "\"a\nb\nc\"",
       "\"a\t1\r\nb\t1\r\nc\"\t1\r\n",
       "全3個のデータの中から、3 種類のデータを取得しました"},
      {"full-width space line dropped, outer blanks kept",
       {"all"},
       "　　\r\n 東京 \r\n東京\r\n",
       " 東京 \t1\r\n東京\t1\r\n",
       "全2個のデータの中から、2 種類のデータを取得しました"},
      {"only blanks", {"all"}, " \r\n\t\r\n　\r\n", "", kNone},
      {"empty input", {"similar"}, "", "", kNone},
  };
  for (const auto& e : examples) Check(e);
}

TEST(BatchOutput, Commands) {
  const Example examples[] = {
      {"width variant of a repeated line",
       {"similar"},
       "ユニット\nユニット\nﾕﾆｯﾄ\n",
       "ユニット\t2\r\nﾕﾆｯﾄ\t1\r\n",
       "全3個のデータの中から、2 種類の類字データを抽出しました"},
      {"repeated line without partner", {"similar"}, "abc\nabc\nabc\nabd\n", "", kNone},
      {"no count",
       {"similar", "--no-count"},
       "ユニット\nユニット\nﾕﾆｯﾄ\n",
       "ユニット\r\nﾕﾆｯﾄ\r\n",
       "全3個のデータの中から、2 種類の類字データを抽出しました"},
      {"first occurrence order",
       {"all", "--no-sort"},
       "b\na\nb\n",
       "b\t2\r\na\t1\r\n",
       "全3個のデータの中から、2 種類のデータを取得しました"},
  };
  for (const auto& e : examples) Check(e);
  std::string many;
  for (int i = 0; i < 1234; ++i) many += "x\r\n";
  Check({"count of four digits",
         {"all"},
         many + "y\n",
         "x\t1234\r\ny\t1\r\n",
         "全1235個のデータの中から、2 種類のデータを取得しました"});
}

TEST(BatchOutput, Folding) {
  const Example examples[] = {
      {"voiced kana in both kana kinds",
       {"similar"},
       "ガッコウ\nがっこう\n",
       "がっこう\t1\r\nガッコウ\t1\r\n",
       "全2個のデータの中から、2 種類の類字データを抽出しました"},
      {"small and large kana",
       {"similar"},
       "キョウ\nｷｮｳ\nキヨウ\nキュウ\n",
       "キョウ\t1\r\nキヨウ\t1\r\nｷｮｳ\t1\r\n",
       "全4個のデータの中から、3 種類の類字データを抽出しました"},
      {"hyphen and long-vowel mark",
       {"similar"},
       "ﾃﾞｰﾀｰ\nデ-タ\n",
       "デ-タ\t1\r\nﾃﾞｰﾀｰ\t1\r\n",
       "全2個のデータの中から、2 種類の類字データを抽出しました"},
  };
  for (const auto& e : examples) Check(e);
}

TEST(BatchOutput, UniqueManager) {
  const Example examples[] = {
      {"case kept apart in the all-data view",
       {"all"},
       "ABC\nABC\nabc\n",
       "ABC\t2\r\nabc\t1\r\n",
       "全3個のデータの中から、2 種類のデータを取得しました"},
      {"outer blank folded away by the hyphen option",
       {"similar"},
       " abc\nabc\n",
       " abc\t1\r\nabc\t1\r\n",
       "全2個のデータの中から、2 種類の類字データを抽出しました"},
      {"outer blank kept without the hyphen option",
       {"similar", "--no-hyphen"},
       " abc\nabc\n",
       "",
       kNone},
      {"trim makes one line",
       {"all", "--trim"},
       " abc\nabc\n",
       "abc\t2\r\n",
       "全2個のデータの中から、1 種類のデータを取得しました"},
      {"blank lines add nothing",
       {"all"},
       "　　\n\t\nx\n",
       "x\t1\r\n",
       "全1個のデータの中から、1 種類のデータを取得しました"},
      {"trailing marks ignored",
       {"similar"},
       "ｺｰﾋｰ\nコーヒ-\nコーヒー\nこーひー\n",
       "こーひー\t1\r\nコーヒ-\t1\r\nコーヒー\t1\r\nｺｰﾋｰ\t1\r\n",
       "全4個のデータの中から、4 種類の類字データを抽出しました"},
      {"trailing marks kept",
       {"similar", "--no-hyphen-terminate"},
       "ｺｰﾋｰ\nコーヒ-\nコーヒ\n",
       "コーヒ-\t1\r\nｺｰﾋｰ\t1\r\n",
       "全3個のデータの中から、2 種類の類字データを抽出しました"},
      // デｰタ folds to the key of データ; デ-タ keeps its own.
      {"trailing marks without the hyphen option",
       {"similar", "--no-hyphen"},
       "データ－\nデーター\nデータ\nデ-タ\nデｰタ\n",
       "データ\t1\r\nデーター\t1\r\nデータ－\t1\r\nデｰタ\t1\r\n",
       "全5個のデータの中から、4 種類の類字データを抽出しました"},
      // The second byte of 堂 is 0xB0, the code of ｰ: not a trailing mark.
      {"trail byte is no long-vowel mark",
       {"similar", "--no-hyphen"},
       "食堂\n食堂ー\n",
       "食堂\t1\r\n食堂ー\t1\r\n",
       "全2個のデータの中から、2 種類の類字データを抽出しました"},
  };
  for (const auto& e : examples) Check(e);
}

TEST(BatchOutput, Grouping) {
  const std::string abc4 = "ＡＢＣ\nABC\nabc\nａｂｃ\n";
  const Example examples[] = {
      {"case merged",
       {"all", "--no-upper"},
       "ABC\nABC\nabc\n",
       "ABC\t3\r\n",
       "全3個のデータの中から、1 種類のデータを取得しました"},
      {"nothing merged with both distinctions",
       {"all"},
       abc4,
       "ABC\t1\r\nabc\t1\r\nＡＢＣ\t1\r\nａｂｃ\t1\r\n",
       "全4個のデータの中から、4 種類のデータを取得しました"},
      // Equal counts: the representative is the first of its group in the
      // order the list sort leaves for tied keys.
      {"width merged",
       {"all", "--no-zenkaku"},
       abc4,
       "ABC\t2\r\nａｂｃ\t2\r\n",
       "全4個のデータの中から、2 種類のデータを取得しました"},
      {"case merged, width kept",
       {"all", "--no-upper"},
       abc4,
       "abc\t2\r\nａｂｃ\t2\r\n",
       "全4個のデータの中から、2 種類のデータを取得しました"},
      {"everything merged",
       {"all", "--no-upper", "--no-zenkaku"},
       abc4,
       "ABC\t4\r\n",
       "全4個のデータの中から、1 種類のデータを取得しました"},
      // Two tied keys: the list sort exchanges them, so アイウ represents.
      {"tie of two",
       {"all", "--no-zenkaku"},
       "ｱｲｳ\nアイウ\n",
       "アイウ\t2\r\n",
       "全2個のデータの中から、1 種類のデータを取得しました"},
      // A tab sorts before the padding spaces.
      {"tab before padding",
       {"all", "--no-zenkaku", "--no-upper"},
       "a\nA\na\tb\n",
       "a\tb\t1\r\nA\t2\r\n",
       "全3個のデータの中から、2 種類のデータを取得しました"},
  };
  for (const auto& e : examples) Check(e);
}

// The kinds of variants join lines only when asked for, and map --explain
// names what differs.
TEST(BatchOutput, KindsOfVariants) {
  const std::string input =
      "渡辺\r\n渡辺\r\n渡邊\r\n㈱山田\r\n株式会社山田\r\n株式会社山田\r\n山田 太郎\r\n山田太郎\r\n"
      "山田太郎\r\nヴァイオリン\r\nバイオリン\r\nバイオリン\r\n佐々木\r\n佐佐木\r\n佐佐木\r\n"
      "斉藤\r\n斎藤\r\nｶﾞｯｺｳ\r\nガッコウ\r\nガッコウ\r\n";
  const Example examples[] = {
      {"no kinds",
       {"map", "--explain"},
       input,
       "ｶﾞｯｺｳ\tガッコウ\t1\t全角/半角\r\n",
       "全20個のデータの中から、2 種類の類字データを抽出しました"},
      {"all kinds",
       {"map", "--fold=all", "--explain"},
       input,
       "㈱山田\t株式会社山田\t1\t法人格\r\n"
       "佐々木\t佐佐木\t1\t異体字\r\n"
       "山田 太郎\t山田太郎\t1\t空白・中点\r\n"
       "渡邊\t渡辺\t1\t異体字\r\n"
       "ｶﾞｯｺｳ\tガッコウ\t1\t全角/半角\r\n"
       "ヴァイオリン\tバイオリン\t1\tカナ表記\r\n",
       "全20個のデータの中から、12 種類の類字データを抽出しました"},
      {"one kind",
       {"map", "--fold=kanji"},
       input,
       "佐々木\t佐佐木\t1\r\n渡邊\t渡辺\t1\r\nｶﾞｯｺｳ\tガッコウ\t1\r\n",
       "全20個のデータの中から、6 種類の類字データを抽出しました"},
      {"number",
       {"map", "--fold=number", "--explain"},
       "一丁目\r\n1丁目\r\n1丁目\r\n一郎\r\n1郎\r\n3ヶ月\r\n3か月\r\n3か月\r\n",
       "一丁目\t1丁目\t1\t数字表記\r\n3ヶ月\t3か月\t1\t数字表記\r\n",
       "全8個のデータの中から、4 種類の類字データを抽出しました"},
      {"okurigana",
       {"map", "--fold=okurigana", "--explain"},
       "申込書\r\n申し込み書\r\n申し込み書\r\n卸\r\n下ろし\r\n",
       "申込書\t申し込み書\t1\t送り仮名・かな書き\r\n",
       "全5個のデータの中から、2 種類の類字データを抽出しました"},
      {"normalize",
       {"normalize", "--fold=company,space"},
       "㈱山田\r\n株式会社山田\r\n株式会社山田\r\n山田 太郎\r\n",
       "株式会社山田\r\n株式会社山田\r\n株式会社山田\r\n山田 太郎\r\n",
       "全4個のデータの中から、2 種類の類字データを抽出しました"},
  };
  for (const Example& e : examples) Check(e);
}

TEST(BatchOutput, Utf8InAndOut) {
  TBatchOptions options = Options({"similar", "--utf8"});
  // 〜 (U+301C) folds as the wave dash ～ does and comes back as itself.
  const TBatchOutput out = RunBatch(options, "ユニット\r\nﾕﾆｯﾄ\r\nA〜B\r\nA～B\r\n");
  EXPECT_EQ(out.Out, "A～B\t1\r\nA〜B\t1\r\nユニット\t1\r\nﾕﾆｯﾄ\t1\r\n");
}

std::string Utf16(std::string_view utf8, bool bigEndian) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {  // BMP only
    const auto b = static_cast<unsigned char>(utf8[i]);
    const std::size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : 3;
    unsigned c = n == 1 ? b : n == 2 ? b & 0x1F : b & 0x0F;
    for (std::size_t k = 1; k < n; ++k)
      c = c << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    i += n;
    out += bigEndian ? std::string{char(c >> 8), char(c & 0xFF)}
                     : std::string{char(c & 0xFF), char(c >> 8)};
  }
  return out;
}

// Every encoding, recognised or named, gives the result of the same text in
// CP932, written back in that encoding with the input's BOM.
TEST(BatchOutput, EveryEncodingAsCp932) {
  const std::string text =
      "\xEF\xBB\xBFデータ\r\nﾃﾞｰﾀ\r\nデータ\r\n";  // BOM only in the first line's head
  const std::string plain = text.substr(3);
  const TBatchOutput reference = RunBatch(Options({"similar", "--encoding=cp932"}), Sjis(plain));
  ASSERT_FALSE(reference.Out.empty());
  const std::string utf8Out = cp932::ToUtf8(reference.Out);
  const struct {
    const char* name;
    std::vector<std::string_view> args;
    std::string in, out;
  } cases[] = {
      {"CP932 recognised", {"similar"}, Sjis(plain), reference.Out},
      {"UTF-8 recognised", {"similar"}, plain, utf8Out},
      {"UTF-8 BOM", {"similar"}, text, "\xEF\xBB\xBF" + utf8Out},
      {"UTF-8 BOM named", {"similar", "--utf8"}, text, "\xEF\xBB\xBF" + utf8Out},
      {"UTF-16LE BOM",
       {"similar"},
       "\xFF\xFE" + Utf16(plain, false),
       "\xFF\xFE" + Utf16(utf8Out, false)},
      {"UTF-16BE BOM",
       {"similar"},
       "\xFE\xFF" + Utf16(plain, true),
       "\xFE\xFF" + Utf16(utf8Out, true)},
      {"UTF-16LE named",
       {"similar", "--encoding", "utf16le"},
       Utf16(plain, false),
       Utf16(utf8Out, false)},
      {"UTF-16BE named",
       {"similar", "--encoding=utf16be"},
       Utf16(plain, true),
       Utf16(utf8Out, true)},
  };
  for (const auto& c : cases) {
    const TBatchOutput out = RunBatch(Options(c.args), c.in);
    EXPECT_EQ(out.Out, c.out) << c.name;
    EXPECT_EQ(out.Summary, reference.Summary) << c.name;
  }
  EXPECT_EQ(RunBatch(Options({"all"}),
                     "\xEF\xBB\xBF"
                     "abc\nabc\n")
                .Out,
            "\xEF\xBB\xBF"
            "abc\t2\r\n");
}

// Input not valid in its encoding is refused with its place, never merged
// into "?" lines. Invalid UTF-8 that is not named is read as CP932.
TEST(BatchOutput, InvalidInputIsRefused) {
  const struct {
    std::vector<std::string_view> args;
    std::string in, error;
  } cases[] = {
      {{"all", "--utf8"}, "?\n\xFF\n", "invalid UTF-8 in line 2 at byte offset 2"},
      {{"all", "--utf8"}, "a\r\nb\r\xED\xA0\x80", "invalid UTF-8 in line 3 at byte offset 5"},
      {{"all", "--utf8"}, "\xEF\xBB\xBF\xC0\xAF", "invalid UTF-8 in line 1 at byte offset 3"},
      {{"all", "--utf8"}, "\xF4\x90\x80\x80", "invalid UTF-8 in line 1 at byte offset 0"},
      {{"all"},
       "\xFF\xFE"
       "a\0\n\0\0\xDC"s,
       "invalid UTF-16LE in line 2 at byte offset 6"},
      {{"all", "--encoding=utf16be"}, "\0a\0"s, "invalid UTF-16BE in line 1 at byte offset 2"},
      {{"all"}, "x", ""},
      {{"all"}, "?\n\xFF\n", ""},
      // A NUL ends no text: everything after it would be lost.
      {{"all"}, "ab\nAB\n\0tail\n"s, "NUL character in line 3 at byte offset 6"},
      {{"normalize", "--utf8"}, "ab\n\0"s, "NUL character in line 2 at byte offset 3"},
      {{"similar", "--encoding=cp932"}, "\x82\0\n"s, "NUL character in line 1 at byte offset 1"},
      {{"map"},
       "\xFF\xFE"
       "a\0\n\0\0\0"s,
       "NUL character in line 2 at byte offset 6"},
      {{"all", "--utf8"}, "\xFF\0"s, "invalid UTF-8 in line 1 at byte offset 0"},
      // Plainly UTF-8 (eight valid sequences before the fault) is no CP932.
      {{"all"}, "データ\nデータ\nデー\xFF\n", "invalid UTF-8 in line 3 at byte offset 26"},
      {{"all"}, "データ\nデータ\nデ\xFF\n", ""},
      {{"all", "--encoding=cp932"}, "データ\nデータ\nデー\xFF\n", ""},
  };
  for (const auto& c : cases) {
    const TBatchOutput out = RunBatch(Options(c.args, TLanguage::English), c.in);
    EXPECT_EQ(out.Error, c.error) << c.in;
    EXPECT_TRUE(c.error.empty() || out.Out.empty()) << c.in;
  }
}

// Codes CP932 leaves unassigned, as some Shift-JIS variants write them, stay
// themselves: 0x8540 is no 〜 that would fold as ～ (0x8160).
TEST(BatchOutput, UnassignedCp932CodesStayThemselves) {
  EXPECT_EQ(RunBatch(Options({"similar"}), "\x81\x60\n\x85\x40\n\x81\x4A\n\x85\x49\n").Summary,
            kNone);
  EXPECT_EQ(RunBatch(Options({"all"}), "\x85\x40\n\xEF\x40\n\x85\x40\n").Out,
            "\x85\x40\t2\r\n\xEF\x40\t1\r\n");
}

// Such codes sort and group by the bytes the user gave, wherever they are
// kept escaped: 0x85 0x6F before ﾝ (0xDD), and its group before ﾝ's.
TEST(BatchOutput, UnassignedCp932CodesSortByTheirBytes) {
  const struct {
    std::vector<std::string_view> args;
    std::string in, out;
  } cases[] = {
      {{"all", "--encoding=cp932"}, "\xDD\n\x85o\n", "\x85o\t1\r\n\xDD\t1\r\n"},
      {{"all", "--no-count"},
       "\xE0\x40\n\xEB\x40\n\x86\x40\n\xDD\n\x88\x9F\n\xEF\x40z\n",
       "\x86\x40\r\n\x88\x9F\r\n\xDD\r\n\xE0\x40\r\n\xEB\x40\r\n\xEF\x40z\r\n"},
      {{"similar"},
       "\xDD\n\x85oa\n\x83\x93\n\x85oA\n",
       "\x85oA\t1\r\n\x85oa\t1\r\n\x83\x93\t1\r\n\xDD\t1\r\n"},
      {{"similar", "--no-zenkaku"},
       "\xDD\n\x85oa\n\x83\x93\n\x85oA\n",
       "\x85oA\t1\r\n\x85oa\t1\r\n\x83\x93\t1\r\n\xDD\t1\r\n"},
      {{"all", "--no-zenkaku"}, "\x83\x93\n\xDD\n\x85o\n\x83\x93\n", "\x85o\t1\r\n\x83\x93\t3\r\n"},
      {{"all", "--no-upper", "--no-count"}, "b\n\x85oA\nB\n\xDD\n", "B\r\n\x85oA\r\n\xDD\r\n"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(RunBatch(Options(c.args, TLanguage::English), c.in).Out, c.out) << c.in;
}

// Several files read as one input: each file's last line ends at its end,
// a later BOM is a mark, and each file is read in its own encoding.
TEST(BatchOutput, FilesAreReadOneAfterAnother) {
  const std::string bom = "\xEF\xBB\xBF";
  const struct {
    const char* name;
    std::vector<std::string_view> args;
    std::vector<TBatchInput> files;
    std::string out, error;
  } cases[] = {
      {"last line without a break",
       {"all"},
       {{"f1", "apple\nbanana"}, {"f2", "cherry\n"}},
       "apple\t1\r\nbanana\t1\r\ncherry\t1\r\n",
       ""},
      {"the break the text uses",
       {"normalize"},
       {{"f1", "a\r\nb"}, {"f2", "c"}, {"f3", "d\n"}},
       "a\r\nb\r\nc\r\nd\n",
       ""},
      {"a later BOM is a mark",
       {"all"},
       {{"f1", bom + "a\n"}, {"f2", bom + "a\n"}},
       bom + "a\t2\r\n",
       ""},
      {"ASCII files fit any",
       {"all", "--no-count"},
       {{"f1", "a\n"}, {"f2", "データ\n"}, {"f3", "b\n"}},
       "a\r\nb\r\nデータ\r\n",
       ""},
      {"a later file in UTF-8",
       {"all"},
       {{"f1", Sjis("データ\n")}, {"f2", "データ\n"}},
       Sjis("データ\t2\r\n"),
       ""},
      {"a later BOM of another encoding",
       {"all"},
       {{"f1", "データ\n"},
        {"f2",
         "\xFF\xFE"
         "a\0"s}},
       "a\t1\r\nデータ\t1\r\n",
       ""},
      {"a fault is the file's own",
       {"all", "--utf8"},
       {{"f1", "a\nb\n"}, {"-", "c\n\xFF"}},
       "",
       "-: invalid UTF-8 in line 2 at byte offset 2"},
      {"a NUL is the file's own",
       {"all"},
       {{"f1", "a\nb\n"}, {"f2", "\n\0"s}},
       "",
       "f2: NUL character in line 2 at byte offset 1"},
      {"named encoding reads every file",
       {"all", "--encoding=cp932"},
       {{"f1", "a\n"}, {"f2", "データ\n"}},
       "a\t1\r\nデータ\t1\r\n",
       ""},
  };
  for (const auto& c : cases) {
    std::vector<TBatchInput> files = c.files;
    const TBatchOutput out = RunBatch(Options(c.args, TLanguage::English), std::move(files));
    EXPECT_EQ(out.Error, c.error) << c.name;
    EXPECT_EQ(out.Out, c.out) << c.name;
  }
}

TEST(BatchArgs, Parsing) {
  const struct {
    std::vector<std::string_view> args;
    TBatchArgs::TAction action;
  } cases[] = {
      {{"all"}, TBatchArgs::TAction::Run},
      {{"--trim", "similar", "--utf8"}, TBatchArgs::TAction::Run},
      {{"--help"}, TBatchArgs::TAction::Help},
      {{"--version"}, TBatchArgs::TAction::Version},
      {{"all", "--version"}, TBatchArgs::TAction::Invalid},
      {{"all", "--encoding"}, TBatchArgs::TAction::Invalid},
      {{"all", "--encoding=latin1"}, TBatchArgs::TAction::Invalid},
      {{"in.txt", "all"}, TBatchArgs::TAction::Invalid},
      {{"-h"}, TBatchArgs::TAction::Help},
      {{}, TBatchArgs::TAction::Invalid},
      {{"--no-count"}, TBatchArgs::TAction::Invalid},
      {{"all", "--bogus"}, TBatchArgs::TAction::Invalid},
      {{"all", "--help"}, TBatchArgs::TAction::Invalid},
      {{"ALL"}, TBatchArgs::TAction::Invalid},
      {{"similar", "--fold=kanji,kana"}, TBatchArgs::TAction::Run},
      {{"map", "--fold", "all", "--explain"}, TBatchArgs::TAction::Run},
      {{"map", "--fold=kanji,"}, TBatchArgs::TAction::Invalid},
      {{"map", "--fold=Kanji"}, TBatchArgs::TAction::Invalid},
      {{"map", "--fold"}, TBatchArgs::TAction::Invalid},
      {{"all", "--fold=kanji"}, TBatchArgs::TAction::Invalid},
      {{"similar", "--explain"}, TBatchArgs::TAction::Invalid},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseBatchArgs(c.args).Action, c.action) << c.args.size();

  const std::vector<std::string_view> every{
      "similar",     "--no-zenkaku",          "--no-upper", "--trim", "--no-sort",
      "--no-hyphen", "--no-hyphen-terminate", "--no-count", "--utf8"};
  const TBatchOptions o = ParseBatchArgs(every).Options;
  EXPECT_TRUE(o.Similar && o.Trim && o.Encoding == TTextEncoding::Utf8);
  EXPECT_FALSE(o.Zenkaku || o.Upper || o.ExtractSort || o.Hyphen || o.HyphenTerminate ||
               o.CopyCount);
  const TBatchOptions d = Options({"all"});
  EXPECT_TRUE(!d.Similar && d.Zenkaku && d.Upper && !d.Trim && d.ExtractSort && d.Hyphen &&
              d.HyphenTerminate && d.CopyCount && !d.Encoding);
  EXPECT_EQ(d.Folds, 0u);
  EXPECT_EQ(Options({"normalize", "--fold=space,company,symbol"}).Folds, 4u | 32u | 8u);
  EXPECT_EQ(Options({"map", "--fold=compat", "--fold=all"}).Folds, 255u);
  EXPECT_EQ(Options({"map", "--fold=number"}).Folds, 64u);
  EXPECT_EQ(Options({"map", "--fold=okurigana"}).Folds, 128u);
  const std::vector<std::string_view> files{"all", "--trim", "a", "-", "--", "--b"};
  EXPECT_EQ(ParseBatchArgs(files).Files, (std::vector<std::string>{"a", "-", "--b"}));
}

// The built program, beside this test executable.
struct ProgramRun {
  int status = -1;
  std::string out, err;
};

// The languages a test can run the program in: either on POSIX (LC_ALL),
// on Windows only the user's display language.
std::vector<TLanguage> RunLanguages() {
  if (os::kWindows) return {UserLanguage()};
  return {TLanguage::English, TLanguage::Japanese};
}

// An argument "@in" names the input file, "@" + name a copy of it under
// that name (UTF-8); stdinFrom and stdoutTo replace the redirections from it
// and to the output file. The program speaks language (on Windows, where
// that cannot be chosen, the first of RunLanguages()).
ProgramRun RunProgram(const std::vector<std::string>& args, const std::string& input,
                      const std::string& stdinFrom = "", const std::string& stdoutTo = "",
                      TLanguage language = RunLanguages().front()) {
  const std::string program =
      ProgramFolder() + (os::kWindows ? "tavrin-batch.exe" : "tavrin-batch");
  EXPECT_TRUE(std::filesystem::exists(program)) << program;
  const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                    ("tavrin-batch-test-" + std::to_string(test::ProcessId()));
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "in", std::ios::binary) << input;
  const auto quoted = [](const std::string& s) {
    const char quote = os::kWindows ? '"' : '\'';
    return quote + s + quote;
  };
  std::string command = quoted(program);
  if (!os::kWindows)
    command = (language == TLanguage::Japanese ? "LC_ALL=ja_JP.UTF-8 " : "LC_ALL=C ") + command;
  for (const auto& a : args) {
    std::string arg = a;
    if (a == "@in") {
      arg = (dir / "in").string();
    } else if (a.starts_with("@")) {
      arg = test::InFolder(dir) + a.substr(1);
      std::filesystem::copy_file(dir / "in",
                                 std::filesystem::path(std::u8string(arg.begin(), arg.end())));
    }
    command += ' ';  // apart: " " + string draws a false -Wrestrict from GCC 12 at -O3
    command += quoted(arg);
  }
  // Standard output last, so that it may be a pipe ("| true"); a shell
  // that ignores SIGPIPE hands that on, so that a write to a closed pipe fails.
  if (!os::kWindows && stdoutTo.starts_with("|")) command = "trap '' PIPE; " + command;
  command += (stdinFrom.empty() ? " < " + quoted((dir / "in").string()) : " " + stdinFrom) +
             " 2> " + quoted((dir / "err").string()) +
             (stdoutTo.empty() ? " > " + quoted((dir / "out").string()) : " " + stdoutTo);
  ProgramRun run;
  run.status = test::RunCommandLine(command);
  const auto slurp = [](const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  };
  run.out = slurp(dir / "out");
  run.err = slurp(dir / "err");
  std::filesystem::remove_all(dir);
  return run;
}

TEST(BatchProgram, WritesTheCopyTextAndTheSummary) {
  const ProgramRun run = RunProgram({"similar"}, Sjis("ユニット\r\nユニット\r\nﾕﾆｯﾄ\r\n"));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "\x83\x86\x83\x6a\x83\x62\x83\x67\t2\r\n\xd5\xc6\xaf\xc4\t1\r\n");
  EXPECT_EQ(run.err, InLanguage(RunLanguages().front(), "2 similar lines out of 3 lines\n",
                                "全3個のデータの中から、2 種類の類字データを抽出しました\n"));
}

TEST(BatchProgram, EmptyResultWritesNothing) {
  const ProgramRun run = RunProgram({"all"}, "\r\n \r\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, InLanguage(RunLanguages().front(), "No data to show\n",
                                "表示するデータがありません\n"));
}

TEST(BatchProgram, Utf8) {
  const ProgramRun run = RunProgram({"all", "--utf8", "--no-count"}, "データ\nデータ\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "データ\r\n");
}

TEST(BatchProgram, BadArgumentsAndHelp) {
  for (const TLanguage language : RunLanguages()) {
    const ProgramRun bad = RunProgram({"all", "--colour"}, "x\n", "", "", language);
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(
        bad.err,
        InLanguage(language, "tavrin-batch: unknown option: --colour\nTry 'tavrin-batch --help'.\n",
                   "tavrin-batch: オプションが正しくありません: --colour\n"
                   "使い方は 'tavrin-batch --help' で確認してください。\n"));
    const ProgramRun help = RunProgram({"--help"}, "", "", "", language);
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with(InLanguage(language, "Usage: tavrin-batch all|similar",
                                                "使い方: tavrin-batch all|similar")));
    EXPECT_NE(help.out.find("--no-hyphen-terminate"), std::string::npos);
  }
  EXPECT_EQ(RunProgram({}, "").status, 2);
  if (!os::kWindows) {
    EXPECT_EQ(RunProgram({"--help"}, "", "", "> /dev/full").status, 1);
  }
  const ProgramRun version = RunProgram({"--version"}, "");
  EXPECT_EQ(version.out.rfind("tavrin-batch ", 0), 0u);
  EXPECT_NE(version.out.find("\nLicense: MIT "), std::string::npos);
}

// Inputs that cannot be read, and an output that cannot be written, fail
// with their name and the same words on every platform; nothing is written.
TEST(BatchProgram, InputFailures) {
  std::string many;  // more output than a pipe holds
  for (int i = 0; i < 20000; ++i) many += "line " + std::to_string(i) + "\n";
  const struct {
    std::vector<std::string> args;
    std::string input, stdinFrom, stdoutTo;
    const char* english;
    const char* japanese;
  } cases[] = {
      {{"all"},
       "x\n",
       "<&-",
       "",
       "standard input: Bad file descriptor",
       "標準入力: ストリームが開かれていません"},
      {{"all", "/nonexistent/x"},
       "",
       "",
       "",
       "/nonexistent/x: No such file or directory",
       "/nonexistent/x: ファイルまたはフォルダーが見つかりません"},
      {{"all", "--utf8"},
       "?\n\xFF\n",
       "",
       "",
       "invalid UTF-8 in line 2 at byte offset 2",
       "2 行目のバイト位置 2 に UTF-8 として正しくないバイトがあります"},
      // Windows' runtime calls a folder "Permission denied".
      {{"all", "."}, "", "", "", ".: Is a directory", ".: ファイルではなくフォルダーです"},
      {{"all"},
       many,
       "",
       "| true",
       "standard output: Broken pipe",
       "標準出力: 出力先のパイプが閉じられました"},
  };
  for (const TLanguage language : RunLanguages()) {
    for (const auto& c : cases) {
      // cmd can neither close a stream nor let a pipe's reader go first.
      if (os::kWindows && (c.stdinFrom == "<&-" || !c.stdoutTo.empty())) continue;
      const ProgramRun run = RunProgram(c.args, c.input, c.stdinFrom, c.stdoutTo, language);
      const std::string err =
          "tavrin-batch: " + std::string(InLanguage(language, c.english, c.japanese)) + "\n";
      if (c.stdoutTo.empty()) {  // else the status is the pipe's reader's
        EXPECT_EQ(run.status, 1) << err;
      }
      EXPECT_EQ(run.out, "") << err;
      EXPECT_EQ(run.err, err);
    }
  }
}

// Files and "-" are read in order as one input; a repeated BOM is no text,
// and a file's last line ends at its end.
TEST(BatchProgram, FilesAndStandardInput) {
  const ProgramRun run = RunProgram({"all", "--no-count", "@in", "-", "@in"},
                                    "\xEF\xBB\xBF"
                                    "a\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            "\xEF\xBB\xBF"
            "a\r\n");
  EXPECT_EQ(run.err, InLanguage(RunLanguages().front(), "1 distinct line out of 3 lines\n",
                                "全3個のデータの中から、1 種類のデータを取得しました\n"));
  const ProgramRun unended = RunProgram({"all", "@in", "-", "@in"}, "a");
  EXPECT_EQ(unended.out, "a\t3\r\n");
}

// Input with a NUL is refused by every command, with nothing written.
TEST(BatchProgram, NulIsRefused) {
  for (const std::string command : {"all", "similar", "map", "normalize"}) {
    const ProgramRun run = RunProgram({command}, "ab\nAB\nAB\n\0tail\nmore\n"s);
    EXPECT_EQ(run.status, 1) << command;
    EXPECT_EQ(run.out, "") << command;
    EXPECT_EQ(run.err, InLanguage(RunLanguages().front(),
                                  "tavrin-batch: NUL character in line 4 at byte offset 9\n",
                                  "tavrin-batch: 4 行目のバイト位置 9 に NUL 文字があります\n"))
        << command;
  }
}

// A dictionary that is missing or malformed is the user's to fix, as a bad
// argument is: status 2, the file named, nothing on standard output. The
// input is the dictionary file too.
TEST(BatchProgram, BadDictionaryExitsWithTwo) {
  const TLanguage language = RunLanguages().front();
  const struct {
    std::vector<std::string> args;
    std::string input, said;
  } cases[] = {
      {{"map", "--dict", "@in"}, "a\tb\r\nc\r\n", InLanguage(language, ": line 2: ", ": 2 行目: ")},
      {{"normalize", "--dict=no-such-dictionary.txt"}, "a\r\n", "no-such-dictionary.txt: "},
  };
  for (const auto& c : cases) {
    const ProgramRun run = RunProgram(c.args, c.input);
    EXPECT_EQ(run.status, 2) << c.args[1];
    EXPECT_EQ(run.out, "") << c.args[1];
    EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
  }
}

// A file name in Japanese reaches the program whatever the system's code
// page, and the file reads as standard input does.
TEST(BatchProgram, FileWithAJapaneseName) {
  const std::string input = Sjis("ユニット\r\nﾕﾆｯﾄ\r\n");
  const ProgramRun named = RunProgram({"similar", "@顧客データ.txt"}, input);
  EXPECT_EQ(named.status, 0) << named.err;
  EXPECT_EQ(named.out, RunProgram({"similar"}, input).out);
  EXPECT_NE(named.out, "");
}

}  // namespace
}  // namespace tavrin
