// Fuzz target over the codec and the input encodings: decoding in every
// encoding, encoding back, and the engine's steps over the decoded text.
// Checks that what is kept comes back byte for byte and that internal
// sequences stay whole.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "engine/char_folding.h"
#include "util/cp932.h"
#include "util/sjis.h"
#include "util/text_encoding.h"
#include "util/utf16.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// The 4- and 6-byte characters of text, in order.
std::string Sequences(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = tavrin::CharLength(text, i);
    Check(n >= 1 && i + n <= text.size());
    if (n > 2) out.append(text.substr(i, n));
    i += n;
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tavrin;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::optional<TTextEncoding> encodings[] = {std::nullopt, TTextEncoding::Cp932,
                                                    TTextEncoding::Utf8, TTextEncoding::Utf16Le,
                                                    TTextEncoding::Utf16Be};
  for (const auto& forced : encodings) {
    const TDecodedText d = DecodeText(bytes, forced);
    if (forced) Check(d.Encoding == *forced);
    if (d.ErrorOffset) {
      Check(*d.ErrorOffset < size && d.ErrorLine >= 1 && d.Text.empty());
      continue;
    }
    // Whatever decoded comes back as it was.
    if (!d.Text.empty()) Check(EncodeText(d.Text, d.Encoding, d.Bom) == bytes);
    // Folding and trimming keep internal sequences whole and unchanged.
    const std::string sequences = Sequences(d.Text);
    Check(Sequences(FoldWidth(d.Text)) == sequences);
    Check(Sequences(FoldHyphens(FoldWidth(d.Text))) == sequences);
    const std::string_view trimmed = TrimBlanksView(d.Text);
    Check(sequences.find(Sequences(trimmed)) != std::string::npos);
    Check(!cp932::FirstInvalidUtf8(cp932::ToUtf8(d.Text)));
  }
  // Any bytes decode to valid UTF-8, which encodes without loss.
  const std::string utf8 = cp932::ToUtf8(bytes);
  Check(!cp932::FirstInvalidUtf8(utf8));
  const cp932::EncodeResult back = cp932::FromUtf8(utf8);
  Check(back.replaced == 0 && cp932::ToUtf8(back.bytes) == utf8);
  // The bytes as UTF-16 units (the clipboard's form): each lone surrogate is
  // one "?", and without them every unit comes back.
  std::u16string units(size / 2, u'\0');
  for (std::size_t k = 0; k < units.size(); ++k)
    units[k] = char16_t(data[2 * k] | data[2 * k + 1] << 8);
  const cp932::EncodeResult wide = cp932::FromUtf16(units);
  std::size_t lone = 0;
  for (std::size_t k = 0; k < units.size(); ++k) {
    const bool high = units[k] >= 0xD800 && units[k] <= 0xDBFF;
    const bool low = units[k] >= 0xDC00 && units[k] <= 0xDFFF;
    if (high && k + 1 < units.size() && units[k + 1] >= 0xDC00 && units[k + 1] <= 0xDFFF) {
      ++k;
    } else if (high || low) {
      ++lone;
    }
  }
  Check(wide.replaced == lone);
  if (lone == 0) Check(Utf16FromSjis(wide.bytes) == units);
  return 0;
}
