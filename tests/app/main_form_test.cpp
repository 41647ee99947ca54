// The main window's logic over a fake view: the commands, the key table,
// the list's sort and selection, copy and delete, the guidance, the
// settings dialog's transfer, closing, and the options a result keeps.
#include "app/main_form.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <tuple>

#include "app/command_texts.h"
#include "engine/unique_manager.h"
#include "settings/ini_file.h"
#include "tests/app/fake_main_view.h"
#include "util/cp932.h"
#include "util/stopwatch.h"

namespace tavrin {
namespace {

using cp932::Sjis;

// Ten rows a0 .. a9, a<i> counted i + 1 times, listed by [全データ].
void ListTen(FakeWindow& w) {
  std::vector<std::string> lines;
  for (int i = 0; i < 10; ++i)
    // Appended, not "a" + string: that draws a false -Wrestrict from GCC 12 at -O3.
    for (int k = 0; k <= i; ++k) lines.push_back(std::string("a").append(std::to_string(i)));
  w.Clip(lines);
  w.form.sbGetAllDataClick(TControl::sbGetAllData);
  ASSERT_EQ(w.form.List().Count(), 10);
}

TEST(MainFormTest, ExtractionListsThePairWithItsCountsAndBeepsOnce) {
  FakeWindow w;
  w.Clip({"ｶﾀｶﾅ", "カタカナ", "カタカナ"});
  EXPECT_TRUE(w.form.FormKeyDown(TKey::F5, kShiftNone));
  ASSERT_EQ(w.form.List().Count(), 2);
  EXPECT_EQ(cp932::ToUtf8(w.view.Statuses.back()),
            "全3個のデータの中から、2 種類の類字データを抽出しました");
  EXPECT_EQ(w.view.Beeps, 1);  // the build inside does not beep
  EXPECT_TRUE(w.view.Messages.empty());
  EXPECT_FALSE(w.form.FGuidePending);
  EXPECT_EQ(w.view.WaitDepth, 0);
  EXPECT_GT(w.view.Waits, 0);
}

// The summary counts the lines of the collection the last build made: a
// smaller build after a larger one, and no build at all (nothing but blank
// lines: the collection and its rows stay).
TEST(MainFormTest, SummaryCountsTheLastBuildsLines) {
  const struct {
    std::vector<std::string> lines;
    TKey key;
    const char* status;
  } steps[] = {
      {{"b", "a", "b", "c"}, TKey::F6, "全4個のデータの中から、3 種類のデータを取得しました"},
      {{"ｶﾀｶﾅ", "カタカナ"}, TKey::F5, "全2個のデータの中から、2 種類の類字データを抽出しました"},
      {{"", " "}, TKey::F6, "全2個のデータの中から、2 種類のデータを取得しました"},
  };
  FakeWindow w;
  for (const auto& step : steps) {
    w.Clip(step.lines);
    w.form.FormKeyDown(step.key, kShiftNone);
    EXPECT_EQ(cp932::ToUtf8(w.view.Statuses.back()), step.status) << step.status;
  }
}

// Progress texts are spaced by the clock: with a clock that stands still only
// the first shows; with one that moves on half the interval at each reading,
// every second percentage; with the whole interval, every percentage. The
// organising text and the summary always follow.
TEST(MainFormTest, ProgressTextsAtMostOncePerInterval) {
  constexpr std::uint32_t interval = TMainForm::kProgressMilliseconds;
  const struct {
    std::uint32_t step;
    std::size_t progressTexts;
    int lastPercent;
  } cases[] = {{0, 1, 0}, {interval / 2, 50, 98}, {interval, 100, 99}};
  for (const auto& c : cases) {
    std::uint32_t now = 0;
    const MillisecondClock previous = SetMillisecondClock([&] { return now += c.step; });
    FakeWindow w;
    std::vector<std::string> lines;
    for (int i = 0; i < 1000; ++i) lines.push_back("x" + std::to_string(i % 30));
    w.Clip(lines);
    w.view.Statuses.clear();
    w.form.sbGetAllDataClick(TControl::sbGetAllData);
    SetMillisecondClock(previous);
    const std::vector<std::string>& s = w.view.Statuses;
    ASSERT_EQ(s.size(), c.progressTexts + 2) << c.step;
    EXPECT_EQ(s.front(), ProgressText(0)) << c.step;
    EXPECT_EQ(s[c.progressTexts - 1], ProgressText(c.lastPercent)) << c.step;
    EXPECT_EQ(s[c.progressTexts], OrganizingText()) << c.step;
    EXPECT_EQ(w.form.List().Count(), 30) << c.step;
  }
}

TEST(MainFormTest, AllDataByKeyAndByButtonAgree) {
  FakeWindow w;
  w.Clip({"b", "a", "", "b"});
  w.form.sbGetAllDataClick(TControl::sbGetAllData);
  const auto byClick = w.Captions();
  const std::string status = w.view.Statuses.back();
  w.form.FormKeyDown(TKey::F6, kShiftNone);
  EXPECT_EQ(w.Captions(), byClick);
  EXPECT_EQ(w.view.Statuses.back(), status);
  EXPECT_EQ(byClick, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(cp932::ToUtf8(status), "全3個のデータの中から、2 種類のデータを取得しました");
  EXPECT_EQ(w.view.Beeps, 2);
}

TEST(MainFormTest, NoTextAndBlankTextAreDifferentMessagesAndKeepTheResult) {
  FakeWindow w;
  w.Clip({"x", "y"});
  w.form.sbGetAllDataClick(TControl::sbGetAllData);
  w.view.Clipboard.reset();
  w.form.sbGetAllDataClick(TControl::sbGetAllData);
  ASSERT_EQ(w.view.Messages.size(), 1u);
  EXPECT_EQ(w.view.Messages[0].Kind, MessageKind::Error);
  w.view.Clipboard = "\r\n \r\n";
  w.form.sbGetAllDataClick(TControl::sbGetAllData);
  ASSERT_EQ(w.view.Messages.size(), 2u);
  EXPECT_NE(w.view.Messages[1].Text, w.view.Messages[0].Text);
  EXPECT_EQ(w.Captions(), (std::vector<std::string>{"x", "y"}));
}

// A replaced result's text lends its memory to the next read; the result
// built from that read keeps its own text (F8 writes it back).
TEST(MainFormTest, AReplacedResultsTextServesTheNextRead) {
  FakeWindow w;
  const std::string first(5000, 'a');
  w.view.Clipboard = first;
  w.form.FormKeyDown(TKey::F6, kShiftNone);
  w.Clip({"b"});
  w.form.FormKeyDown(TKey::F6, kShiftNone);
  EXPECT_LT(w.view.RoomOffered, first.size());  // the first text is still the result's
  w.Clip({"ユニット", "ﾕﾆｯﾄ"});
  w.form.FormKeyDown(TKey::F5, kShiftNone);
  EXPECT_GE(w.view.RoomOffered, first.size());
  w.form.FormKeyDown(TKey::F8, kShiftNone);
  EXPECT_EQ(cp932::ToUtf8(*w.view.Clipboard), "ユニット\r\nユニット\r\n");
}

TEST(MainFormTest, ReplacedCharactersAreReportedBeforeListing) {
  FakeWindow w;
  w.Clip({"a"});
  w.view.ClipboardReplaced = 3;
  w.form.sbGetAllDataClick(TControl::sbGetAllData);
  ASSERT_EQ(w.view.Messages.size(), 1u);
  EXPECT_EQ(w.view.Messages[0],
            (FakeMainView::TMessage{MessageKind::Warning, ReplacedCharactersMessage(3)}));
  EXPECT_EQ(w.form.List().Count(), 1);
}

// The key table: which keys act, and what each leaves on the clipboard.
TEST(MainFormTest, KeyTable) {
  struct Case {
    TKey key;
    TShiftState shift;
    bool taken;
    const char* clipboard;  // after the key, with rows 2, 5 and 7 selected
  };
  const Case cases[] = {
      {TKey::Return, kShiftNone, true, "a2\t3\r\na5\t6\r\na7\t8\r\n"},
      {TKey::C, kShiftCtrl, true, "a2\t3\r\na5\t6\r\na7\t8\r\n"},
      {TKey::C, kShiftCtrl | kShiftShift, true, "a2\t3\r\na5\t6\r\na7\t8\r\n"},
      {TKey::C, kShiftNone, false, "kept"},
      {TKey::Escape, kShiftNone, false, "kept"},
      {TKey::None, kShiftCtrl, false, "kept"},
  };
  for (const Case& c : cases) {
    FakeWindow w;
    ListTen(w);
    w.view.Selection = {2, 5, 7};
    w.view.Clipboard = "kept";
    w.view.Messages.clear();
    EXPECT_EQ(w.form.FormKeyDown(c.key, c.shift), c.taken) << int(c.key);
    EXPECT_EQ(*w.view.Clipboard, c.clipboard) << int(c.key);
    EXPECT_EQ(w.view.Messages.size(), c.taken ? 1u : 0u) << int(c.key);
  }
}

// The auto-repeat of a held key: Delete and Ctrl+A act again, as the list's
// own keys; a command key acts once a press, so a held F5 does not rerun the
// extraction, nor a held Enter copy and tell it, again and again.
TEST(MainFormTest, HeldKeysRepeatOnlyTheListEdits) {
  const struct {
    TKey key;
    TShiftState shift;
    bool acts;
  } kCases[] = {
      {TKey::F1, kShiftNone, false},     {TKey::F5, kShiftNone, false},
      {TKey::F6, kShiftNone, false},     {TKey::F7, kShiftNone, false},
      {TKey::F8, kShiftNone, false},     {TKey::F9, kShiftNone, false},
      {TKey::Return, kShiftNone, false}, {TKey::C, kShiftCtrl, false},
      {TKey::Delete, kShiftNone, true},  {TKey::A, kShiftCtrl, true},
  };
  for (const auto& c : kCases) {
    FakeWindow w;
    ListTen(w);
    w.view.Selection = {2};
    const auto seen = [&] {
      return std::tuple(w.view.Waits, w.view.Messages.size(), w.view.Opened.size(),
                        w.view.Written.size(), w.view.Selection, w.form.List().Count());
    };
    const auto before = seen();
    EXPECT_EQ(w.form.FormKeyDown(c.key, c.shift, true), c.acts) << int(c.key);
    EXPECT_EQ(seen() != before, c.acts) << int(c.key);
  }
}

// Ctrl+A selects every row and leaves the current row where it is; the
// plain key is not the window's.
TEST(MainFormTest, CtrlASelectsEveryRow) {
  FakeWindow w;
  ListTen(w);
  w.view.SelectRows({2}, 5);
  EXPECT_FALSE(w.form.FormKeyDown(TKey::A, kShiftNone));
  EXPECT_EQ(w.view.Selection, (std::vector<std::size_t>{2}));
  EXPECT_TRUE(w.form.FormKeyDown(TKey::A, kShiftCtrl));
  EXPECT_EQ(w.view.Selection, (std::vector<std::size_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_EQ(w.view.Current, std::optional<std::size_t>(5));
  EXPECT_TRUE(w.view.Messages.empty());
}

TEST(MainFormTest, CopyAllSelectedAndNothing) {
  FakeWindow w;
  w.view.Clipboard = "kept";
  w.form.pmCopySelectClick(TControl::sbCopyAll);  // an empty list
  EXPECT_EQ(w.LastMessage(), "コピーする文字列を表示させた後、このボタンをクリックしてください");
  EXPECT_EQ(*w.view.Clipboard, "kept");
  ListTen(w);
  const int beeps = w.view.Beeps;
  w.form.FormKeyDown(TKey::F7, kShiftNone);
  EXPECT_EQ(w.LastMessage(), "全てのデータをクリップボードにコピーしました");
  EXPECT_EQ(w.view.Beeps, beeps + 1);
  w.view.Clipboard = "what the user copied";
  w.form.FormKeyDown(TKey::Return, kShiftNone);  // nothing selected
  EXPECT_EQ(*w.view.Clipboard, "what the user copied");
  EXPECT_EQ(w.LastMessage(), "選択されたデータがありません");
  EXPECT_EQ(w.view.Beeps, beeps + 1);
  w.form.FCopyCount = false;
  w.view.Selection = {3};
  w.form.lvResultDblClick();
  EXPECT_EQ(*w.view.Clipboard, "a3\r\n");
}

// A clipboard that refuses the text (another program holds it open) is
// told as an error; nothing claims the copy was made, and nothing beeps.
TEST(MainFormTest, RefusedClipboardIsToldAndNotReportedAsCopied) {
  const std::vector<std::pair<const char*, std::function<void(FakeWindow&)>>> copies = {
      {"all rows", [](FakeWindow& w) { w.form.FormKeyDown(TKey::F7, kShiftNone); }},
      {"selected rows",
       [](FakeWindow& w) {
         w.view.Selection = {0};
         w.form.FormKeyDown(TKey::Return, kShiftNone);
       }},
      {"normalized", [](FakeWindow& w) { w.form.pmCopyNormalizedClick(); }},
      {"map", [](FakeWindow& w) { w.form.pmCopyMapClick(); }},
      {"diagnostics", [](FakeWindow& w) { w.form.imgHelpMouseDown(TMouseButton::Right); }},
  };
  for (const auto& [name, copy] : copies) {
    FakeWindow w;
    w.Clip({"ｶﾀｶﾅ", "カタカナ", "カタカナ"});
    w.form.FormKeyDown(TKey::F5, kShiftNone);
    ASSERT_EQ(w.form.List().Count(), 2) << name;
    w.view.ConfirmAnswer = true;
    w.view.ClipboardTakes = false;
    const int beeps = w.view.Beeps;
    w.view.Messages.clear();
    copy(w);
    ASSERT_FALSE(w.view.Messages.empty()) << name;
    EXPECT_EQ(w.view.Messages.back().Kind, MessageKind::Error) << name;
    EXPECT_EQ(w.LastMessage().rfind("クリップボードにコピーできませんでした", 0), 0u) << name;
    EXPECT_EQ(w.view.Beeps, beeps) << name;
    EXPECT_TRUE(w.view.Written.empty()) << name;
  }
}

TEST(MainFormTest, DeleteRemovesTheSelectedRowsQuietly) {
  FakeWindow w;
  ListTen(w);
  const int beeps = w.view.Beeps;
  const std::size_t statuses = w.view.Statuses.size();
  w.view.Selection = {0, 4, 9};
  TUniqueItem* deleted = w.form.List().Row(4).Item;
  w.form.FormKeyDown(TKey::Delete, kShiftNone);
  EXPECT_EQ(w.Captions(), (std::vector<std::string>{"a1", "a2", "a3", "a5", "a6", "a7", "a8"}));
  EXPECT_FALSE(deleted->Shown());
  EXPECT_EQ(w.view.Removals, 1);
  EXPECT_EQ(w.view.Beeps, beeps);
  EXPECT_EQ(w.view.Statuses.size(), statuses);
  EXPECT_TRUE(w.view.Messages.empty());
  w.form.FormKeyDown(TKey::Delete, kShiftNone);  // nothing selected: nothing changes
  EXPECT_EQ(w.form.List().Count(), 7);
  EXPECT_EQ(w.view.Removals, 1);
}

TEST(MainFormTest, DeleteInTheSimilarViewRegroups) {
  FakeWindow w;
  w.Clip({"a", "A", "b", "B"});
  w.form.sbExtractRuijiClick(TControl::sbExtractRuiji);
  ASSERT_EQ(w.form.List().Count(), 4);
  ASSERT_EQ(w.form.List().Groups().size(), 2u);
  w.view.Selection = {0};
  w.form.PopupMenu1Popup();
  EXPECT_TRUE(w.view.Enabled[TControl::pmDelete]);
  w.form.pmDeleteClick();
  EXPECT_EQ(w.form.List().Count(), 3);
  EXPECT_EQ(w.view.GroupChanges, 1);
  EXPECT_EQ(w.form.List().Groups().size(), 1u);  // a group of one is none
}

TEST(MainFormTest, PopupMenuEnablesByRowsAndSelection) {
  FakeWindow w;
  using Row = std::tuple<bool, bool, bool>;
  const auto state = [&] {
    w.form.PopupMenu1Popup();
    return Row{w.view.Enabled[TControl::pmCopyAll], w.view.Enabled[TControl::pmCopySelect],
               w.view.Enabled[TControl::pmDelete]};
  };
  EXPECT_EQ(state(), Row(false, false, false));
  ListTen(w);
  EXPECT_EQ(state(), Row(true, false, false));
  w.view.Selection = {1};
  EXPECT_EQ(state(), Row(true, true, true));
}

TEST(MainFormTest, SortDirectionsAlternateAndResetAfterACommand) {
  FakeWindow w;
  ListTen(w);
  w.form.lvResultColumnClick(1);
  EXPECT_EQ(w.Captions().front(), "a9");  // highest count first
  EXPECT_EQ(w.view.SortColumn, 1);
  EXPECT_EQ(w.view.SortDirection, -1);
  w.form.lvResultColumnClick(0);
  EXPECT_EQ(w.Captions().front(), "a9");  // text descending
  w.form.lvResultColumnClick(1);
  EXPECT_EQ(w.Captions().front(), "a0");  // the count column goes on ascending
  w.form.FormKeyDown(TKey::F6, kShiftNone);
  EXPECT_EQ(w.view.SortDirection, 0);
  EXPECT_EQ(w.form.TextSortDirection, 1);
  EXPECT_EQ(w.form.CountSortDirection, 1);
  w.form.lvResultColumnClick(1);
  EXPECT_EQ(w.Captions().front(), "a9");
}

TEST(MainFormTest, SelectionAndCurrentRowFollowTheirRowsThroughASort) {
  FakeWindow w;
  ListTen(w);
  w.view.Selection = {1, 8};
  w.view.Current = 8;
  w.form.lvResultColumnClick(1);                                  // descending counts: a9 .. a0
  EXPECT_EQ(w.view.Selection, (std::vector<std::size_t>{1, 8}));  // a8 and a1
  EXPECT_EQ(w.view.Current, std::optional<std::size_t>(1));
  EXPECT_EQ(w.view.Reorders, 1);
  w.form.lvResultColumnClick(1);
  EXPECT_EQ(w.view.Selection, (std::vector<std::size_t>{1, 8}));
  EXPECT_EQ(w.view.Current, std::optional<std::size_t>(8));
}

TEST(MainFormTest, GuidanceFlashesTheEmptyListOnceAndNotAfterACommand) {
  FakeWindow w;
  w.form.lvResultClick();
  ASSERT_EQ(w.view.Messages.size(), 1u);
  EXPECT_EQ(w.LastMessage(),
            "文字列をクリップボードにコピーした後、\r[類字抽出] もしくは [全データ]"
            "ボタンをクリックしてください");
  EXPECT_EQ(w.view.Highlights, (std::vector<bool>{true, false}));
  EXPECT_EQ(w.view.Beeps, 1);
  w.form.lvResultClick();
  EXPECT_EQ(w.view.Messages.size(), 1u);

  FakeWindow fresh;
  fresh.view.Clipboard.reset();
  fresh.form.FormKeyDown(TKey::F5, kShiftNone);  // fails at once, still ends the guidance
  fresh.view.Messages.clear();
  fresh.form.lvResultClick();
  EXPECT_TRUE(fresh.view.Messages.empty());
}

TEST(MainFormTest, SoundOffMeansNoBeep) {
  FakeWindow w;
  w.form.FSound = false;
  ListTen(w);
  w.form.FormKeyDown(TKey::F7, kShiftNone);
  w.Clip({"a", "A"});
  w.form.FormKeyDown(TKey::F5, kShiftNone);
  EXPECT_EQ(w.view.Beeps, 0);
}

TEST(MainFormTest, HintsCarryTheirShortcutKeysAndFollowTheOption) {
  FakeWindow w;
  EXPECT_EQ(cp932::ToUtf8(w.form.Hint(TControl::sbGetAllData)),
            "全てのデータを表示します\rショートカットキー : [F6]");
  EXPECT_EQ(cp932::ToUtf8(w.view.Hints[TControl::sbClose]), "終了します");
  EXPECT_TRUE(w.view.HintShown[TControl::imgVersion]);
  w.form.ApplyHint(false);
  for (const auto& [control, shown] : w.view.HintShown) EXPECT_FALSE(shown);
  EXPECT_EQ(cp932::ToUtf8(w.view.Hints[TControl::imgHelp]),
            "ヘルプを表示します\rショートカットキー : [F1]");
  w.form.SetHint(TControl::sbSwFormStyle, "x");
  w.form.FormShow();  // runs once: the hint stays
  EXPECT_EQ(w.form.Hint(TControl::sbSwFormStyle), "x");
}

TEST(MainFormTest, StayOnTopTogglesCaptionAndHint) {
  FakeWindow w;
  w.form.sbSwFormStyleClick();
  EXPECT_TRUE(w.view.OnTop);
  EXPECT_EQ(cp932::ToUtf8(w.view.Captions[TControl::sbSwFormStyle]), "通常表示");
  EXPECT_EQ(cp932::ToUtf8(w.form.Hint(TControl::sbSwFormStyle)),
            "ウィンドを最前面の固定表示\r→通常表示に戻します");
  w.form.sbSwFormStyleClick();
  EXPECT_FALSE(w.view.OnTop);
  EXPECT_EQ(cp932::ToUtf8(w.view.Captions[TControl::sbSwFormStyle]), "前面表示");
}

TEST(MainFormTest, DebugSwitchAndTestControls) {
  FakeWindow w;
  w.form.sbDblClick();
  EXPECT_FALSE(w.view.DebugVisible);  // only in debug mode
  w.form.imgVersionMouseDown(TMouseButton::Right, kShiftNone);
  w.form.imgVersionMouseDown(TMouseButton::Left, kShiftCtrl);
  EXPECT_TRUE(w.view.Messages.empty());
  w.view.ConfirmAnswer = false;
  w.form.imgVersionMouseDown(TMouseButton::Right, kShiftCtrl);
  EXPECT_FALSE(w.form.FDebug);
  w.view.ConfirmAnswer = true;
  w.form.imgVersionMouseDown(TMouseButton::Right, kShiftCtrl);
  EXPECT_TRUE(w.form.FDebug);
  EXPECT_EQ(w.view.Messages.back(), (FakeMainView::TMessage{MessageKind::Warning, "FDebug = 1"}));
  w.form.sbDblClick();
  EXPECT_TRUE(w.view.DebugVisible);
  w.form.sbDblClick();
  EXPECT_FALSE(w.view.DebugVisible);
}

TEST(MainFormTest, CaptionTotalOfTheListedCounts) {
  FakeWindow w;
  w.form.GradationExprs1DblClick();
  EXPECT_EQ(w.view.Title, "0");
  ListTen(w);
  w.form.GradationExprs1DblClick();
  EXPECT_EQ(w.view.Title, "55");
}

TEST(MainFormTest, SettingsDialogTransfersTheOptionsOnOkOnly) {
  FakeWindow w;
  TSetOptionValues changed{};
  for (const TSetOptionRow& row : SetOptionRows()) changed.*row.Field = true;
  changed.FHint = changed.FZenkaku = false;
  w.view.SettingsChange = changed;
  w.view.SettingsAnswer = false;
  w.form.sbSetClick();
  EXPECT_TRUE(w.form.FHint);
  EXPECT_EQ(w.view.Samples.size(), 2u);  // the two samples of an empty list
  EXPECT_EQ(cp932::ToUtf8(w.view.Samples[0].Caption), "サンプル-1");
  w.view.SettingsAnswer = true;
  w.form.sbSetClick();
  EXPECT_FALSE(w.form.FHint);
  EXPECT_FALSE(w.form.FZenkaku);
  EXPECT_TRUE(w.form.FTrim);
  EXPECT_FALSE(w.form.UniqueManager()->FZenkaku);  // applied to the engine
  EXPECT_TRUE(w.form.UniqueManager()->FTrim);
  EXPECT_FALSE(w.view.HintShown[TControl::sbSet]);
  ListTen(w);
  w.form.sbSetClick();
  ASSERT_EQ(w.view.Samples.size(), 10u);
  EXPECT_EQ(w.view.Samples[9].Count, " 10");
}

// The settings dialog's line on the user's dictionary, and [辞書を編集]: a
// missing file is made with its header (no rules) before the editor opens.
TEST(MainFormTest, SettingsDialogShowsAndEditsTheDictionary) {
  const struct {
    const char* name;
    std::optional<std::string> bytes;  // nullopt: no file
    bool editorStarts;
    const char* before;
    const char* after;
    const char* message;  // "" for none
  } kCases[] = {
      {"no file", std::nullopt, true, "辞書はまだありません", "辞書の規則: 0 件", ""},
      {"rules and a comment", "# note\r\nA\tB\tC\r\n\r\n!A\tD\r\n", true, "辞書の規則: 2 件",
       "辞書の規則: 2 件", ""},
      {"a malformed line", "A\tB\r\nC\r\n", true, "辞書の 2 行目に項目が一つしかありません",
       "辞書の 2 行目に項目が一つしかありません", ""},
      {"no editor", std::nullopt, false, "辞書はまだありません", "辞書の規則: 0 件",
       "を開くプログラムが見つかりません"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    FakeWindow w;
    const std::string path = w.form.DictionaryFile();
    if (c.bytes) std::ofstream(path, std::ios::binary) << *c.bytes;
    w.view.EditorAnswer = c.editorStarts;
    w.view.PressEditDictionary = true;
    w.form.sbSetClick();
    ASSERT_EQ(w.view.DictionaryLines.size(), 2u);
    EXPECT_EQ(cp932::ToUtf8(w.view.DictionaryLines[0]), c.before);
    EXPECT_EQ(cp932::ToUtf8(w.view.DictionaryLines[1]), c.after);
    EXPECT_EQ(w.view.Edited, std::vector<std::string>{path});
    EXPECT_NE(w.LastMessage().find(c.message), std::string::npos) << w.LastMessage();
    EXPECT_EQ(w.view.Messages.size(), *c.message ? 1u : 0u);
    std::ifstream in(path, std::ios::binary);
    const std::string now((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (c.bytes)
      EXPECT_EQ(now, *c.bytes);  // the user's file is left as it is
    else
      EXPECT_EQ(now.substr(0, 5), "\xEF\xBB\xBF# ");  // UTF-8 with a BOM, a comment first
  }
}

TEST(MainFormTest, ClosingReleasesTheCollectionAndSavesTheOptions) {
  FakeWindow w;
  w.form.FSound = false;
  w.view.Widths[1] = 90;
  ListTen(w);
  EXPECT_TRUE(w.form.FormCloseQuery());
  EXPECT_EQ(w.form.UniqueManager(), nullptr);
  EXPECT_EQ(w.form.List().Count(), 0);
  w.form.sbGetAllDataClick(TControl::foMAIN);  // nothing runs on the released objects
  w.form.sbExtractRuijiClick(TControl::foMAIN);
  EXPECT_TRUE(w.form.SettingsSaved());
  std::ifstream in(w.folder.Ini(), std::ios::binary);
  const std::string ini((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(ini.find("FSound=0"), std::string::npos);
  EXPECT_NE(ini.find("FSetLvColumn1=90"), std::string::npos);
  EXPECT_NE(ini.find("FSetLvColumn0=480"), std::string::npos);
}

// The settings file a close writes, from "[User]" on (the header carries
// the time), for the defaults and for a changed set: keys, their order, the
// sections and the values as every earlier version wrote them.
TEST(MainFormTest, SettingsFileKeepsItsBytes) {
  const struct {
    const char* name;
    std::function<void(FakeWindow&)> change;
    const char* want;
  } kCases[] = {
      {"defaults", [](FakeWindow&) {},
       "[User]\r\nFSetLvColumn0=480\r\nFSetLvColumn1=65\r\nFSound=1\r\nFHint=1\r\nFTrim=0\r\n"
       "FExprsQuote=0\r\nFExtractSort=1\r\nFCopyCount=1\r\nFZenkaku=1\r\nFUpper=1\r\n"
       "FHyphenTerminate=1\r\nFHyphen=1\r\nlvResultSize=14\r\nlvResultName=Meiryo UI\r\n"
       "lvResultColor=clWindowText\r\nlvResultStyle=0\r\n[Form]\r\nLeft=0\r\nTop=0\r\nWidth=637\r\n"
       "Height=347\r\nMaximized=0\r\n[Variants]\r\nFKanji=0\r\nFCompat=0\r\nFSpace=0\r\n"
       "FSymbol=0\r\nFKana=0\r\nFCompany=0\r\nFNumber=0\r\nFOkurigana=0\r\n"},
      {"changed",
       [](FakeWindow& w) {
         w.form.FTrim = w.form.FExprsQuote = w.form.FKanji = w.form.FNumber = true;
         w.form.FSound = w.form.FHyphen = w.form.FCopyCount = false;
         w.view.Widths[0] = 300;
         w.view.Font = {"MS Gothic", 11, 0x563412, kFontBold};
         w.view.Geometry = {40, 30, 700, 400, true};
       },
       "[User]\r\nFSetLvColumn0=300\r\nFSetLvColumn1=65\r\nFSound=0\r\nFHint=1\r\nFTrim=1\r\n"
       "FExprsQuote=1\r\nFExtractSort=1\r\nFCopyCount=0\r\nFZenkaku=1\r\nFUpper=1\r\n"
       "FHyphenTerminate=1\r\nFHyphen=0\r\nlvResultSize=11\r\nlvResultName=MS Gothic\r\n"
       "lvResultColor=$00563412\r\nlvResultStyle=1\r\n[Form]\r\nLeft=40\r\nTop=30\r\nWidth=700\r\n"
       "Height=400\r\nMaximized=1\r\n[Variants]\r\nFKanji=1\r\nFCompat=0\r\nFSpace=0\r\n"
       "FSymbol=0\r\nFKana=0\r\nFCompany=0\r\nFNumber=1\r\nFOkurigana=0\r\n"},
  };
  for (const auto& c : kCases) {
    FakeWindow w;
    w.form.RestoreGeometry();
    c.change(w);
    ASSERT_TRUE(w.form.FormCloseQuery());
    std::ifstream in(w.folder.Ini(), std::ios::binary);
    const std::string ini((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(ini.substr(std::min(ini.find("[User]"), ini.size())), c.want) << c.name;
  }
}

// The session's end saves as a close does, but releases nothing: a handler
// may still wait below in the box the message came through.
TEST(MainFormTest, SessionsEndSavesAndKeepsTheCollection) {
  FakeWindow w;
  ListTen(w);
  w.form.FSound = false;
  w.form.FormEndSession();
  EXPECT_TRUE(w.form.SettingsSaved());
  EXPECT_EQ(IniFile(w.folder.Ini()).ReadString("User", "FSound", ""), "0");
  ASSERT_NE(w.form.UniqueManager(), nullptr);
  EXPECT_EQ(w.form.List().Count(), 10);
  EXPECT_TRUE(w.view.Messages.empty());
}

// A failed save: a box when the user closed, standard error when a signal
// or the session's end did; either way the failure is known to the caller.
TEST(MainFormTest, FailedSaveIsToldByBoxOrOnStandardError) {
  enum class How { User, Signal, SessionEnd };
  for (const How how : {How::User, How::Signal, How::SessionEnd}) {
    SCOPED_TRACE(int(how));
    FakeWindow w;
    // A folder where the file was: no user can write it as a file.
    std::filesystem::remove(w.folder.Ini());
    std::filesystem::create_directory(w.folder.Ini());
    w.form.SetClosingBySignal(how == How::Signal);
    testing::internal::CaptureStderr();
    if (how == How::SessionEnd)
      w.form.FormEndSession();
    else
      EXPECT_TRUE(w.form.FormCloseQuery());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(w.form.SettingsSaved());
    if (how != How::User) {
      EXPECT_TRUE(w.view.Messages.empty());
      EXPECT_NE(err.find("に書き込めません"), std::string::npos) << err;
    } else {
      ASSERT_EQ(w.view.Messages.size(), 1u);
      EXPECT_EQ(w.view.Messages[0].Kind, MessageKind::Error);
      EXPECT_NE(w.LastMessage().find("に書き込めません"), std::string::npos);
      EXPECT_EQ(err, "");
    }
  }
}

TEST(MainFormTest, ANewResultShowsFromItsFirstRow) {
  FakeWindow w;
  ListTen(w);
  w.view.Selection = {9};
  const int resets = w.view.Resets;
  w.Clip({"a", "A"});
  w.form.FormKeyDown(TKey::F5, kShiftNone);
  EXPECT_GT(w.view.Resets, resets);
  EXPECT_TRUE(w.view.Selection.empty());
}

// F8 and F9 copy what [類字抽出] found with the options it ran with, even
// when the options changed since.
TEST(MainFormTest, NormalizedCopyUsesTheOptionsOfItsResult) {
  FakeWindow w;
  w.form.FTrim = true;
  w.form.ApplyEngine();
  w.Clip({"ユニット", "ユニット", "ﾕﾆｯﾄ", " ﾕﾆｯﾄ "});
  w.form.FormKeyDown(TKey::F5, kShiftNone);
  w.form.FTrim = false;
  w.form.ApplyEngine();
  w.form.FormKeyDown(TKey::F8, kShiftNone);
  EXPECT_EQ(cp932::ToUtf8(*w.view.Clipboard), "ユニット\r\nユニット\r\nユニット\r\nユニット\r\n");
  EXPECT_EQ(w.LastMessage(), cp932::ToUtf8(w.view.Messages.back().Text));
}

TEST(MainFormTest, NormalizedAndMapCopiesNeedAnExtraction) {
  FakeWindow w;
  ListTen(w);
  w.view.Clipboard = "kept";
  w.form.FormKeyDown(TKey::F8, kShiftNone);
  w.form.FormKeyDown(TKey::F9, kShiftNone);
  EXPECT_EQ(*w.view.Clipboard, "kept");
  EXPECT_EQ(w.view.Messages.size(), 2u);
}

TEST(MainFormTest, HelpIsReportedMissing) {
  FakeWindow w;
  w.form.FormKeyDown(TKey::F1, kShiftNone);
  ASSERT_EQ(w.view.Messages.size(), 1u);
  EXPECT_NE(w.LastMessage().find(" が見つかりません"), std::string::npos);
  EXPECT_TRUE(w.view.Opened.empty());
}

}  // namespace
}  // namespace tavrin
