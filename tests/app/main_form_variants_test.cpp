// The kinds of variants in the main window's logic: their section of the
// settings file, [類字抽出] with them (and [全データ] without), and what a
// result made with them keeps: its groups, copies and tool-tips.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>

#include "app/main_form.h"
#include "engine/variant_folding.h"
#include "tests/app/fake_main_view.h"
#include "util/cp932.h"

namespace tavrin {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

struct Kinds {
  bool Kanji, Compat, Space, Symbol, Kana, Company, Number, Okurigana;
  bool operator==(const Kinds&) const = default;
};

Kinds KindsOf(const TMainForm& form) {
  return {form.FKanji, form.FCompat,  form.FSpace,  form.FSymbol,
          form.FKana,  form.FCompany, form.FNumber, form.FOkurigana};
}

// A window started as a skin starts it (its geometry restored) on the
// settings file of folder, closed again.
Kinds StartAndClose(const SettingsFolder&, const std::function<void(TMainForm&)>& change = {}) {
  FakeMainView view;
  TMainForm form(view);
  form.FormCreate();
  form.RestoreGeometry();
  form.FormShow();
  const Kinds read = KindsOf(form);
  if (change) change(form);
  form.FormCloseQuery();
  EXPECT_TRUE(form.SettingsSaved());
  return read;
}

// Written after [Form], in a new file and after an existing one's sections
// alike, leaving their lines as they were; read back as written.
TEST(MainFormVariantsTest, SettingsSectionFollowsFormAndRoundTrips) {
  const std::string section =
      "[Variants]\r\nFKanji=1\r\nFCompat=0\r\nFSpace=0\r\nFSymbol=0\r\nFKana=0\r\nFCompany="
      "1\r\nFNumber=1\r\nFOkurigana=0\r\n";
  const auto kanjiAndCompany = [](TMainForm& f) {
    f.FKanji = true;
    f.FCompany = true;
    f.FNumber = true;
  };
  std::string before;  // a file of the sections before, as a window writes them
  {
    SettingsFolder folder;
    EXPECT_EQ(StartAndClose(folder, kanjiAndCompany), (Kinds{}));
    const std::string ini = ReadFile(folder.Ini());
    const std::size_t user = ini.find("[User]"), form = ini.find("[Form]"),
                      variants = ini.find("[Variants]");
    ASSERT_NE(variants, std::string::npos) << ini;
    EXPECT_LT(user, form) << ini;
    EXPECT_LT(form, variants) << ini;
    EXPECT_EQ(ini.substr(variants), section);
    before = ini.substr(0, variants);
  }
  SettingsFolder folder;
  WriteFile(folder.Ini(), before);
  EXPECT_EQ(StartAndClose(folder, kanjiAndCompany), (Kinds{}));
  EXPECT_EQ(ReadFile(folder.Ini()), before + section);
  EXPECT_EQ(StartAndClose(folder), (Kinds{true, false, false, false, false, true, true, false}));
}

// A value that is no number counts as missing: the kind stays off.
TEST(MainFormVariantsTest, UnreadableValuesCountAsMissing) {
  SettingsFolder folder;
  WriteFile(folder.Ini(),
            "[Variants]\r\nFKanji=yes\r\nFCompat=\r\nFSpace=1\r\nFSymbol=0\r\nFKana="
            "0x1\r\nFCompany= 1 \r\n");
  EXPECT_EQ(StartAndClose(folder), (Kinds{false, false, true, false, true, true, false, false}));
  EXPECT_NE(ReadFile(folder.Ini()).find("FKanji=0\r\nFCompat=0\r\n"), std::string::npos);
}

TEST(MainFormVariantsTest, SettingsDialogCarriesTheKinds) {
  FakeWindow w;
  TSetOptionValues values{};
  values.FKanji = values.FKana = values.FNumber = values.FOkurigana = true;
  w.view.SettingsChange = values;
  w.view.SettingsAnswer = true;
  w.form.sbSetClick();
  EXPECT_EQ(KindsOf(w.form), (Kinds{true, false, false, false, true, false, true, true}));
  EXPECT_EQ(w.form.VariantKinds(),
            kVariantKanji | kVariantKana | kVariantNumber | kVariantOkurigana);
}

int RowOf(const FakeWindow& w, const std::string& utf8) {
  for (int i = 0; i < w.form.List().Count(); ++i)
    if (cp932::ToUtf8(w.form.List().Caption(i)) == utf8) return i;
  return -1;
}

TEST(MainFormVariantsTest, ExtractionGroupsKanjiFormsOnlyWithTheKind) {
  const std::vector<std::string> lines{"渡辺", "渡邊", "渡邊", "山田"};
  FakeWindow w;
  w.Clip(lines);
  w.form.FormKeyDown(TKey::F5, kShiftNone);
  EXPECT_EQ(w.form.List().Count(), 0);  // off by default
  w.form.FKanji = true;
  w.form.FormKeyDown(TKey::F5, kShiftNone);
  EXPECT_EQ(w.Captions(), (std::vector<std::string>{"渡辺", "渡邊"}));
  ASSERT_EQ(w.form.List().Groups().size(), 1u);
  EXPECT_EQ(cp932::ToUtf8(std::string(w.form.List().Groups()[0].Canonical->Text())), "渡邊");
  EXPECT_EQ(cp932::ToUtf8(w.view.Statuses.back()),
            "全4個のデータの中から、2 種類の類字データを抽出しました");
}

// [全データ] merges as it always did, whatever the kinds.
TEST(MainFormVariantsTest, AllDataIgnoresTheKinds) {
  FakeWindow w;
  w.form.FZenkaku = w.form.FUpper = false;  // the merged view
  w.form.ApplyEngine();
  w.form.FKanji = true;
  w.Clip({"渡辺", "渡邊", "渡邊"});
  w.form.FormKeyDown(TKey::F6, kShiftNone);
  EXPECT_EQ(w.Captions(), (std::vector<std::string>{"渡辺", "渡邊"}));
  EXPECT_EQ(w.form.List().Row(0).Count + w.form.List().Row(1).Count, 3);
  EXPECT_EQ(w.form.List().Options().Variants, 0u);
}

// The result keeps the kinds it was made with: its tool-tip names 異体字
// and marks the differing character, a deletion regroups by its keys, and
// F9 copies its map, all after the kind was turned off.
TEST(MainFormVariantsTest, AResultKeepsItsKinds) {
  FakeWindow w;
  w.form.FKanji = true;
  w.Clip({"渡辺", "渡邊", "渡邊", "渡邉", "ア", "ｱ"});
  w.form.FormKeyDown(TKey::F5, kShiftNone);
  ASSERT_EQ(w.form.List().Count(), 5);
  w.form.FKanji = false;

  const int variant = RowOf(w, "渡辺");
  ASSERT_GE(variant, 0);
  const std::string tip = cp932::ToUtf8(w.form.List().ToolTip(variant));
  EXPECT_EQ(tip.substr(0, tip.find("\r「")), "正規の表記: 渡邊\r違い: 異体字") << tip;
  EXPECT_NE(tip.find("「辺」 U+8FBA → 「邊」 U+908A"), std::string::npos) << tip;
  const std::string width = cp932::ToUtf8(w.form.List().ToolTip(RowOf(w, "ｱ")));
  EXPECT_NE(width.find("違い: 全角/半角\r"), std::string::npos) << width;  // no kind of variants
  std::vector<bool> differs;
  for (const TCaptionGlyph& g : w.form.List().Glyphs(variant)) differs.push_back(g.Differs);
  EXPECT_EQ(differs, (std::vector<bool>{false, true}));

  w.view.Selection = {static_cast<std::size_t>(RowOf(w, "渡邉"))};
  w.form.pmDeleteClick();
  ASSERT_EQ(w.form.List().Groups().size(), 2u);
  w.form.FormKeyDown(TKey::F9, kShiftNone);
  EXPECT_EQ(cp932::ToUtf8(*w.view.Clipboard), "渡辺\t渡邊\t1\r\nｱ\tア\t1\r\n");
}

// A company form against its spelling of another length: the tool-tip
// names only it and the highlight covers only it, not the name after it.
TEST(MainFormVariantsTest, AFormOfAnotherLengthIsOneDifference) {
  FakeWindow w;
  w.form.FCompany = w.form.FCompat = true;
  w.Clip({"株式会社南海マリン", "株式会社南海マリン", "㈱南海マリン"});
  w.form.FormKeyDown(TKey::F5, kShiftNone);
  const int variant = RowOf(w, "㈱南海マリン");
  ASSERT_GE(variant, 0);
  const std::string tip = cp932::ToUtf8(w.form.List().ToolTip(variant));
  EXPECT_EQ(tip.substr(tip.rfind('\r') + 1),
            "「㈱」 U+3231 → 「株式会社」 U+682A U+5F0F U+4F1A U+793E")
      << tip;
  std::vector<bool> differs;
  for (const TCaptionGlyph& g : w.form.List().Glyphs(variant)) differs.push_back(g.Differs);
  EXPECT_EQ(differs, (std::vector<bool>{true, false, false, false, false, false}));
}

}  // namespace
}  // namespace tavrin
