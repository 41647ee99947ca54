#include "settings/set_options.h"

#include <algorithm>

namespace tavrin {

using V = TSetOptionValues;

const std::array<TSetOptionRow, kSetOptionCount>& SetOptionRows() {
  static const std::array<TSetOptionRow, kSetOptionCount> rows{{
      {&V::FSound, "User", "FSound", true, "chbSound", "GroupBox3", 1,
       "処理が完了した時、メッセージサウンドを鳴らす"},
      {&V::FHint, "User", "FHint", true, "chbShowHint", "GroupBox3", 2,
       "各ツールボタンのヒントウィンドを表示する"},
      {&V::FTrim, "User", "FTrim", false, "chbExtractTrim", "GroupBox3", 0,
       "データ取得時、文字列の前後にある空白を取り除く"},
      {&V::FExprsQuote, "User", "FExprsQuote", false, "chbExprsQuote", "GroupBox2", 1,
       "表示する文字列の前後にダブルクォート(\")を付加する"},
      {&V::FExtractSort, "User", "FExtractSort", true, "chbExtractSort", "GroupBox2", 0,
       "文字列をソートする"},
      {&V::FCopyCount, "User", "FCopyCount", true, "chbCopyCount", "GroupBox2", 2,
       "表示している文字列をコピーする際、[個数]もコピーする"},
      {&V::FZenkaku, "User", "FZenkaku", true, "chbZenkaku", "GroupBox1", 0,
       "全角／半角、ひらがな／カタカナを区別する"},
      {&V::FUpper, "User", "FUpper", true, "chbUpper", "GroupBox1", 1, "大文字／小文字を区別する"},
      {&V::FHyphenTerminate, "User", "FHyphenTerminate", true, "chbHyphenTerminate", "GroupBox4", 1,
       "文字列末尾のハイフン、カタカナの長音符を無視する"},
      {&V::FHyphen, "User", "FHyphen", true, "chbHyphen", "GroupBox4", 0,
       "ハイフン(-)とカタカナの長音符(ｰ)を類字とみなす"},
      {&V::FKanji, "Variants", "FKanji", false, "chbKanji", "GroupBox5", 0, "異体字"},
      {&V::FCompat, "Variants", "FCompat", false, "chbCompat", "GroupBox5", 1, "互換文字"},
      {&V::FSpace, "Variants", "FSpace", false, "chbSpace", "GroupBox5", 2, "空白・中点"},
      {&V::FSymbol, "Variants", "FSymbol", false, "chbSymbol", "GroupBox5", 3, "記号"},
      {&V::FKana, "Variants", "FKana", false, "chbKana", "GroupBox5", 4, "カナ表記"},
      {&V::FCompany, "Variants", "FCompany", false, "chbCompany", "GroupBox5", 5, "法人格"},
      {&V::FNumber, "Variants", "FNumber", false, "chbNumber", "GroupBox5", 6, "数字表記"},
      {&V::FOkurigana, "Variants", "FOkurigana", false, "chbOkurigana", "GroupBox5", 7, "送り仮名"},
  }};
  return rows;
}

const std::array<TSetGroupRow, kSetGroupCount>& SetGroupRows() {
  static const std::array<TSetGroupRow, kSetGroupCount> rows{{
      {"GroupBox3", "全般", 1},
      {"GroupBox4", "類字の判断オプション", 1},
      {"GroupBox1", "全データの表示オプション", 1},
      {"GroupBox2", "結果リストの表示オプション 他", 1},
      {"GroupBox5", "その他の揺れ", 4},
  }};
  return rows;
}

std::size_t GroupOf(const TSetOptionRow& row) {
  const auto& groups = SetGroupRows();
  std::size_t g = 0;
  while (g + 1 < groups.size() && groups[g].Name != row.Group) ++g;
  return g;
}

const std::array<const TSetOptionRow*, kSetOptionCount>& SetDialogOrder() {
  static const std::array<const TSetOptionRow*, kSetOptionCount> order = [] {
    std::array<const TSetOptionRow*, kSetOptionCount> o{};
    for (std::size_t i = 0; i < o.size(); ++i) o[i] = &SetOptionRows()[i];
    std::stable_sort(o.begin(), o.end(), [](const TSetOptionRow* a, const TSetOptionRow* b) {
      return GroupOf(*a) != GroupOf(*b) ? GroupOf(*a) < GroupOf(*b) : a->Place < b->Place;
    });
    return o;
  }();
  return order;
}

TSetOptionValues::TSetOptionValues() {
  for (const TSetOptionRow& row : SetOptionRows()) this->*row.Field = row.Default;
}

}  // namespace tavrin
