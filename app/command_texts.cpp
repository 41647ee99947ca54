#include "app/command_texts.h"

#include "util/cp932.h"
#include "util/paths.h"

namespace tavrin {

using cp932::Sjis;

std::string NoClipboardTextMessage() {
  return Sjis("クリップボードに文字列をコピーした後、このボタンをクリックしてください");
}

std::string NoLinesMessage() {
  return Sjis(
      "文字列がみつかりません\rクリップボードに文字列をコピーした後、この処理を行ってください");
}

std::string ProgressText(int percent) {
  static const std::string prefix = Sjis("データを取得しています...");
  return prefix + std::to_string(percent) + "%";
}

std::string OrganizingText() { return Sjis("取得したデータを整理しています..."); }

std::string ExtractingText() { return Sjis("類字を抽出しています..."); }

std::string SummaryText(bool allData, long long totalCount, std::size_t rows) {
  if (rows == 0) return Sjis("表示するデータがありません");
  return Sjis("全") + std::to_string(totalCount) + Sjis("個のデータの中から、") +
         std::to_string(rows) +
         Sjis(allData ? " 種類のデータを取得しました" : " 種類の類字データを抽出しました");
}

std::string NothingToCopyMessage() {
  return Sjis("コピーする文字列を表示させた後、このボタンをクリックしてください");
}

std::string NoSelectionMessage() { return Sjis("選択されたデータがありません"); }

std::string CopiedMessage(bool all) {
  return Sjis(all ? "全ての" : "選択された") + Sjis("データをクリップボードにコピーしました");
}

std::string NormalizedCopiedMessage() {
  return Sjis("正規化したデータをクリップボードにコピーしました");
}

std::string MapCopiedMessage() { return Sjis("置換表をクリップボードにコピーしました"); }

std::string ClipboardRefusedMessage() {
  return Sjis(
      "クリップボードにコピーできませんでした\r別のプログラムが使用中の場合は、しばらくしてからもう"
      "一度お試しください");
}

std::string DictionaryFaultText(const TDictionaryError& error) {
  using TKind = TDictionaryError::TKind;
  const char* what = error.Kind == TKind::SingleField  ? "項目が一つしかありません"
                     : error.Kind == TKind::EmptyField ? "空の項目があります"
                     : error.Kind == TKind::Nul        ? "NUL 文字があります"
                                                : "文字コードとして正しくないバイトがあります";
  return std::to_string(error.Line) + Sjis(" 行目に") + Sjis(what);
}

std::string DictionaryErrorMessage(std::string_view path, const TDictionaryError& error) {
  return Sjis(FileNameOf(path)) + Sjis(" の ") + DictionaryFaultText(error) +
         Sjis("。辞書を使わずに実行します") + "\r" + Sjis(path);
}

std::string DictionaryStatusText(bool exists, std::optional<std::size_t> rules,
                                 const std::optional<TDictionaryError>& error) {
  if (error) return Sjis("辞書の ") + DictionaryFaultText(*error);
  if (!rules) return Sjis(exists ? "辞書を読めません" : "辞書はまだありません");
  return Sjis("辞書の規則: ") + std::to_string(*rules) + Sjis(" 件");
}

std::string DictionaryNotWrittenMessage(std::string_view path) {
  return Sjis("辞書を保存できませんでした") + "\r" + Sjis(path);
}

std::string HelpViewerMissingMessage(std::string_view helpPath) {
  return Sjis(FileNameOf(helpPath)) + Sjis(" を開くプログラムが見つかりません") + "\r" +
         Sjis(helpPath);
}

}  // namespace tavrin
