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
  }};
  return rows;
}

}  // namespace tavrin
