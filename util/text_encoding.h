#pragma once
// Encodings of a text file or stream around the engine's text (CP932 with
// the codec's internal forms, util/cp932.h): recognising the encoding,
// decoding with byte-exact error positions, and encoding back with the
// input's byte-order mark.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tavrin {

enum class TTextEncoding { Cp932, Utf8, Utf16Le, Utf16Be };

// The byte-order mark of an encoding (empty for CP932).
std::string_view ByteOrderMark(TTextEncoding Encoding);

// The encoding a BOM at the start of Bytes names, if any.
std::optional<TTextEncoding> EncodingOfBom(std::string_view Bytes);

// The encoding recognition gives Bytes: the encoding a BOM (UTF-8, UTF-16LE,
// UTF-16BE) at its start names. Otherwise the UTF-8 reading (up to its
// first fault) and the CP932 reading are weighed (util/encoding_guess.h):
// UTF-8 when Bytes are valid UTF-8, or UTF-8 cut inside their last
// character, and that reading is not the less likely; UTF-8 also when they
// are plainly UTF-8 (kPlainUtf8Sequences valid multi-byte sequences before
// an invalid one) and that reading is the likelier. Decoding then reports
// the fault. Otherwise CP932. None for bytes that are all ASCII without a
// BOM, which read alike in CP932 and UTF-8.
std::optional<TTextEncoding> RecognisedEncoding(std::string_view Bytes);
inline constexpr std::size_t kPlainUtf8Sequences = 8;

struct TDecodedText {
  std::string Text;  // the engine's text, without the BOM
  TTextEncoding Encoding = TTextEncoding::Cp932;
  bool Bom = false;  // the input began with the BOM of Encoding
  // When the input is not valid in its encoding or holds a NUL character:
  // where the first fault starts, as a byte offset into the input and a
  // line number (from 1; lines end at LF, CR or CR LF), and which it is.
  std::optional<std::size_t> ErrorOffset;
  std::size_t ErrorLine = 0;
  bool ErrorIsNul = false;
  bool ErrorIsCut = false;  // UTF-8 that ends inside a character
};

// Decodes Bytes in Forced, or when none is given in RecognisedEncoding
// (CP932 for ASCII). A BOM that matches the encoding is dropped. UTF-8 and
// UTF-16 must be well-formed (an odd final byte of UTF-16 and unpaired
// surrogates are faults), and no encoding may hold a NUL character (U+0000):
// text ends at none.
TDecodedText DecodeText(std::string Bytes, std::optional<TTextEncoding> Forced);

// The engine's text in Encoding, with its BOM in front when Bom is set and
// the text is not empty. CP932 restores escaped codes byte for byte.
std::string EncodeText(std::string Text, TTextEncoding Encoding, bool Bom);

}  // namespace tavrin
