#pragma once
// Path routines for three flavours of path. Windows: "\" and ":" delimit, and
// the text is CP932, so a trail byte 0x5C inside a double-byte character is
// never a delimiter. Posix: "/" alone delimits. WindowsUtf8: "\", "/" and
// ":" delimit and "\" separates. The UTF-8 flavours need no lead-byte logic,
// as no byte of a multi-byte UTF-8 character is ASCII. The program's own
// paths are UTF-8 in this platform's flavour, kNativePaths, the default.
#include <string>
#include <string_view>

#include "util/os.h"

namespace tavrin {

enum class PathFlavour { Windows, Posix, WindowsUtf8 };

inline constexpr PathFlavour kNativePaths =
    os::kWindows ? PathFlavour::WindowsUtf8 : PathFlavour::Posix;

// The running executable's real path, and its folder ending with a separator.
// Both throw EError when the platform cannot tell the path.
std::string ExecutablePath();
std::string ProgramFolder();

// The executable's path with its extension replaced, e.g. ".ini".
std::string ProgramFileWithExtension(std::string_view extension);

// Replaces everything from the last "." of the file name onward with the
// extension; appends it when the file name has no ".".
std::string ReplaceExtension(std::string_view path, std::string_view extension,
                             PathFlavour flavour = kNativePaths);

// The part after the last delimiter; the whole path when it has none.
std::string FileNameOf(std::string_view path, PathFlavour flavour = kNativePaths);

// The path up to its last delimiter. A final separator is dropped unless it
// is the first character or follows another delimiter, so a root keeps it
// ("C:\doc.pdf" gives "C:\", "C:doc.pdf" gives "C:"). Empty without one.
std::string FolderOf(std::string_view path, PathFlavour flavour = kNativePaths);

// The path with the separator appended unless its last character is one.
std::string WithTrailingDelimiter(std::string_view path, PathFlavour flavour = kNativePaths);

}  // namespace tavrin
