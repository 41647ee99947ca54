// Times the comparison of a variant with its canonical spelling, as each
// drawn row and each tool-tip makes it, for lines of growing length and
// three shapes: one company form at the start (the common case), a
// difference at every other character (the alignment's worst case, which
// falls back to one part on long lines) and two wholly different lines.
// Processor time of one thread, best of five: spelling_differences_bench
#include <algorithm>
#include <cstdio>
#include <string>

#include "app/spelling_differences.h"
#include "cpu_clock.h"
#include "engine/variant_folding.h"

namespace {

using tavrin::bench::ThreadCpuMs;

std::string Repeat(const std::string& s, std::size_t n) {
  std::string out;
  for (std::size_t i = 0; i < n; ++i) out += s;
  return out;
}

}  // namespace

int main() {
  using namespace tavrin;
  const std::string kk = "\x87\x8D", company = "\x8A\x94\x8E\xAE\x89\xEF\x8E\xD0";  // ㈱, 株式会社
  const std::string name = "\x93\xEC\x8A\x43\x83\x7D\x83\x8A\x83\x93";  // 南海マリン
  std::printf("%-10s %9s %10s %8s\n", "shape", "bytes", "ms a call", "parts");
  for (const std::size_t n :
       {std::size_t{10}, std::size_t{100}, std::size_t{1000}, std::size_t{10000}}) {
    const struct {
      const char* shape;
      std::string variant, canonical;
    } cases[] = {
        {"company", kk + Repeat(name, n), company + Repeat(name, n)},
        {"alternate", Repeat("ab", 5 * n), Repeat("ac", 5 * n)},
        {"different", Repeat("a", 10 * n), Repeat("b", 10 * n)},
    };
    for (const auto& c : cases) {
      double best = 1e300;
      std::size_t parts = 0;
      for (int round = 0; round < 5; ++round) {
        const double start = ThreadCpuMs();
        parts = CompareSpellings(c.variant, c.canonical, true, kAllVariantKinds).Parts.size();
        best = std::min(best, ThreadCpuMs() - start);
      }
      std::printf("%-10s %9zu %10.3f %8zu\n", c.shape, c.variant.size(), best, parts);
    }
  }
}
