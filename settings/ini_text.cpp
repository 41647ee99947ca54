#include "settings/ini_text.h"

#include <vector>

#include "util/sjis.h"

namespace tavrin {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

struct Line {
  std::size_t begin;  // first byte of the content
  std::size_t size;   // content bytes, without the line break
  std::size_t end;    // first byte after the line break
  bool HasBreak() const { return end > begin + size; }
};

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  std::size_t i = text.substr(0, kBom.size()) == kBom ? kBom.size() : 0;
  while (i < text.size()) {
    std::size_t j = text.find_first_of("\r\n", i);
    if (j == std::string_view::npos) {
      lines.push_back({i, text.size() - i, text.size()});
      break;
    }
    std::size_t next =
        (text[j] == '\r' && j + 1 < text.size() && text[j + 1] == '\n') ? j + 2 : j + 1;
    lines.push_back({i, j - i, next});
    i = next;
  }
  return lines;
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

// Where (section, key) stands: the first section of that name and the first
// key of that name inside it.
struct Place {
  std::vector<Line> lines;
  std::optional<std::size_t> section;  // index of the section's line
  std::optional<std::size_t> key;      // index of the key's line
  std::size_t lastFilled = 0;          // last non-blank line of the section
};

Place Locate(std::string_view text, std::string_view section, std::string_view key) {
  Place p{SplitLines(text), {}, {}, 0};
  section = Trim(section);
  key = Trim(key);
  bool inside = false;
  for (std::size_t i = 0; i < p.lines.size(); ++i) {
    Parsed line = ParseLine(text.substr(p.lines[i].begin, p.lines[i].size));
    if (line.kind == Parsed::kSection) {
      if (inside) break;  // a later section of the same name is never used
      if (SameName(line.name, section)) {
        inside = true;
        p.section = p.lastFilled = i;
      }
      continue;
    }
    if (!inside) continue;
    if (!Trim(text.substr(p.lines[i].begin, p.lines[i].size)).empty()) p.lastFilled = i;
    if (line.kind == Parsed::kKey && !p.key && SameName(line.name, key)) p.key = i;
  }
  return p;
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

}  // namespace

std::optional<std::string> FindIniValue(std::string_view text, std::string_view section,
                                        std::string_view key) {
  Place p = Locate(text, section, key);
  if (!p.key) return std::nullopt;
  const Line& line = p.lines[*p.key];
  return std::string(
      CutAtCharacter(ParseLine(text.substr(line.begin, line.size)).value, kIniValueMax));
}

std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value) {
  section = Trim(section);
  key = Trim(key);
  std::string entry(key);
  entry += '=';
  for (char c : value)
    if (c != '\r' && c != '\n') entry += c;

  Place p = Locate(text, section, key);
  std::string out;
  out.reserve(text.size() + entry.size() + section.size() + 6);
  if (p.key) {
    const Line& line = p.lines[*p.key];
    out.append(text.substr(0, line.begin))
        .append(entry)
        .append(text.substr(line.begin + line.size));
  } else if (p.section) {
    const Line& last = p.lines[p.lastFilled];
    out.append(text.substr(0, last.end));
    if (!last.HasBreak()) out += "\r\n";
    out.append(entry).append("\r\n").append(text.substr(last.end));
  } else {
    out.append(text);
    if (!p.lines.empty() && !p.lines.back().HasBreak()) out += "\r\n";
    out.append("[").append(section).append("]\r\n").append(entry).append("\r\n");
  }
  return out;
}

}  // namespace tavrin
