#pragma once
// The settings file's text as the profile functions see it, over bytes.
//
// Lines end in CR LF, LF or a lone CR. A line whose first non-blank byte is
// "[" opens a section; its name runs to the first "]" (or the line's end).
// Inside a section a line with "=" is a key: name before the first "=",
// value after it. Names match without regard to ASCII letter case, the first
// of duplicate sections or keys wins, and blanks (space, TAB) around names
// and values are ignored. Scanning for "]" and "=" steps over double-byte
// characters, so a trail byte is never taken for either. A UTF-8 byte order
// mark before the first line is skipped when reading and kept when writing.
//
// The text is the program's own (CP932, characters outside it in the
// codec's internal forms, util/cp932.h); IniTextOfFile makes it of a file
// that an editor saved in another encoding.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

// A file's bytes as the program's text. A file saved as UTF-16 (with its
// byte order mark, or without one when its first character is ASCII) or as
// UTF-8 (with a byte order mark, or without one when it reads as UTF-8,
// util/text_encoding.h) is converted whole, and its byte order mark
// dropped: written back it holds the program's encoding alone, and a
// character CP932 lacks keeps the internal form the program writes for it,
// so it reads back as it was. An unpaired surrogate, which no encoding
// keeps, becomes "?". Anything else, UTF-8 that is not well formed after
// its byte order mark included, is CP932 and stays byte for byte.
std::string IniTextOfFile(std::string bytes);

// The longest value a read returns, in bytes.
inline constexpr std::size_t kIniValueMax = 2047;

// The value of (section, key), trimmed and cut to kIniValueMax bytes at a
// character boundary; nullopt when the section or key is missing.
std::optional<std::string> FindIniValue(std::string_view text, std::string_view section,
                                        std::string_view key);

// The text with (section, key) set to value: the key's line is replaced in
// place, or a new line is added after the last non-blank line of the
// section, or the section is appended at the end. Every other line is kept
// byte for byte; new lines end in CR LF. Line breaks inside value are
// dropped so that a value can never open a line of its own. Section and key
// must not be empty after trimming.
std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value);

struct IniWrite {
  std::string section, key, value;
};

// The text after the writes in order, as SetIniValue one after the other
// would leave it, built in one scan: a file of any size is rewritten once.
std::string SetIniValues(std::string_view text, const std::vector<IniWrite>& writes);

}  // namespace tavrin
