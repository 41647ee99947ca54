#include "util/cp932.h"

#include <algorithm>
#include <array>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "util/cp932_table.h"
#include "util/sjis.h"

namespace tavrin::cp932 {
namespace {

static_assert([] {
  for (std::size_t i = 0; i < kFixedCodeCount; ++i)
    if (kFixedCodes[i].code != OpaqueCode(i)) return false;
  return true;
}());

constexpr std::uint16_t kNone = 0xFFFF;  // neither a CP932 code nor a character of one
constexpr char32_t kReplacementCharacter = U'\uFFFD';

// Array lookups in both directions: characters of the BMP to codes, codes
// (a byte, or lead << 8 | trail) to characters. The fixed codes are included.
struct Tables {
  std::array<std::uint16_t, 0x10000> encode;
  std::array<std::uint16_t, 0x10000> decode;
};

std::unique_ptr<const Tables> BuildTables() {
  auto t = std::make_unique<Tables>();
  t->encode.fill(kNone);
  t->decode.fill(kNone);
  for (std::size_t i = 0; i < table::kDecodeSize; ++i)
    t->decode[table::kDecode[i].first] = table::kDecode[i].second;
  for (std::size_t i = 0; i < table::kEncodeSize; ++i)
    t->encode[table::kEncode[i].first] = table::kEncode[i].second;
  for (const FixedCode& f : kFixedCodes) {
    t->encode[f.character] = static_cast<std::uint16_t>(f.code);
    t->decode[f.code] = static_cast<std::uint16_t>(f.character);
  }
  return t;
}

const Tables& StaticTables() {
  static const std::unique_ptr<const Tables> tables = BuildTables();
  return *tables;
}

// Index of an opaque code among the opaque codes, or -1.
int OpaqueIndex(unsigned code) {
  const unsigned lead = code >> 8, trail = code & 0xFF;
  for (std::size_t row = 0; row < std::size(kOpaqueLeadBytes); ++row) {
    if (kOpaqueLeadBytes[row] != lead) continue;
    if (trail >= 0x40 && trail <= 0x7E) return int(row * kOpaqueTrailCount + (trail - 0x40));
    if (trail >= 0x80 && trail <= 0xFC) return int(row * kOpaqueTrailCount + 63 + (trail - 0x80));
    return -1;
  }
  return -1;
}

// The opaque codes handed out in this run of the program.
struct RunCodes {
  std::mutex mutex;
  std::unordered_map<char32_t, std::uint16_t> codeOf;
  std::vector<char32_t> characterAt = std::vector<char32_t>(kOpaqueCodeCount);  // 0: free
  std::size_t next = kFixedCodeCount;

  // Caller holds the mutex. kNone once the codes have run out.
  std::uint16_t CodeFor(char32_t c) {
    auto [it, inserted] = codeOf.try_emplace(c, kNone);
    if (inserted && next < kOpaqueCodeCount) {
      characterAt[next] = c;
      it->second = static_cast<std::uint16_t>(OpaqueCode(next++));
    } else if (inserted) {
      codeOf.erase(it);
      return kNone;
    }
    return it->second;
  }
};

RunCodes& Run() {
  static RunCodes run;
  return run;
}

// Reads the UTF-8 sequence at s[i]. Returns its length; *c is the character,
// or kNone for an ill-formed sequence, whose length is then that of its
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
    *c = kNone;
    return 1;
  }
  for (std::size_t k = 1; k <= need; ++k) {
    if (i + k >= s.size() || byte(i + k) < lo || byte(i + k) > hi) {
      *c = kNone;
      return k;
    }
    value = value << 6 | (byte(i + k) & 0x3F);
    lo = 0x80, hi = 0xBF;
  }
  *c = value;
  return need + 1;
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

constexpr bool IsTrailByte(unsigned char b) noexcept {
  return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

}  // namespace

EncodeResult FromUtf8(std::string_view utf8) {
  const Tables& t = StaticTables();
  RunCodes& run = Run();
  std::unique_lock lock(run.mutex, std::defer_lock);  // taken at the first opaque character
  EncodeResult r;
  // Never longer than the input: every non-ASCII character takes at least
  // two UTF-8 bytes and at most two CP932 bytes, a bad byte one "?".
  r.bytes.resize(utf8.size());
  char* out = r.bytes.data();
  std::size_t o = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    if (static_cast<unsigned char>(utf8[i]) < 0x80) {  // ASCII is CP932 unchanged
      out[o++] = utf8[i++];
      continue;
    }
    char32_t c;
    i += ReadUtf8(utf8, i, &c);
    std::uint16_t code = c == kNone ? kNone : c < 0x10000 ? t.encode[c] : kNone;
    if (code == kNone && c != kNone) {
      if (!lock.owns_lock()) lock.lock();
      code = run.CodeFor(c);
    }
    if (code == kNone) {
      out[o++] = kReplacement;
      ++r.replaced;
    } else if (code < 0x100) {
      out[o++] = char(code);
    } else {
      out[o++] = char(code >> 8);
      out[o++] = char(code & 0xFF);
    }
  }
  r.bytes.resize(o);
  return r;
}

std::string ToUtf8(std::string_view cp932) {
  const Tables& t = StaticTables();
  RunCodes& run = Run();
  std::unique_lock lock(run.mutex, std::defer_lock);  // taken at the first opaque code
  std::string out;
  out.reserve(cp932.size() + cp932.size() / 2);
  for (std::size_t i = 0; i < cp932.size();) {
    const unsigned char b = static_cast<unsigned char>(cp932[i]);
    if (b < 0x80) {
      out += char(b);
      ++i;
      continue;
    }
    char32_t c = kReplacementCharacter;
    if (!IsLeadByte(b)) {
      if (t.decode[b] != kNone) c = t.decode[b];
      ++i;
    } else if (i + 1 < cp932.size() && IsTrailByte(static_cast<unsigned char>(cp932[i + 1]))) {
      const unsigned code = b << 8 | static_cast<unsigned char>(cp932[i + 1]);
      if (t.decode[code] != kNone) {
        c = t.decode[code];
      } else if (const int index = OpaqueIndex(code); index >= 0) {
        if (!lock.owns_lock()) lock.lock();
        if (run.characterAt[index] != 0) c = run.characterAt[index];
      }
      i += 2;
    } else {
      ++i;  // a lead byte at the end or before a byte that cannot follow it
    }
    AppendUtf8(out, c);
  }
  return out;
}

std::string Sjis(std::string_view utf8) { return FromUtf8(utf8).bytes; }

std::size_t RunCodesLeft() {
  RunCodes& run = Run();
  std::lock_guard lock(run.mutex);
  return kOpaqueCodeCount - run.next;
}

void ResetRunCodes() {
  RunCodes& run = Run();
  std::lock_guard lock(run.mutex);
  run.codeOf.clear();
  std::fill(run.characterAt.begin() + kFixedCodeCount, run.characterAt.end(), char32_t(0));
  run.next = kFixedCodeCount;
}

}  // namespace tavrin::cp932
