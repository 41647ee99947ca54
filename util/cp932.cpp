#include "util/cp932.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "util/cp932_table.h"
#include "util/paged_table.h"
#include "util/parallel.h"
#include "util/sjis.h"

namespace tavrin::cp932 {
namespace {

static_assert([] {
  for (std::size_t i = 0; i < kFixedCodeCount; ++i)
    if (kFixedCodes[i].code != UnassignedCode(i)) return false;
  return UnassignedCode(kUnassignedCodeCount - kRowCodeCount) ==
             (unsigned(kSequenceLead) << 8 | kEscapeTrail) &&
         UnassignedIndex(UnassignedCode(kDigitIndex + 255)) == int(kDigitIndex + 255) &&
         kDigitIndex + 256 < kUnassignedCodeCount - kRowCodeCount;
}());

constexpr std::uint16_t kNone = 0xFFFF;    // neither a CP932 code nor a character of one
constexpr char32_t kInvalid = 0xFFFFFFFF;  // an ill-formed UTF-8 sequence
constexpr char32_t kReplacementCharacter = U'\uFFFD';

// Array lookups in both directions, computed by the compiler: characters of
// the BMP to codes, codes (a byte, or lead << 8 | trail) to characters. The
// fixed codes are included.
enum class Direction { kEncode, kDecode };

constexpr FullTable<std::uint16_t> FullLookup(Direction d) {
  const bool encode = d == Direction::kEncode;
  FullTable<std::uint16_t> t;
  t.fill(kNone);
  using Pairs = std::span<const table::Pair>;
  for (const table::Pair& p : encode ? Pairs(table::kEncode) : Pairs(table::kDecode))
    t[p.first] = p.second;
  for (const FixedCode& f : kFixedCodes) {
    const auto character = static_cast<std::uint16_t>(f.character);
    const auto code = static_cast<std::uint16_t>(f.code);
    t[encode ? character : code] = encode ? code : character;
  }
  return t;
}

constexpr auto kEncodeTable =
    Paged<PageCount(FullLookup(Direction::kEncode), kNone)>(FullLookup(Direction::kEncode), kNone);
constexpr auto kDecodeTable =
    Paged<PageCount(FullLookup(Direction::kDecode), kNone)>(FullLookup(Direction::kDecode), kNone);

// A round trip through both lookups, a single byte and a fixed code included.
static_assert(kDecodeTable[kEncodeTable[U'\u3042']] == U'\u3042' &&
              kDecodeTable[kEncodeTable[U'\uFF71']] == U'\uFF71' &&
              kEncodeTable[U'\u301C'] == 0x8540 && kDecodeTable[0x8540] == U'\u301C' &&
              kEncodeTable[U'\u00E9'] == kNone);

// Reads the UTF-8 sequence at s[i]. Returns its length; *c is the character,
// or kInvalid for an ill-formed sequence, whose length is then that of its
// maximal well-formed prefix (at least 1), as Unicode recommends.
std::size_t ReadUtf8(std::string_view s, std::size_t i, char32_t* c) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned b0 = byte(i);
  std::size_t need;
  unsigned lo = 0x80, hi = 0xBF;  // range of the second byte
  char32_t value;
  if (b0 < 0x80) {
    *c = b0;
    return 1;
  } else if (b0 >= 0xC2 && b0 <= 0xDF) {
    need = 1, value = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    need = 2, value = b0 & 0x0F;
    if (b0 == 0xE0) lo = 0xA0;
    if (b0 == 0xED) hi = 0x9F;  // no surrogates
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    need = 3, value = b0 & 0x07;
    if (b0 == 0xF0) lo = 0x90;
    if (b0 == 0xF4) hi = 0x8F;  // nothing above U+10FFFF
  } else {
    *c = kInvalid;
    return 1;
  }
  for (std::size_t k = 1; k <= need; ++k) {
    if (i + k >= s.size() || byte(i + k) < lo || byte(i + k) > hi) {
      *c = kInvalid;
      return k;
    }
    value = value << 6 | (byte(i + k) & 0x3F);
    lo = 0x80, hi = 0xBF;
  }
  *c = value;
  return need + 1;
}

// Writes character c, whose entry in the encode table is code, at out[o]:
// its one or two bytes, or its plane sequence (6 bytes) where CP932 lacks
// it. Returns the position after it.
std::size_t PutCharacter(char* out, std::size_t o, char32_t c, std::uint16_t code) {
  if (code == kNone) {
    const unsigned high = UnassignedCode(kDigitIndex + (c >> 8 & 0xFF));
    const unsigned low = UnassignedCode(kDigitIndex + (c & 0xFF));
    out[o++] = char(kSequenceLead);
    out[o++] = char(kPlaneTrail + (c >> 16));
    out[o++] = char(high >> 8);
    out[o++] = char(high & 0xFF);
    out[o++] = char(low >> 8);
    out[o++] = char(low & 0xFF);
  } else if (code < 0x100) {
    out[o++] = char(code);
  } else {
    out[o++] = char(code >> 8);
    out[o++] = char(code & 0xFF);
  }
  return o;
}

constexpr bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// One piece of a UTF-16 text, encoded into a region of the result that
// holds a byte for each ASCII unit and two for each other (RegionSize).
// Plane sequences (six bytes for one unit, or for a pair of two) may need
// more than the room one-byte codes left: then the piece moves to a buffer
// of its own.
class TUtf16Piece {
 public:
  TUtf16Piece(char* region, std::size_t room) : FOut(region), FRoom(room) {}
  std::size_t Size() const { return FSize; }
  std::size_t Replaced() const { return FReplaced; }
  const char* Own() const { return FOwn.get(); }

