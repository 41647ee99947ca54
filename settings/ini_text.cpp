#include "settings/ini_text.h"

#include <algorithm>
#include <vector>

#include "util/cp932.h"
#include "util/sjis.h"
#include "util/text_encoding.h"
#include "util/utf16.h"

namespace tavrin {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

struct Line {
  std::size_t begin;  // first byte of the content
  std::size_t size;   // content bytes, without the line break
  std::size_t end;    // first byte after the line break
  bool HasBreak() const { return end > begin + size; }
};

std::size_t TextStart(std::string_view text) {
  return text.substr(0, kBom.size()) == kBom ? kBom.size() : 0;
}

// The line starting at i (i < text.size()).
Line LineAt(std::string_view text, std::size_t i) {
  std::size_t j = text.find_first_of("\r\n", i);
  if (j == std::string_view::npos) return {i, text.size() - i, text.size()};
  std::size_t next =
      (text[j] == '\r' && j + 1 < text.size() && text[j + 1] == '\n') ? j + 2 : j + 1;
  return {i, j - i, next};
}

constexpr bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Position of the first single-byte c, stepping over double-byte characters.
std::size_t FindChar(std::string_view s, char c) {
  for (std::size_t i = 0; i < s.size(); i += CharLength(s, i))
    if (s[i] == c) return i;
  return std::string_view::npos;
}

constexpr char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Equal names up to ASCII letter case; trail bytes are never folded.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size();) {
    std::size_t n = CharLength(a, i);
    if (n != CharLength(b, i)) return false;
    if (n == 1 ? AsciiLower(a[i]) != AsciiLower(b[i]) : a.substr(i, 2) != b.substr(i, 2))
      return false;
    i += n;
  }
  return true;
}

// What one line is to the profile functions.
struct Parsed {
  enum Kind { kOther, kSection, kKey } kind = kOther;
  std::string_view name;   // section or key name, trimmed
  std::string_view value;  // key value, trimmed
};

Parsed ParseLine(std::string_view content) {
  std::string_view s = Trim(content);
  if (!s.empty() && s.front() == '[') {
    std::string_view inner = s.substr(1);
    return {Parsed::kSection, Trim(inner.substr(0, FindChar(inner, ']'))), {}};
  }
  std::size_t eq = FindChar(content, '=');
  if (eq == std::string_view::npos) return {};
  return {Parsed::kKey, Trim(content.substr(0, eq)), Trim(content.substr(eq + 1))};
}

// The longest prefix of at most max bytes that ends on a character boundary.
std::string_view CutAtCharacter(std::string_view s, std::size_t max) {
  std::size_t i = 0;
  while (i < s.size()) {
    std::size_t n = CharLength(s, i);
    if (i + n > max) break;
    i += n;
  }
  return s.substr(0, i);
}

// UTF-16 after skip bytes, its units as the program's text.
std::string FromUtf16(std::string_view bytes, std::size_t skip, bool bigEndian) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (std::size_t i = skip; i + 1 < bytes.size(); i += 2) {
    const auto a = static_cast<unsigned char>(bytes[i]),
               b = static_cast<unsigned char>(bytes[i + 1]);
    units += static_cast<char16_t>(bigEndian ? a << 8 | b : b << 8 | a);
  }
  std::string text = SjisFromUtf16(units);
  if ((bytes.size() - skip) % 2 != 0) text += cp932::kReplacement;  // half a unit at the end
  return text;
}

}  // namespace

std::string IniTextOfFile(std::string bytes) {
  const std::optional<TTextEncoding> bom = EncodingOfBom(bytes);
  std::optional<TTextEncoding> encoding = bom;
  // Without a byte order mark, UTF-16 shows by the zero byte of its first
  // character; no text in CP932 or UTF-8 holds one there.
  if (!bom && bytes.size() >= 2 && (bytes[0] == '\0') != (bytes[1] == '\0'))
    encoding = bytes[1] == '\0' ? TTextEncoding::Utf16Le : TTextEncoding::Utf16Be;
  if (!encoding) encoding = RecognisedEncoding(bytes);
  const std::size_t skip = bom ? ByteOrderMark(*bom).size() : 0;
  switch (encoding.value_or(TTextEncoding::Cp932)) {
    case TTextEncoding::Utf16Le:
      return FromUtf16(bytes, skip, false);
    case TTextEncoding::Utf16Be:
      return FromUtf16(bytes, skip, true);
    case TTextEncoding::Utf8: {
      const std::string_view body = std::string_view(bytes).substr(skip);
      if (!cp932::FirstInvalidUtf8(body)) return cp932::FromUtf8(body).bytes;
      break;
    }
    case TTextEncoding::Cp932:
      break;
  }
  return bytes;
}

