#include "settings/set_options.h"

namespace tavrin {

const std::array<TSetOptionRow, kSetOptionCount>& SetOptionRows() {
  static const std::array<TSetOptionRow, kSetOptionCount> rows{{
      {TSetOption::chbExtractTrim, "chbExtractTrim", "GroupBox3",
       "データ取得時、文字列の前後にある空白を取り除く"},
      {TSetOption::chbSound, "chbSound", "GroupBox3", "処理が完了した時、メッセージサウンドを鳴らす"},
      {TSetOption::chbShowHint, "chbShowHint", "GroupBox3", "各ツールボタンのヒントウィンドを表示する"},
      {TSetOption::chbHyphen, "chbHyphen", "GroupBox4",
       "ハイフン(-)とカタカナの長音符(ｰ)を類字とみなす"},
      {TSetOption::chbHyphenTerminate, "chbHyphenTerminate", "GroupBox4",
       "文字列末尾のハイフン、カタカナの長音符を無視する"},
      {TSetOption::chbZenkaku, "chbZenkaku", "GroupBox1", "全角／半角、ひらがな／カタカナを区別する"},
      {TSetOption::chbUpper, "chbUpper", "GroupBox1", "大文字／小文字を区別する"},
      {TSetOption::chbExtractSort, "chbExtractSort", "GroupBox2", "文字列をソートする"},
      {TSetOption::chbExprsQuote, "chbExprsQuote", "GroupBox2",
       "表示する文字列の前後にダブルクォート(\")を付加する"},
      {TSetOption::chbCopyCount, "chbCopyCount", "GroupBox2",
       "表示している文字列をコピーする際、[個数]もコピーする"},
      {TSetOption::chbKanji, "chbKanji", "GroupBox5", "異体字"},
      {TSetOption::chbCompat, "chbCompat", "GroupBox5", "互換文字"},
      {TSetOption::chbSpace, "chbSpace", "GroupBox5", "空白・中点"},
      {TSetOption::chbSymbol, "chbSymbol", "GroupBox5", "記号"},
      {TSetOption::chbKana, "chbKana", "GroupBox5", "カナ表記"},
      {TSetOption::chbCompany, "chbCompany", "GroupBox5", "法人格"},
      {TSetOption::chbNumber, "chbNumber", "GroupBox5", "数字表記"},
      {TSetOption::chbOkurigana, "chbOkurigana", "GroupBox5", "送り仮名"},
  }};
  return rows;
}

const std::array<TSetGroupRow, kSetGroupCount>& SetGroupRows() {
  static const std::array<TSetGroupRow, kSetGroupCount> rows{{
      {"GroupBox3", "全般"},
      {"GroupBox4", "類字の判断オプション"},
      {"GroupBox1", "全データの表示オプション"},
      {"GroupBox2", "結果リストの表示オプション 他"},
      {"GroupBox5", "その他の揺れ"},
  }};
  return rows;
}

}  // namespace tavrin