  void Encode(std::u16string_view s);

 private:
  // Room for need bytes so far, when the units so far were counted for
  // counted bytes of the room.
  void Reserve(std::size_t need, std::size_t counted) {
    if (need <= counted + FGrown) return;
    const std::size_t growth = std::max(FRoom, need - counted - FGrown);
    std::unique_ptr<char[]> grown(new char[FRoom + growth]);
    std::memcpy(grown.get(), FOut, FSize);
    FRoom += growth;
    FGrown += growth;
    FOwn = std::move(grown);
    FOut = FOwn.get();
  }
  char* FOut;
  std::size_t FRoom;
  std::unique_ptr<char[]> FOwn;
  std::size_t FSize = 0, FReplaced = 0;
  std::size_t FGrown = 0;  // the room beyond the region
};

// Eight units that are all ASCII, written as their eight bytes; false (and
// nothing written) when one is not.
inline bool PutAscii8(const char16_t* s, char* out) {
#if defined(__SSE2__)
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
  if (_mm_movemask_epi8(
          _mm_cmpeq_epi16(_mm_and_si128(v, _mm_set1_epi16(-0x80)), _mm_setzero_si128())) != 0xFFFF)
    return false;
  _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(v, v));
  return true;
#else
  std::uint64_t v[2];
  std::memcpy(v, s, 16);
  if (((v[0] | v[1]) & 0xFF80FF80FF80FF80u) != 0) return false;
  for (std::size_t k = 0; k < 8; ++k) out[k] = char(s[k]);
  return true;
#endif
}

// The bytes of the region a piece is first written in: one for each ASCII
// unit, two for each other.
std::size_t RegionSize(std::u16string_view s) {
  const std::size_t n = s.size();
  std::size_t size = n, i = 0;
#if defined(__SSE2__)
  // The units of 0x80 and above, counted in eight lanes (each lane's count
  // subtracts -1 at most 0x7FFF times before it is added up).
  while (i + 8 <= n) {
    __m128i counts = _mm_setzero_si128();
    for (const std::size_t end = std::min(n - 7, i + 8 * 0x7FFF); i < end; i += 8) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s.data() + i));
      counts = _mm_sub_epi16(
          counts, _mm_xor_si128(
                      _mm_cmpeq_epi16(_mm_and_si128(v, _mm_set1_epi16(-0x80)), _mm_setzero_si128()),
                      _mm_set1_epi16(-1)));
    }
    alignas(16) std::uint16_t lanes[8];
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes), counts);
    for (const std::uint16_t c : lanes) size += c;
  }
#endif
  for (; i < n; ++i) size += s[i] >= 0x80;
  return size;
}

