// The user's dictionary in the window's logic: read beside the settings
// file at each [類字抽出], told and left out when malformed, and followed by
// the list, the tool-tips and F8 as the batch follows it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/batch_command.h"
#include "app/main_form.h"
#include "tests/app/fake_main_view.h"
#include "util/cp932.h"

namespace tavrin {
namespace {

using cp932::Sjis;

void WriteDictionary(const FakeWindow& w, const std::string& utf8) {
  std::ofstream((w.folder.Path() / "tavrin-dict.txt"), std::ios::binary) << utf8;
}

std::string ReadDictionary(const FakeWindow& w) {
  std::ifstream in(w.folder.Path() / "tavrin-dict.txt", std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::size_t RowOf(const FakeWindow& w, const std::string& utf8) {
  const std::vector<std::string> captions = w.Captions();
  return static_cast<std::size_t>(std::find(captions.begin(), captions.end(), utf8) -
                                  captions.begin());
}

TEST(MainFormDictionaryTest, ReadAtEachExtractionBesideTheSettingsFile) {
  FakeWindow w;
  EXPECT_EQ(w.form.DictionaryFile(), (w.folder.Path() / "tavrin-dict.txt").string());
  w.Clip({"旧社名", "新社名", "旧社名", "ｲﾄｳ", "イトウ"});
  WriteDictionary(w, "新社名\t旧社名\n!ｲﾄｳ\tイトウ\n");
  w.form.FormKeyDown(TKey::F5, kShiftNone);
  EXPECT_EQ(w.Captions(), (std::vector<std::string>{"旧社名", "新社名"}));
  ASSERT_EQ(w.form.List().Groups().size(), 1u);
  EXPECT_EQ(cp932::ToUtf8(std::string(w.form.List().Groups()[0].CanonicalText())), "新社名");
  EXPECT_EQ(cp932::ToUtf8(w.form.List().ToolTip(0)),
            "正規の表記: 新社名\r理由: 辞書\r「旧」 U+65E7 → 「新」 U+65B0");

  // An edit made meanwhile applies at the next command.
  WriteDictionary(w, "# 空\n");
  w.form.FormKeyDown(TKey::F5, kShiftNone);
  EXPECT_EQ(w.Captions(), (std::vector<std::string>{"イトウ", "ｲﾄｳ"}));
  EXPECT_TRUE(w.view.Messages.empty());
}

TEST(MainFormDictionaryTest, MalformedFileIsToldAndLeftOut) {
  FakeWindow w;
  w.Clip({"旧社名", "新社名", "ｲﾄｳ", "イトウ"});
  WriteDictionary(w, "新社名\t旧社名\n旧社名\n");
  w.form.FormKeyDown(TKey::F5, kShiftNone);
  ASSERT_EQ(w.view.Messages.size(), 1u);
  EXPECT_EQ(w.view.Messages[0].Kind, MessageKind::Warning);
  EXPECT_EQ(w.LastMessage(),
            "tavrin-dict.txt の 2 行目に項目が一つしかありません。辞書を使わずに実行します\r" +
                w.form.DictionaryFile());
  EXPECT_EQ(w.Captions(), (std::vector<std::string>{"イトウ", "ｲﾄｳ"}));
}

// A message box runs the event loop, which paints the list: a warning met
// while the dictionary is read again must find no row whose group still
// refers to the rules read before.
TEST(MainFormDictionaryTest, ListPaintedUnderAWarningOutlivesNoRule) {
  FakeWindow w;
  w.Clip({"旧社名", "イトウ"});
  WriteDictionary(w, "新社名\t旧社名\n");
  w.form.FormKeyDown(TKey::F5, kShiftNone);
  ASSERT_EQ(w.form.List().Count(), 1);
  WriteDictionary(w, "新社名\t旧社名\n旧社名\n");
  std::vector<std::string> painted;
  w.view.OnMessage = [&] {
    const TResultList& list = w.form.List();
    if (w.view.Messages.back().Kind != MessageKind::Warning) return;
    for (int row = 0; row < list.Count(); ++row)
      if (const int group = list.GroupOf(row); group >= 0)
        painted.emplace_back(list.Group(group).CanonicalText());
  };
  w.view.Clipboard = "";  // no lines: the collection is kept and listed again
  w.form.FormKeyDown(TKey::F5, kShiftNone);
  EXPECT_EQ(w.view.Messages.size(), 2u);
  EXPECT_TRUE(painted.empty());
}

// F8 writes what normalize --dict writes for the same lines and file, also
// where the rule's canonical spelling is not among them.
TEST(MainFormDictionaryTest, NormalizedCopyIsTheBatchs) {
  const std::string dictionary = "新社名\t旧社名\nABC商事\tエービーシー商事\n!ｲﾄｳ\tイトウ\n";
  const std::string lines =
      "旧社名\r\nＡＢＣ商事\r\nエービーシー商事\r\nABC商事\r\nｲﾄｳ\r\nイトウ\r\n";
  FakeWindow w;
  WriteDictionary(w, dictionary);
  w.view.Clipboard = Sjis(lines);
  w.form.FormKeyDown(TKey::F5, kShiftNone);
  w.form.FormKeyDown(TKey::F8, kShiftNone);

  TBatchOptions options = ParseBatchArgs(std::vector<std::string_view>{"normalize"}).Options;
  ASSERT_EQ(ReadBatchDictionaries({{"tavrin-dict.txt", dictionary}}, options), "");
  const std::string batch = RunBatch(options, Sjis(lines)).Out;
  EXPECT_EQ(cp932::ToUtf8(batch), "新社名\r\nABC商事\r\nABC商事\r\nABC商事\r\nｲﾄｳ\r\nイトウ\r\n");
  EXPECT_EQ(w.view.Clipboard, batch);
}

// Each menu command writes its line (a new file is UTF-8 with a BOM, an
// existing one keeps its encoding), lists again with the same rows
// selected, and is undone step by step, the file written back.
TEST(MainFormDictionaryTest, MenuCommandsWriteTheirLineAndUndo) {
  const std::string bom = "\xEF\xBB\xBF";
  FakeWindow w;
  w.Clip({"ｲﾄｳ", "イトウ", "いとう", "イトウ", "佐藤", "サトウ"});
  w.form.FormKeyDown(TKey::F5, kShiftNone);
  ASSERT_EQ(w.Captions(), (std::vector<std::string>{"いとう", "イトウ", "ｲﾄｳ"}));

  w.view.SelectRows({RowOf(w, "ｲﾄｳ")}, RowOf(w, "ｲﾄｳ"));
  w.form.pmMakeCanonicalClick();
  EXPECT_EQ(ReadDictionary(w), bom + "ｲﾄｳ\tいとう\tイトウ\r\n");
  EXPECT_EQ(cp932::ToUtf8(std::string(w.form.List().Groups()[0].CanonicalText())), "ｲﾄｳ");
  EXPECT_EQ(w.view.SelectedRows(), (std::vector<std::size_t>{RowOf(w, "ｲﾄｳ")}));

  // The group's line is rewritten, not added to.
  w.view.SelectRows({RowOf(w, "いとう")}, RowOf(w, "いとう"));
  w.form.pmMakeCanonicalClick();
  EXPECT_EQ(ReadDictionary(w), bom + "いとう\tｲﾄｳ\tイトウ\r\n");

  w.view.SelectRows({RowOf(w, "イトウ")}, RowOf(w, "イトウ"));
  w.form.pmLeaveGroupClick();
  EXPECT_EQ(ReadDictionary(w), bom + "いとう\tｲﾄｳ\tイトウ\r\n!いとう\tイトウ\r\n");
  EXPECT_EQ(w.Captions(), (std::vector<std::string>{"いとう", "ｲﾄｳ"}));

  ASSERT_TRUE(w.form.FormKeyDown(TKey::Z, kShiftCtrl));
  EXPECT_EQ(ReadDictionary(w), bom + "いとう\tｲﾄｳ\tイトウ\r\n");
  EXPECT_EQ(w.Captions(), (std::vector<std::string>{"いとう", "イトウ", "ｲﾄｳ"}));
  ASSERT_TRUE(w.form.UndoDictionaryChange());
  ASSERT_TRUE(w.form.UndoDictionaryChange());
  EXPECT_FALSE(std::filesystem::exists(w.folder.Path() / "tavrin-dict.txt"));
  EXPECT_FALSE(w.form.UndoDictionaryChange());

  // Rows no fold joins, in a CP932 file with a comment: the first selected
  // is canonical, and the file stays CP932.
  WriteDictionary(w, Sjis("# 取引先\r\n"));
  w.Clip({"ｲﾄｳ", "イトウ", "ｻﾄｳ", "サトウ"});
  w.form.FormKeyDown(TKey::F5, kShiftNone);
  w.view.SelectRows({RowOf(w, "イトウ"), RowOf(w, "サトウ")}, RowOf(w, "サトウ"));
  w.form.pmJoinSelectedClick();
  EXPECT_EQ(ReadDictionary(w), Sjis("# 取引先\r\nイトウ\tサトウ\r\n"));
  ASSERT_EQ(w.form.List().Groups().size(), 1u);
  EXPECT_EQ(cp932::ToUtf8(std::string(w.form.List().Groups()[0].CanonicalText())), "イトウ");
}

// Each item's key acts as the item does, and only where the menu enables
// the item; the menu shows the key the table gives it.
TEST(MainFormDictionaryTest, KeysActWhereTheirItemsAreEnabled) {
  struct Case {
    const char* name;
    TControl item;
    TKey key;
    TShiftState shift;
    const char* keyText;
    std::vector<std::string> selected;  // the last one current
    std::string line;                   // what the key writes; empty: the item is disabled
  };
  const Case cases[] = {
      {"canonical",
       TControl::pmMakeCanonical,
       TKey::K,
       kShiftCtrl,
       "Ctrl+K",
       {"ｲﾄｳ"},
       "ｲﾄｳ\tいとう\tイトウ"},
      {"outside a group", TControl::pmMakeCanonical, TKey::K, kShiftCtrl, "Ctrl+K", {}, ""},
      {"leave",
       TControl::pmLeaveGroup,
       TKey::G,
       kShiftCtrl | kShiftShift,
       "Ctrl+Shift+G",
       {"ｲﾄｳ"},
       "!イトウ\tｲﾄｳ"},
      {"the canonical row stays",
       TControl::pmLeaveGroup,
       TKey::G,
       kShiftCtrl | kShiftShift,
       "Ctrl+Shift+G",
       {"イトウ"},
       ""},
      {"join",
       TControl::pmJoinSelected,
       TKey::G,
       kShiftCtrl,
       "Ctrl+G",
       {"イトウ", "サトウ"},
       "イトウ\tサトウ"},
      {"join one row", TControl::pmJoinSelected, TKey::G, kShiftCtrl, "Ctrl+G", {"イトウ"}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeWindow w;
    w.Clip({"ｲﾄｳ", "イトウ", "いとう", "イトウ", "ｻﾄｳ", "サトウ"});
    w.form.FormKeyDown(TKey::F5, kShiftNone);
    std::vector<std::size_t> rows;
    for (const std::string& text : c.selected) rows.push_back(RowOf(w, text));
    std::sort(rows.begin(), rows.end());
    w.view.SelectRows(
        rows, c.selected.empty() ? std::nullopt : std::optional(RowOf(w, c.selected.back())));
    EXPECT_EQ(TMainForm::MenuKeyText(c.item), c.keyText);
    w.form.PopupMenu1Popup();
    EXPECT_EQ(w.view.Enabled[c.item], !c.line.empty());
    EXPECT_FALSE(w.view.Enabled[TControl::pmUndoDictionary]);
    EXPECT_TRUE(w.form.FormKeyDown(c.key, c.shift));
    EXPECT_EQ(ReadDictionary(w), c.line.empty() ? "" : "\xEF\xBB\xBF" + c.line + "\r\n");
    if (c.line.empty()) continue;
    w.form.PopupMenu1Popup();
    EXPECT_TRUE(w.view.Enabled[TControl::pmUndoDictionary]);
    EXPECT_FALSE(w.form.FormKeyDown(TKey::G, kShiftNone));  // a letter alone is the list's
  }
}

// The list, listed again, shows at its top the row it showed there, even
// where rows above it left.
TEST(MainFormDictionaryTest, ChangeKeepsTheTopRow) {
  FakeWindow w;
  w.Clip({"ｲﾄｳ", "イトウ", "いとう", "イトウ", "ｻﾄｳ", "サトウ"});
  w.form.FormKeyDown(TKey::F5, kShiftNone);
  w.view.SelectRows({RowOf(w, "ｲﾄｳ")}, RowOf(w, "ｲﾄｳ"));
  const std::size_t top = RowOf(w, "サトウ");
  w.view.SetTopRow(top);
  w.form.pmLeaveGroupClick();
  ASSERT_EQ(RowOf(w, "サトウ"), top - 1);
  EXPECT_EQ(w.view.Top, top - 1);
}

}  // namespace
}  // namespace tavrin
