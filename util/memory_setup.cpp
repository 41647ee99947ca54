#include "util/memory_setup.h"

#include "util/os.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define TAVRIN_OWN_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || \
    __has_feature(memory_sanitizer)
#define TAVRIN_OWN_ALLOCATOR 1
#endif
#endif

namespace tavrin {

void SetUpMemory() {
#if !defined(TAVRIN_OWN_ALLOCATOR)
  os::TuneAllocator();
#endif
}

}  // namespace tavrin