void TUtf16Piece::Encode(std::u16string_view s) {
  const std::size_t n = s.size();
  // The room left holds a byte for each ASCII unit left and two for each
  // other: one-byte codes and lone surrogates leave some over, which a
  // plane sequence takes first. What the units before it were counted for
  // is found only then (most texts hold none).
  char* out = FOut;
  std::size_t o = 0;
  std::size_t counted = 0, region = 0;  // units [0, counted) are counted for region bytes
  for (std::size_t i = 0; i < n;) {
    const char16_t u = s[i];
    if (u < 0x80) {  // ASCII is CP932 unchanged: then eight units at a time while they are
      out[o++] = char(u);
      for (++i; i + 8 <= n && PutAscii8(s.data() + i, out + o); i += 8, o += 8) {
      }
      continue;
    }
    if (u < 0xD800 || u > 0xDFFF) {
      if (const std::uint16_t code = kEncodeTable[u]; code != kNone) {
        // One byte or two, written without a branch: a one-byte code's
        // second write is overwritten next.
        const bool two = code > 0xFF;
        out[o] = char(two ? code >> 8 : code);
        out[o + 1] = char(code & 0xFF);
        o += 1 + std::size_t{two};
        ++i;
        continue;
      }
    }
    const std::size_t start = i;
    char32_t c = u;
    if (IsHighSurrogate(u) && i + 1 < n && IsLowSurrogate(s[i + 1])) {
      c = 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(s[i + 1]) - 0xDC00);
      i += 2;
    } else if (IsHighSurrogate(u) || IsLowSurrogate(u)) {
      out[o++] = kReplacement;
      ++FReplaced;
      ++i;
      continue;
    } else {
      ++i;
    }
    // Six bytes, where the room left must still hold what the units after
    // this character were counted for.
    region += RegionSize(s.substr(counted, start - counted)) + 2 * (i - start);
    counted = i;
    FSize = o;
    Reserve(o + 6, region);
    out = FOut;
    o = PutCharacter(out, o, c, c < 0x10000 ? kEncodeTable[c] : kNone);
  }
  FSize = o;
}

}  // namespace

