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
  const std::optional<TTextEncoding> encodings[] = {std::nullopt, TTextEncoding::Cp932, TTextEncoding::Utf8,
                                                    TTextEncoding::Utf16Le, TTextEncoding::Utf16Be};
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
  return 0;
}
