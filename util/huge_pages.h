#pragma once
// Large inputs spend much of their time faulting in fresh 4 KB pages (the
// collection of a million lines touches some 80 MB). glibc's allocator asks
// for transparent huge pages only when the tunable glibc.malloc.hugetlb is
// set in the environment at start-up, so a program that wants them sets it
// and starts itself again, once, before it does anything else.
#include <string>
#include <string_view>

namespace tavrin {

// GLIBC_TUNABLES with hugetlb=1 added to current (the variable's value, or
// nullptr when unset); empty when nothing is to change: the tunable is
// there already (set by the user, or by an earlier start), or the system
// never gives huge pages on request (mode is the content of
// /sys/kernel/mm/transparent_hugepage/enabled: "always" needs no request,
// "never" refuses it, an unreadable file tells nothing).
std::string HugePageTunables(const char* current, std::string_view mode);

// Starts the running program again with the tunable (same arguments, same
// open files) when HugePageTunables asks for it; returns when it does not,
// or when starting again fails, and the program goes on as it is. Call at
// the very top of main. Does nothing in sanitizer builds.
void UseHugePages(char** argv);

}  // namespace tavrin
