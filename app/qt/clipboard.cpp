#include "app/qt/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "util/cp932.h"
#include "util/qt/qsjis.h"

namespace tavrin {

std::optional<TClipboardText> ReadClipboardText() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
  if (!data || !data->hasText()) return std::nullopt;
  TClipboardText text;
  text.Text = ToSjis(data->text(), &text.Replaced);
  return text;
}

void WriteClipboardText(const std::string& sjis) {
  QGuiApplication::clipboard()->setText(FromSjis(sjis), QClipboard::Clipboard);
}

std::string ReplacedCharactersMessage(std::size_t replaced) {
  return cp932::Sjis("クリップボードの文字列に扱えない文字が ") + std::to_string(replaced) +
         cp932::Sjis(" 個あり、「") + std::string(1, cp932::kReplacement) +
         cp932::Sjis("」に置き換えました");
}

}  // namespace tavrin
