#pragma once
// The system clipboard as CP932 plain text.
#include <cstddef>
#include <optional>
#include <string>

namespace tavrin {

struct TClipboardText {
  std::string Text;           // CP932
  std::size_t Replaced = 0;   // characters the codec had to replace
};

// The clipboard's plain text, or nothing when it holds no text at all (no
// data, or no text format); an empty text is a text.
std::optional<TClipboardText> ReadClipboardText();

// Replaces the clipboard's content by the CP932 text.
void WriteClipboardText(const std::string& sjis);

// The warning shown before listing when the codec replaced characters.
std::string ReplacedCharactersMessage(std::size_t replaced);

}  // namespace tavrin
