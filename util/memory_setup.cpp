#include "util/memory_setup.h"

#include <malloc.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define TAVRIN_OWN_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
#define TAVRIN_OWN_ALLOCATOR 1
#endif
#endif

namespace tavrin {

std::string HugePageTunables(const char* current, std::string_view mode) {
  const std::string_view tunables = current == nullptr ? std::string_view() : current;
  if (tunables.find("glibc.malloc.hugetlb") != std::string_view::npos) return {};
  // The active mode is the bracketed word: "always [madvise] never".
  if (mode.find("[madvise]") == std::string_view::npos) return {};
  std::string result(tunables);
  if (!result.empty()) result += ':';
  result += "glibc.malloc.hugetlb=1";
  return result;
}

void SetUpMemory(char** argv, bool restart) {
#if defined(TAVRIN_OWN_ALLOCATOR)
  (void)argv;
  (void)restart;
#else
  // Blocks up to 32 MB from the heap, and up to 128 MB of free heap kept.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 128 << 20);
  if (!restart || argv == nullptr || argv[0] == nullptr) return;
  std::ifstream file("/sys/kernel/mm/transparent_hugepage/enabled");
  std::stringstream mode;
  mode << file.rdbuf();
  const std::string tunables = HugePageTunables(std::getenv("GLIBC_TUNABLES"), mode.str());
  if (tunables.empty()) return;
  if (setenv("GLIBC_TUNABLES", tunables.c_str(), 1) != 0) return;
  execv("/proc/self/exe", argv);
  // Still here: the program goes on without huge pages. The variable stays
  // set, harmless, for whatever this program starts.
#endif
}

}  // namespace tavrin
