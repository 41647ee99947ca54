// The user's dictionary: its file, and its rules over the folds, the kinds
// and the frequency in similar, map and normalize.
#include "app/user_dictionary.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "app/batch_command.h"
#include "util/cp932.h"
#include "util/text_encoding.h"

namespace tavrin {
namespace {

using cp932::Sjis;
using namespace std::string_literals;
using TKind = TDictionaryError::TKind;

TEST(UserDictionary, ReadsEveryEncodingWithCommentsAndBlankLines) {
  const std::string text = "# 社名\r\n\r\n新社名\t旧社名\t新社\n!斉藤\t斎藤";
  const std::string files[] = {text, "\xEF\xBB\xBF" + text,
                               EncodeText(Sjis(text), TTextEncoding::Utf16Le, true),
                               EncodeText(Sjis(text), TTextEncoding::Utf16Be, true), Sjis(text)};
  for (const std::string& file : files) {
    TUserDictionary d;
    EXPECT_FALSE(ReadUserDictionary(file, d));
    ASSERT_EQ(d.Rules.size(), 2u);
    EXPECT_FALSE(d.Rules[0].Apart);
    EXPECT_EQ(d.Rules[0].Spellings,
              (std::vector<std::string>{Sjis("新社名"), Sjis("旧社名"), Sjis("新社")}));
    EXPECT_TRUE(d.Rules[1].Apart);
    EXPECT_EQ(d.Rules[1].Spellings, (std::vector<std::string>{Sjis("斉藤"), Sjis("斎藤")}));
  }
}

TEST(UserDictionary, MalformedLineIsNamedAndAddsNothing) {
  const struct {
    const char* name;
    std::string bytes;
    TKind kind;
    std::size_t line;
  } cases[] = {
      {"a single field, after a comment", "a\tb\r\n# c\r\nc\r\n", TKind::SingleField, 3},
      {"an apart rule with one field", "!a\n", TKind::SingleField, 1},
      {"an empty field inside", "a\t\tb\n", TKind::EmptyField, 1},
      {"a trailing TAB", "a\tb\t\n", TKind::EmptyField, 1},
      {"! alone before the TAB", "\n!\tb\n", TKind::EmptyField, 2},
      {"a NUL", "a\tb\nc\t\0d\n"s, TKind::Nul, 2},
      {"UTF-16 with an unpaired surrogate",
       "\xFF\xFE"
       "a\0\t\0b\0\n\0\x00\xD8\n\0"s,
       TKind::InvalidText, 2},
  };
  for (const auto& c : cases) {
    TUserDictionary d;
    d.Rules.push_back({false, {"x", "y"}});
    const std::optional<TDictionaryError> error = ReadUserDictionary(c.bytes, d);
    ASSERT_TRUE(error) << c.name;
    EXPECT_EQ(error->Kind, c.kind) << c.name;
    EXPECT_EQ(error->Line, c.line) << c.name;
    EXPECT_EQ(d.Rules.size(), 1u) << c.name;
  }
}

struct Case {
  const char* name;
  std::vector<std::string_view> args;
  std::vector<std::string> dictionaries;  // UTF-8, read in order
  std::string input;                      // UTF-8, run as CP932
  std::string expected;                   // UTF-8 with CR LF
};

void Check(const Case& c) {
  TBatchArgs parsed = ParseBatchArgs(c.args);
  ASSERT_EQ(parsed.Action, TBatchArgs::TAction::Run) << c.name;
  std::vector<TBatchInput> files;
  for (const std::string& d : c.dictionaries) files.push_back({"d.txt", d});
  EXPECT_EQ(ReadBatchDictionaries(std::move(files), parsed.Options), "") << c.name;
  const TBatchOutput out = RunBatch(parsed.Options, Sjis(c.input));
  EXPECT_EQ(cp932::ToUtf8(out.Out), c.expected) << c.name;
}

TEST(UserDictionary, RulesHoldOverFoldsKindsAndFrequency) {
  const Case cases[] = {
      {"a join no fold makes, the rule's canonical over the more frequent",
       {"map"},
       {"新社名\t旧社名"},
       "旧社名\n新社名\n旧社名\n",
       "旧社名\t新社名\t2\r\n"},
      {"a canonical spelling absent from the input",
       {"map"},
       {"新社名\t旧社名"},
       "旧社名\nほか\n",
       "旧社名\t新社名\t1\r\n"},
      {"a line that folds to a spelling joins",
       {"map"},
       {"ABC商事\tエービーシー商事"},
       "ＡＢＣ商事\nエービーシー商事\n",
       "ＡＢＣ商事\tABC商事\t1\r\nエービーシー商事\tABC商事\t1\r\n"},
      {"apart over the width fold", {"similar"}, {"!ｲﾄｳ\tイトウ"}, "ｲﾄｳ\nイトウ\n", ""},
      {"a line that folds to both follows the second",
       {"map"},
       {"!ｲﾄｳ\tイトウ"},
       "ｲﾄｳ\nイトウ\nいとう\nイトウ\n",
       "いとう\tイトウ\t1\r\n"},
      {"apart over a kind that joins",
       {"map", "--fold=kanji"},
       {"!渡邊\t渡辺"},
       "渡邊\n渡辺\n",
       ""},
      {"a join with the kind off", {"map"}, {"渡辺\t渡邊"}, "渡邊\n渡辺\n", "渡邊\t渡辺\t1\r\n"},
      {"a canonical against the kind's frequency",
       {"map", "--fold=kanji"},
       {"渡辺\t渡邊"},
       "渡邊\n渡邊\n渡辺\n",
       "渡邊\t渡辺\t2\r\n"},
      {"apart after a join", {"map"}, {"A\tB\n!A\tB"}, "A\nB\n", ""},
      {"a join after an apart", {"map"}, {"!A\tB\nA\tB"}, "A\nB\n", "B\tA\t1\r\n"},
      {"a later file over an earlier one", {"map"}, {"A\tB", "!A\tB"}, "A\nB\n", ""},
      {"a chain of joins takes the later canonical",
       {"map"},
       {"A\tB\nC\tB"},
       "A\nB\nC\n",
       "A\tC\t1\r\nB\tC\t1\r\n"},
      {"a join, then one of it apart from a line the case fold joins",
       {"map"},
       {"エービー\tAB\n!AB\tab"},
       "エービー\nAB\nab\nab\nＡＢ\n",
       "AB\tエービー\t1\r\nＡＢ\tab\t1\r\n"},
      {"explained as the user's where a rule names it or no fold reaches",
       {"map", "--explain"},
       {"新社名\t旧社名"},
       "旧社名\n新社名\n",
       "旧社名\t新社名\t1\t辞書\r\n"},
      {"a line that folds to the rule's spelling keeps its fold's reason",
       {"map", "--explain"},
       {"ABC商事\tエービーシー商事"},
       "ＡＢＣ商事\nABC商事\n",
       "ＡＢＣ商事\tABC商事\t1\t全角/半角\r\n"},
      {"normalize writes the rule's spelling",
       {"normalize"},
       {"新社名\t旧社名"},
       "旧社名\r\nx\r\n旧社名\r\n",
       "新社名\r\nx\r\n新社名\r\n"},
  };
  for (const Case& c : cases) Check(c);
}

TEST(UserDictionary, BatchErrorNamesTheFileAndLine) {
  TBatchOptions options;
  options.Language = TLanguage::English;
  EXPECT_EQ(ReadBatchDictionaries({{"a.txt", "A\tB\n"}, {"b.txt", "# x\nA\t\n"}}, options),
            "b.txt: line 2: empty field");
  EXPECT_EQ(ParseBatchArgs(std::vector<std::string_view>{"all", "--dict", "d.txt"}).Action,
            TBatchArgs::TAction::Invalid);
  EXPECT_EQ(
      ParseBatchArgs(std::vector<std::string_view>{"map", "--dict", "a", "--dict=b"}).Dictionaries,
      (std::vector<std::string>{"a", "b"}));
}

}  // namespace
}  // namespace tavrin
