#include "util/text_encoding.h"

#include <cstring>
#include <utility>

#include "util/cp932.h"
#include "util/encoding_guess.h"

namespace tavrin {
namespace {

// Line number (from 1) of the code unit at offset; units of 1 or 2 bytes.
std::size_t LineAt(std::string_view bytes, std::size_t offset, std::size_t unit, bool bigEndian) {
  const auto at = [&](std::size_t i) -> unsigned {
    const auto a = static_cast<unsigned char>(bytes[i]);
    if (unit == 1) return a;
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    return bigEndian ? a << 8 | b : b << 8 | a;
  };
  std::size_t line = 1;
  for (std::size_t i = 0; i < offset; i += unit) {
    const unsigned c = at(i);
    if (c == '\n' || (c == '\r' && !(i + 2 * unit <= bytes.size() && at(i + unit) == '\n'))) ++line;
  }
  return line;
}

// UTF-16 to UTF-8; the byte offset of the first fault, if any.
std::optional<std::size_t> Utf16ToUtf8(std::string_view in, bool bigEndian, std::string& out) {
  out.reserve(in.size() * 3 / 2);
  const auto unit = [&](std::size_t i) -> char32_t {
    const auto a = static_cast<unsigned char>(in[i]), b = static_cast<unsigned char>(in[i + 1]);
    return bigEndian ? char32_t(a << 8 | b) : char32_t(b << 8 | a);
  };
  for (std::size_t i = 0; i < in.size(); i += 2) {
    if (i + 1 == in.size()) return i;
    char32_t c = unit(i);
    if (c >= 0xDC00 && c <= 0xDFFF) return i;
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 3 >= in.size() || unit(i + 2) < 0xDC00 || unit(i + 2) > 0xDFFF) return i;
      c = 0x10000 + ((c - 0xD800) << 10 | (unit(i + 2) - 0xDC00));
      i += 2;
    }
    cp932::AppendUtf8(out, c);
  }
  return std::nullopt;
}

std::string Utf8ToUtf16(std::string_view in, bool bigEndian) {
  std::string out;
  out.reserve(in.size() * 2);
  const auto put = [&](unsigned u) {
    out += bigEndian ? char(u >> 8) : char(u & 0xFF);
    out += bigEndian ? char(u & 0xFF) : char(u >> 8);
  };
  for (std::size_t i = 0; i < in.size();) {
    const auto b = static_cast<unsigned char>(in[i]);
    // ToUtf8 writes well-formed UTF-8 only.
    const std::size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    char32_t c = n == 1 ? b : n == 2 ? b & 0x1F : n == 3 ? b & 0x0F : b & 0x07;
    for (std::size_t k = 1; k < n; ++k) c = c << 6 | (static_cast<unsigned char>(in[i + k]) & 0x3F);
    i += n;
    if (c < 0x10000) {
      put(c);
    } else {
      put(0xD800 + ((c - 0x10000) >> 10));
      put(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
  }
  return out;
}

bool HasNonAscii(std::string_view s) { return cp932::AsciiEnd(s) != s.size(); }

// The offset of the first NUL character (a code unit of zero), if any.
std::optional<std::size_t> FirstNul(std::string_view bytes, std::size_t unit) {
  if (unit == 1) {
    const void* zero = std::memchr(bytes.data(), '\0', bytes.size());
    if (zero == nullptr) return std::nullopt;
    return static_cast<std::size_t>(static_cast<const char*>(zero) - bytes.data());
  }
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    if (bytes[i] == '\0' && bytes[i + 1] == '\0') return i;
  }
  return std::nullopt;
}

// Whether Tail, the bytes from the first ill-formed UTF-8 sequence on, is the
// start of one character that the end cut short.
bool CutUtf8(std::string_view tail) {
  const auto lead = static_cast<unsigned char>(tail.front());
  const std::size_t n = lead >= 0xC2 && lead <= 0xDF   ? 2
                        : lead >= 0xE0 && lead <= 0xEF ? 3
                        : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                       : 0;
  if (tail.size() >= n) return false;
  // Completed with the smallest bytes its lead allows, is it well-formed?
  std::string whole(tail);
  while (whole.size() < n) {
    const bool second = whole.size() == 1;
    whole += second && lead == 0xE0 ? '\xA0' : second && lead == 0xF0 ? '\x90' : '\x80';
  }
  return !cp932::FirstInvalidUtf8(whole);
}

}  // namespace

std::string_view ByteOrderMark(TTextEncoding Encoding) {
  switch (Encoding) {
    case TTextEncoding::Utf8:
      return "\xEF\xBB\xBF";
    case TTextEncoding::Utf16Le:
      return "\xFF\xFE";
    case TTextEncoding::Utf16Be:
      return "\xFE\xFF";
    case TTextEncoding::Cp932:
      break;
  }
  return {};
}

