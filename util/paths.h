#pragma once
// Path routines for two flavours of path. Windows: "\" and ":" delimit, and
// the text is CP932, so a trail byte 0x5C inside a double-byte character is
// never a delimiter. Posix, the paths of this platform: "/" alone delimits,
// and the text is UTF-8 bytes, which need no lead-byte logic.
#include <string>
#include <string_view>

namespace tavrin {

enum class PathFlavour { Windows, Posix };

// The running executable's real path, and its folder ending with "/".
// Both throw EError when the platform cannot tell the path.
std::string ExecutablePath();
std::string ProgramFolder();

// The executable's path with its extension replaced, e.g. ".ini".
std::string ProgramFileWithExtension(std::string_view extension);

// Replaces everything from the last "." of the file name onward with the
// extension; appends it when the file name has no ".".
std::string ReplaceExtension(std::string_view path, std::string_view extension,
                             PathFlavour flavour = PathFlavour::Posix);

// The part after the last delimiter; the whole path when it has none.
std::string FileNameOf(std::string_view path, PathFlavour flavour = PathFlavour::Posix);

// The path up to its last delimiter. A final separator is dropped unless it
// is the first character or follows another delimiter, so a root keeps it
// ("C:\doc.pdf" gives "C:\", "C:doc.pdf" gives "C:"). Empty without one.
std::string FolderOf(std::string_view path, PathFlavour flavour = PathFlavour::Posix);

// The path with the separator appended unless its last character is one.
std::string WithTrailingDelimiter(std::string_view path, PathFlavour flavour = PathFlavour::Posix);

}  // namespace tavrin
