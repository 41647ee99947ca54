// The settings-file reader and writer over arbitrary bytes. The input is a
// file's bytes, made text as IniFile makes it (any encoding an editor may
// have saved); its last bytes choose a section, a key and a value. Checks:
// no crash and no read outside the buffer (the sanitizers), a value read is
// at most 2047 bytes, a key written reads back as its value, and writing
// leaves every other key's value as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/ini_text.h"
#include "util/sjis.h"

namespace {

using namespace tavrin;

void Check(bool ok) {
  if (!ok) std::abort();
}

std::string_view Take(std::string_view& s, std::size_t n) {
  n = std::min(n, s.size());
  std::string_view head = s.substr(0, n);
  s.remove_prefix(n);
  return head;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A name or value the file can hold as itself: no line break, no blank at
// either end, and no lone lead byte at its end (it would take the "=" or
// "]" after it as its trail byte). Names also may not hold the delimiter
// that ends them, and keys may not open a section.
bool Storable(std::string_view s, bool name, char delimiter) {
  if (name && s.empty()) return false;
  if (!s.empty() && (IsBlank(s.front()) || IsBlank(s.back()))) return false;
  // Lines split on bytes: a CR or LF breaks a line even as a trail byte.
  if (s.find_first_of("\r\n") != std::string_view::npos) return false;
  std::size_t i = 0;
  while (i < s.size()) {
    if (name && s[i] == delimiter) return false;
    std::size_t n = CharLength(s, i);
    if (n == 1 && IsLeadByte(static_cast<unsigned char>(s[i]))) return false;
    i += n;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view all(reinterpret_cast<const char*>(data), size);
  // Layout: text, then up to three parts of lengths given by the last 3 bytes.
  std::string_view tail = all.size() >= 3 ? all.substr(all.size() - 3) : std::string_view();
  std::string_view rest = all.substr(0, all.size() - tail.size());
  std::size_t lengths[3] = {0, 0, 0};
  for (std::size_t i = 0; i < tail.size(); ++i)
    lengths[i] = static_cast<unsigned char>(tail[i]) % 24;
  std::string_view value = rest.size() >= lengths[2] ? rest.substr(rest.size() - lengths[2]) : rest;
  rest.remove_suffix(value.size());
  std::string_view key = rest.size() >= lengths[1] ? rest.substr(rest.size() - lengths[1]) : rest;
  rest.remove_suffix(key.size());
  std::string_view section =
      rest.size() >= lengths[0] ? rest.substr(rest.size() - lengths[0]) : rest;
  rest.remove_suffix(section.size());
  const std::string text = IniTextOfFile(std::string(rest));

  std::optional<std::string> before = FindIniValue(text, section, key);
  Check(!before || before->size() <= kIniValueMax);
  // Some other names to watch: the first bytes of the text.
  std::string_view probe = text;
  std::string_view otherSection = Take(probe, 4), otherKey = Take(probe, 3);
  std::optional<std::string> other = FindIniValue(text, otherSection, otherKey);

  if (!Storable(section, true, ']') || !Storable(key, true, '=') || key.front() == '[' ||
      !Storable(value, false, 0))
    return 0;
  const std::string written = SetIniValue(text, section, key, value);
  Check(FindIniValue(written, section, key) == std::string(value));
  // Only the key written changes, unless the other names are the same ones.
  std::optional<std::string> otherAfter = FindIniValue(written, otherSection, otherKey);
  if (otherAfter != other) {
    Check(FindIniValue(written, otherSection, otherKey) == FindIniValue(written, section, key));
  }
  // Writing the same again changes nothing.
  Check(SetIniValue(written, section, key, value) == written);
  return 0;
}
