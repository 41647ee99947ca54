#pragma once
// Allocator settings for large inputs. A million lines touch some 70 MB of
// fresh memory, and on these machines the time goes less into the work on
// the lines than into the system faulting in and zeroing pages:
// - glibc's allocator asks for transparent huge pages only when the tunable
//   glibc.malloc.hugetlb is in the environment at start-up, so the program
//   sets it and starts itself again, once, before it does anything else;
// - large blocks come from the heap and freed memory stays with the
//   process, so that one phase's scratch arrays serve the next phase
//   instead of being handed back and faulted in afresh.
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

// Sets the allocator up as above; call at the very top of main. Unless
// restart is false (the caller knows its input is small, and a second start
// would cost more than it saves), starts the running program again (same
// arguments, same open files) when HugePageTunables asks for it; when
// starting again fails the program goes on as it is. Does nothing in
// sanitizer builds, whose allocator is their own.
void SetUpMemory(char** argv, bool restart = true);

}  // namespace tavrin
