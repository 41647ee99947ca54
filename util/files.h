#pragma once
// File and folder routines over this platform's paths (UTF-8 bytes).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "util/os.h"

namespace tavrin {

DateTime LocalNow();

// The bytes of the regular file (or link to one) the path names; nothing
// when it is missing, is no regular file (a folder, a pipe, a device) or
// cannot be read. Never waits on a pipe.
using os::ReadRegularFile;

// Last-write time, in local time and truncated to an even second (as the
// packed file-date form keeps it), of the file or folder the path names; a
// final component with "*" or "?" names the first match in name order.
// The current local time when nothing matches.
DateTime FileTimestamp(std::string_view path);

// Whether a file name matches a mask of "*" (any run of characters, none
// included) and "?" (one UTF-8 character); other bytes match themselves,
// letter case included. A leading "." needs no special match.
bool MatchesMask(std::string_view name, std::string_view mask);

// folder + separator + name for each regular file (or link to one) in the folder
// matching the mask, in byte order of the names. Folders, and what cannot
// be read as a file (pipes, sockets, devices, broken links), are left out.
// Empty for a missing or unreadable folder.
std::vector<std::string> ListFiles(std::string_view folder, std::string_view mask);

// Bytes available to the user on the file system holding the path (or, for
// a path not yet created, its nearest existing folder); -1 when that cannot
// be queried or the path is empty.
std::int64_t DiskFreeBytes(std::string_view path);

}  // namespace tavrin