EncodeResult FromUtf16(std::u16string_view utf16, std::string Room) {
  constexpr std::size_t kPiece = 1 << 18;  // units; smaller pieces are not worth a thread
  const std::size_t n = utf16.size();
  const unsigned parts =
      static_cast<unsigned>(std::clamp<std::size_t>(n / kPiece, 1, ParallelWidth()));
  // Pieces never part a surrogate pair.
  const std::vector<std::size_t> bounds = RunBounds(n, parts, [&](std::size_t at) {
    return IsHighSurrogate(utf16[at - 1]) && IsLowSurrogate(utf16[at]);
  });
  const auto piece = [&](unsigned part) {
    return utf16.substr(bounds[part], bounds[part + 1] - bounds[part]);
  };
  // Each piece writes at its region (mostly its exact place: only one-byte
  // codes other than ASCII, lone surrogates and plane sequences differ),
  // then the pieces move up together: one buffer, and the first piece never
  // copied.
  std::vector<std::size_t> at(parts + 1, 0);
  RunParts(parts, [&](unsigned part) { at[part + 1] = RegionSize(piece(part)); });
  for (unsigned part = 0; part < parts; ++part) at[part + 1] += at[part];
  EncodeResult r;
  r.bytes = std::move(Room);
  r.bytes.clear();  // its old bytes are never copied
  r.bytes.resize(at[parts]);
  std::vector<TUtf16Piece> pieces;
  pieces.reserve(parts);
  for (unsigned part = 0; part < parts; ++part)
    pieces.emplace_back(r.bytes.data() + at[part], at[part + 1] - at[part]);
  RunParts(parts, [&](unsigned part) { pieces[part].Encode(piece(part)); });
  std::size_t size = 0;
  bool own = false;
  for (const TUtf16Piece& p : pieces) {
    size += p.Size();
    r.replaced += p.Replaced();
    own = own || p.Own() != nullptr;
  }
  const auto bytesOf = [&](unsigned part) {
    const TUtf16Piece& p = pieces[part];
    return std::string_view(p.Own() ? p.Own() : r.bytes.data() + at[part], p.Size());
  };
  if (own) {
    // A piece outgrew its region: joined anew, so that no piece's bytes are
    // overwritten before they moved.
    std::string joined;
    joined.reserve(size);
    for (unsigned part = 0; part < parts; ++part) joined += bytesOf(part);
    r.bytes = std::move(joined);
    return r;
  }
  std::size_t o = 0;
  for (unsigned part = 0; part < parts; ++part) {
    const std::string_view piece = bytesOf(part);
    if (piece.data() != r.bytes.data() + o)
      std::memmove(r.bytes.data() + o, piece.data(), piece.size());
    o += piece.size();
  }
  r.bytes.resize(o);
  // The window holds the text as long as its result: room left over of more
  // than half the text (half-width kana take one byte of two) is given back,
  // at the cost of a copy.
  if (r.bytes.capacity() - o > o / 2) r.bytes.shrink_to_fit();
  return r;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | c >> 6);
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | c >> 12);
    out += char(0x80 | (c >> 6 & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | c >> 18);
    out += char(0x80 | (c >> 12 & 0x3F));
    out += char(0x80 | (c >> 6 & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

EncodeResult FromUtf8(std::string_view utf8) {
  EncodeResult r;
  // Mostly no longer than the input (a Japanese character takes three UTF-8
  // bytes and two CP932 bytes); grows where plane sequences make it longer.
  r.bytes.resize(utf8.size());
  char* out = r.bytes.data();
  std::size_t o = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    if (static_cast<unsigned char>(utf8[i]) < 0x80) {  // ASCII is CP932 unchanged
      const std::size_t end = AsciiEnd(utf8, i);
      std::memcpy(out + o, utf8.data() + i, end - i);
      o += end - i;
      i = end;
      continue;
    }
    // Room for a plane sequence and for the rest of the input as ASCII.
    if (const std::size_t need = o + 6 + (utf8.size() - i); need > r.bytes.size()) {
      r.bytes.resize(std::max(2 * r.bytes.size(), need));
      out = r.bytes.data();
    }
    char32_t c;
    i += ReadUtf8(utf8, i, &c);
    const std::uint16_t code = c < 0x10000 ? kEncodeTable[c] : kNone;
    if (c == kInvalid) {
      out[o++] = kReplacement;
      ++r.replaced;
    } else {
      o = PutCharacter(out, o, c, code);
    }
  }
  r.bytes.resize(o);
  return r;
}

std::size_t AsciiEnd(std::string_view s, std::size_t i) {
  for (; i + 8 <= s.size(); i += 8) {
    std::uint64_t v;
    std::memcpy(&v, s.data() + i, 8);
    if ((v & 0x8080808080808080u) != 0) break;
  }
  while (i < s.size() && static_cast<unsigned char>(s[i]) < 0x80) ++i;
  return i;
}

std::optional<std::size_t> FirstInvalidUtf8(std::string_view utf8) {
  for (std::size_t i = 0; i < utf8.size();) {
    if (static_cast<unsigned char>(utf8[i]) < 0x80) {
      i = AsciiEnd(utf8, i + 1);
      continue;
    }
    char32_t c;
    const std::size_t length = ReadUtf8(utf8, i, &c);
    if (c == kInvalid) return i;
    i += length;
  }
  return std::nullopt;
}

namespace {

// The character of a plane sequence (6 bytes at s), or U+FFFD when its
// digits are not digit codes or it names no scalar value.
char32_t PlaneCharacter(const char* s) {
  const auto digit = [&](std::size_t k) {
    const int index = UnassignedIndex(static_cast<unsigned char>(s[k]) << 8 |
                                      static_cast<unsigned char>(s[k + 1]));
    return index >= int(kDigitIndex) && index < int(kDigitIndex + 256) ? index - int(kDigitIndex)
                                                                       : -1;
  };
  const int high = digit(2), low = digit(4);
  const char32_t c = char32_t(static_cast<unsigned char>(s[1]) - kPlaneTrail) << 16 |
                     char32_t(high) << 8 | char32_t(low);
  if (high < 0 || low < 0 || (c >= 0xD800 && c <= 0xDFFF)) return kReplacementCharacter;
  return c;
}

}  // namespace

std::string ToUtf8(std::string_view cp932) {
  std::string out;
  out.reserve(cp932.size() + cp932.size() / 2);
  for (std::size_t i = 0; i < cp932.size();) {
    // ASCII is the same in both: runs of it are copied whole.
    const std::size_t ascii = AsciiEnd(cp932, i);
    out.append(cp932, i, ascii - i);
    i = ascii;
    if (i == cp932.size()) break;
    const unsigned char b = static_cast<unsigned char>(cp932[i]);
    char32_t c = kReplacementCharacter;
    const std::size_t length = CharLength(cp932, i);
    if (!IsLeadByte(b)) {
      if (kDecodeTable[b] != kNone) c = kDecodeTable[b];
      ++i;
    } else if (length == 6) {
      c = PlaneCharacter(cp932.data() + i);
      i += length;
    } else if (length > 2 || (length == 2 && b == kSequenceLead &&
                              static_cast<unsigned char>(cp932[i + 1]) == kEscapeTrail)) {
      i += length;  // an escaped code of CP932 input, or a sequence cut short
    } else if (length == 2 && IsTrailByte(static_cast<unsigned char>(cp932[i + 1]))) {
      const unsigned code = b << 8 | static_cast<unsigned char>(cp932[i + 1]);
      if (kDecodeTable[code] != kNone) c = kDecodeTable[code];
      i += 2;
    } else {
      ++i;  // a lead byte at the end or before a byte that cannot follow it
    }
    AppendUtf8(out, c);
  }
  return out;
}

std::size_t FirstUnassignedCode(std::string_view s) {
  const std::size_t n = s.size();
  for (std::size_t i = 0; i < n;) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
      i = AsciiEnd(s, i + 1);
    } else if (!IsLeadByte(b) || i + 1 == n) {
      ++i;
    } else if (IsUnassignedLead(b) && IsTrailByte(static_cast<unsigned char>(s[i + 1]))) {
      return i;
    } else {
      i += 2;
    }
  }
  return n;
}

