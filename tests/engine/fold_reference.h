#pragma once
// Slow, literal versions of the folding procedures for the tests to compare
// the engine's single-pass lookups against: each pair of a table is applied
// in table order by searching from the left, matching only at character
// boundaries found by scanning from the start.
#include <string>
#include <string_view>
#include <vector>

#include "engine/char_folding.h"
#include "engine/lower_case_table.h"
#include "util/cp932.h"
#include "util/sjis.h"

namespace tavrin::test {

inline std::vector<bool> Boundaries(std::string_view s) {
  std::vector<bool> b(s.size() + 1, false);
  for (std::size_t i = 0; i < s.size(); i += CharLength(s, i)) b[i] = true;
  b[s.size()] = true;
  return b;
}

inline std::string ReplacePair(std::string s, std::string_view from, std::string_view to) {
  std::size_t pos = 0;
  while ((pos = s.find(from, pos)) != std::string::npos) {
    if (!Boundaries(s)[pos]) {
      ++pos;
      continue;
    }
    s.replace(pos, from.size(), to);
    pos += to.size();
  }
  return s;
}

inline std::string ReferenceFoldWidth(std::string s) {
  if (!HasDoubleByteCharacter(s)) return s;
  // The codec's fixed codes first become their CP932 twins.
  for (const cp932::FixedCode& f : cp932::kFixedCodes)
    s = ReplacePair(s, std::string{char(f.code >> 8), char(f.code & 0xFF)}, f.twin);
  for (const TFoldPair& p : WidthTable()) s = ReplacePair(s, p.Source, p.Replacement);
  return s;
}

inline std::string ReferenceLower(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size();) {
    std::size_t len = CharLength(s, i);
    unsigned code = static_cast<unsigned char>(s[i]);
    if (len == 2) code = code << 8 | static_cast<unsigned char>(s[i + 1]);
    std::string ch(s.substr(i, len));
    for (std::size_t k = 0; k < kLowerCaseTableSize; ++k) {
      if (kLowerCaseTable[k].Code != code) continue;
      unsigned low = kLowerCaseTable[k].Lower;
      ch = low < 0x100 ? std::string(1, char(low)) : std::string{char(low >> 8), char(low & 0xFF)};
    }
    out += ch;
    i += len;
  }
  return out;
}

inline std::string ReferenceFoldCase(std::string_view s) {
  std::string t = ReferenceLower(s);
  for (const TFoldPair& p : SmallKanaTable()) t = ReplacePair(t, p.Source, p.Replacement);
  return t;
}

inline std::string ReferenceFoldHyphens(std::string_view s) {
  return ReplacePair(ReplacePair(ReferenceFoldCase(s), "\x81\x5B", "-"), "\xB0", "-");
}

}  // namespace tavrin::test
