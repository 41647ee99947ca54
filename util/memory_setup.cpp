#include "util/memory_setup.h"

#include <malloc.h>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define TAVRIN_OWN_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
#define TAVRIN_OWN_ALLOCATOR 1
#endif
#endif

namespace tavrin {

void SetUpMemory() {
#if !defined(TAVRIN_OWN_ALLOCATOR)
  // Blocks up to 8 MB from the heap, and up to 128 MB of free heap kept;
  // larger ones (the collection's arrays at millions of lines) go back to
  // the system when freed, so that one phase's arrays do not stay resident
  // beside the next one's.
  mallopt(M_MMAP_THRESHOLD, 8 << 20);
  mallopt(M_TRIM_THRESHOLD, 128 << 20);
#endif
}

}  // namespace tavrin