std::optional<std::string> FindIniValue(std::string_view text, std::string_view section,
                                        std::string_view key) {
  section = Trim(section);
  key = Trim(key);
  bool inside = false;
  for (std::size_t i = TextStart(text); i < text.size();) {
    const Line line = LineAt(text, i);
    i = line.end;
    Parsed parsed = ParseLine(text.substr(line.begin, line.size));
    if (parsed.kind == Parsed::kSection) {
      if (inside) break;  // a later section of the same name is never used
      inside = SameName(parsed.name, section);
    } else if (inside && parsed.kind == Parsed::kKey && SameName(parsed.name, key)) {
      return std::string(CutAtCharacter(parsed.value, kIniValueMax));
    }
  }
  return std::nullopt;
}

namespace {

// The writes of one section, in the order of their first write.
struct SectionWrites {
  std::string_view name;
  std::vector<std::pair<std::string_view, std::string>> entries;  // key, "key=value"
  std::vector<bool> placed;
  bool seen = false;
};

std::vector<SectionWrites> GroupWrites(const std::vector<IniWrite>& writes) {
  std::vector<SectionWrites> sections;
  for (const IniWrite& w : writes) {
    std::string_view section = Trim(w.section), key = Trim(w.key);
    std::string entry(key);
    entry += '=';
    for (char c : w.value)
      if (c != '\r' && c != '\n') entry += c;
    auto s = std::find_if(sections.begin(), sections.end(),
                          [&](const SectionWrites& g) { return SameName(g.name, section); });
    if (s == sections.end()) s = sections.insert(sections.end(), SectionWrites{section, {}, {}});
    auto e = std::find_if(s->entries.begin(), s->entries.end(),
                          [&](const auto& kv) { return SameName(kv.first, key); });
    if (e != s->entries.end()) {
      e->second = std::move(entry);  // the last value wins, at the first write's place
    } else {
      s->entries.emplace_back(key, std::move(entry));
      s->placed.push_back(false);
    }
  }
  return sections;
}

}  // namespace

std::string SetIniValues(std::string_view text, const std::vector<IniWrite>& writes) {
  std::vector<SectionWrites> sections = GroupWrites(writes);
  std::string out;
  out.reserve(text.size() + 64 * writes.size());
  const std::size_t start = TextStart(text);
  out.append(text.substr(0, start));

  SectionWrites* inside = nullptr;
  std::size_t insertAt = 0;       // after the section's last non-blank line
  bool insertNeedsBreak = false;  // that line ends the text without a break
  auto closeSection = [&] {
    if (!inside) return;
    std::string added;
    for (std::size_t k = 0; k < inside->entries.size(); ++k)
      if (!inside->placed[k]) added.append(inside->entries[k].second).append("\r\n");
    if (!added.empty() && insertNeedsBreak) added.insert(0, "\r\n");
    out.insert(insertAt, added);
    inside = nullptr;
  };
  for (std::size_t i = start; i < text.size();) {
    const Line line = LineAt(text, i);
    i = line.end;
    const std::string_view content = text.substr(line.begin, line.size);
    const std::string_view lineBreak =
        text.substr(line.begin + line.size, line.end - line.begin - line.size);
    Parsed parsed = ParseLine(content);
    if (parsed.kind == Parsed::kSection) {
      closeSection();
      for (SectionWrites& s : sections)
        if (!s.seen && SameName(s.name, parsed.name)) {
          s.seen = true;
          inside = &s;
        }
      out.append(content).append(lineBreak);
      insertAt = out.size();
      insertNeedsBreak = !line.HasBreak();
      continue;
    }
    bool replaced = false;
    if (inside && parsed.kind == Parsed::kKey) {
      for (std::size_t k = 0; k < inside->entries.size(); ++k)
        if (!inside->placed[k] && SameName(inside->entries[k].first, parsed.name)) {
          inside->placed[k] = true;
          out.append(inside->entries[k].second);
          replaced = true;
          break;
        }
    }
    if (!replaced) out.append(content);
    out.append(lineBreak);
    if (inside && !Trim(content).empty()) {
      insertAt = out.size();
      insertNeedsBreak = !line.HasBreak();
    }
  }
  closeSection();
  for (SectionWrites& s : sections) {
    if (s.seen) continue;
    if (out.size() > start && out.back() != '\n' && out.back() != '\r') out += "\r\n";
    out.append("[").append(s.name).append("]\r\n");
    for (const auto& entry : s.entries) out.append(entry.second).append("\r\n");
  }
  return out;
}

std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value) {
  return SetIniValues(text, {{std::string(section), std::string(key), std::string(value)}});
}

}  // namespace tavrin