std::string FromCp932(std::string cp932) {
  const std::size_t n = cp932.size();
  const auto unassignedAt = [&](std::size_t i) {
    return IsUnassignedLead(static_cast<unsigned char>(cp932[i])) && i + 1 < n &&
           IsTrailByte(static_cast<unsigned char>(cp932[i + 1]));
  };
  // Characters pair as in CP932 itself: a lead byte with the byte after it.
  const auto step = [&](std::size_t i) {
    return IsLeadByte(static_cast<unsigned char>(cp932[i])) && i + 1 < n ? 2 : 1;
  };
  std::size_t i = FirstUnassignedCode(cp932);
  if (i == n) return cp932;  // the usual case: nothing to escape, nothing copied
  std::string out;
  out.reserve(n + n / 8);
  out.append(cp932, 0, i);
  while (i < n) {
    if (unassignedAt(i)) out += {char(kSequenceLead), char(kEscapeTrail)};
    out.append(cp932, i, step(i));
    i += step(i);
  }
  return out;
}

EncodeResult ToCp932(std::string text) {
  EncodeResult r;
  // Whether the character at i needs a change: an escape or an internal form.
  const auto internalAt = [&](std::size_t i) {
    const auto b = static_cast<unsigned char>(text[i]);
    return IsUnassignedLead(b) && i + 1 < text.size() &&
           IsTrailByte(static_cast<unsigned char>(text[i + 1]));
  };
  // Internal forms start with an unassigned lead, as escapes do.
  std::size_t i = FirstUnassignedCode(text);
  if (i == text.size()) {
    r.bytes = std::move(text);
    return r;
  }
  r.bytes.reserve(text.size());
  r.bytes.append(text, 0, i);
  while (i < text.size()) {
    const std::size_t length = CharLength(text, i);
    if (!internalAt(i)) {
      r.bytes.append(text, i, length);
    } else if (length == 4 && static_cast<unsigned char>(text[i + 1]) == kEscapeTrail) {
      r.bytes.append(text, i + 2, 2);
    } else {
      r.bytes += kReplacement;
      ++r.replaced;
    }
    i += length;
  }
  return r;
}

namespace {

// Whether the character at i (of length n) is an escaped code.
bool EscapeAt(std::string_view s, std::size_t i, std::size_t n) {
  return n == 4 && static_cast<unsigned char>(s[i + 1]) == kEscapeTrail;
}

}  // namespace

UnassignedCodes FindUnassignedCodes(std::string_view text) {
  UnassignedCodes found;
  for (std::size_t i = FirstUnassignedCode(text); i < text.size();) {
    const std::size_t n = CharLength(text, i);
    const auto b = static_cast<unsigned char>(text[i]);
    if (IsUnassignedLead(b) && n >= 2 && IsTrailByte(static_cast<unsigned char>(text[i + 1]))) {
      (EscapeAt(text, i, n) ? found.escaped : found.other) = true;
      if (found.escaped && found.other) break;
    }
    i += n;
  }
  return found;
}

std::string WithoutEscapes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = FirstUnassignedCode(text);
  out.append(text, 0, i);
  while (i < text.size()) {
    const std::size_t n = CharLength(text, i);
    const std::size_t skip = EscapeAt(text, i, n) ? 2 : 0;
    out.append(text, i + skip, n - skip);
    i += n;
  }
  return out;
}

std::string Sjis(std::string_view utf8) { return FromUtf8(utf8).bytes; }

}  // namespace tavrin::cp932
