#pragma once
// Allocator settings for large inputs. A million lines touch some 70 MB of
// fresh memory, and on these machines much of the time goes into the
// system faulting in and zeroing pages: blocks up to a few megabytes come
// from the heap and freed memory stays with the process, so that one
// phase's scratch serves the next instead of being faulted in afresh; the
// largest arrays are mapped and handed back, which keeps the peak down.
// Nothing here touches the environment or starts the program again: what
// this program starts inherits the environment it was given.
namespace tavrin {

// Sets the allocator up as above; call at the very top of main. Does nothing
// in sanitizer builds, whose allocator is their own.
void SetUpMemory();

}  // namespace tavrin
