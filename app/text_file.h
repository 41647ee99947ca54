#pragma once
// Reading a whole text file of the program's own (the settings file for the
// diagnostics, the developers' test file).
#include <optional>
#include <string>

namespace tavrin {

// The bytes of the regular file (or link to one) the UTF-8 path names;
// nothing when it is missing, is no regular file (a folder, a pipe that
// would block) or cannot be read.
std::optional<std::string> ReadRegularFile(const std::string& path);

}  // namespace tavrin