std::optional<TTextEncoding> EncodingOfBom(std::string_view Bytes) {
  for (const TTextEncoding e :
       {TTextEncoding::Utf8, TTextEncoding::Utf16Le, TTextEncoding::Utf16Be})
    if (Bytes.starts_with(ByteOrderMark(e))) return e;
  return std::nullopt;
}

std::optional<TTextEncoding> RecognisedEncoding(std::string_view Bytes) {
  if (const std::optional<TTextEncoding> bom = EncodingOfBom(Bytes)) return bom;
  if (!HasNonAscii(Bytes)) return std::nullopt;
  const std::optional<std::size_t> fault = cp932::FirstInvalidUtf8(Bytes);
  const TReadingWeights weights = WeighReadings(Bytes, fault.value_or(Bytes.size()));
  // Well-formed UTF-8, or UTF-8 cut inside its last character, is UTF-8
  // unless its reading is the less likely; UTF-8 with a fault before its
  // end only when it is the likelier, and plainly so.
  if (!fault || CutUtf8(Bytes.substr(*fault)))
    return weights.Utf8 >= weights.Cp932 ? TTextEncoding::Utf8 : TTextEncoding::Cp932;
  if (weights.Utf8 <= weights.Cp932) return TTextEncoding::Cp932;
  // Before the fault all is valid UTF-8: each multi-byte sequence starts
  // with one byte of 0xC2 or above. CP932 text rarely forms even a few.
  std::size_t sequences = 0;
  for (std::size_t i = 0; i < *fault; ++i)
    sequences += static_cast<unsigned char>(Bytes[i]) >= 0xC2;
  return sequences >= kPlainUtf8Sequences ? TTextEncoding::Utf8 : TTextEncoding::Cp932;
}

TDecodedText DecodeText(std::string Bytes, std::optional<TTextEncoding> Forced) {
  TDecodedText d;
  const std::optional<TTextEncoding> bom = EncodingOfBom(Bytes);
  d.Encoding = Forced ? *Forced : RecognisedEncoding(Bytes).value_or(TTextEncoding::Cp932);
  d.Bom = bom == d.Encoding;
  const std::size_t skip = d.Bom ? ByteOrderMark(d.Encoding).size() : 0;
  const std::string_view body = std::string_view(Bytes).substr(skip);
  const std::size_t unit =
      d.Encoding == TTextEncoding::Utf16Le || d.Encoding == TTextEncoding::Utf16Be ? 2 : 1;
  // A NUL ends no text here: it is a fault, unless an earlier one comes first.
  std::optional<std::size_t> fault = FirstNul(body, unit);
  d.ErrorIsNul = fault.has_value();
  switch (d.Encoding) {
    case TTextEncoding::Cp932:
      if (!fault) {
        d.Text = cp932::FromCp932(skip == 0 ? std::move(Bytes) : Bytes.substr(skip));
        return d;
      }
      break;
    case TTextEncoding::Utf8: {
      const std::optional<std::size_t> invalid =
          cp932::FirstInvalidUtf8(body.substr(0, fault.value_or(body.size())));
      if (invalid) {
        // Cut only when the end is the text's own, not a NUL's.
        d.ErrorIsCut = !fault && CutUtf8(body.substr(*invalid));
        fault = invalid, d.ErrorIsNul = false;
      }
      if (!fault) d.Text = cp932::FromUtf8(body).bytes;
      break;
    }
    case TTextEncoding::Utf16Le:
    case TTextEncoding::Utf16Be: {
      std::string utf8;
      const std::optional<std::size_t> invalid = Utf16ToUtf8(
          body.substr(0, fault.value_or(body.size())), d.Encoding == TTextEncoding::Utf16Be, utf8);
      if (invalid) fault = invalid, d.ErrorIsNul = false;
      if (!fault) d.Text = cp932::FromUtf8(utf8).bytes;
      break;
    }
  }
  if (fault) {
    d.ErrorOffset = skip + *fault;
    d.ErrorLine = LineAt(body, *fault, unit, d.Encoding == TTextEncoding::Utf16Be);
    d.Text.clear();
  }
  return d;
}

std::string EncodeText(std::string Text, TTextEncoding Encoding, bool Bom) {
  if (Text.empty()) return Text;
  std::string out;
  switch (Encoding) {
    case TTextEncoding::Cp932:
      out = cp932::ToCp932(std::move(Text)).bytes;
      break;
    // ASCII text is its own UTF-8.
    case TTextEncoding::Utf8:
      out = HasNonAscii(Text) ? cp932::ToUtf8(Text) : std::move(Text);
      break;
    case TTextEncoding::Utf16Le:
    case TTextEncoding::Utf16Be:
      out = Utf8ToUtf16(cp932::ToUtf8(Text), Encoding == TTextEncoding::Utf16Be);
      break;
  }
  if (Bom) out.insert(0, ByteOrderMark(Encoding));
  return out;
}

}  // namespace tavrin
