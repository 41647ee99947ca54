// Times the making of the comparison keys with the kinds of variants off
// and all on, over the distinct lines of standard input, in processor time
// of one thread (best of fifteen runs each), so that other load on the
// machine counts little: variant_keys_bench [KINDS] < lines.txt, where
// KINDS is a TVariantKind mask (all kinds when left out), so that the cost
// of one kind shows against the others. It ends with a hash of the keys
// with the kinds on, which a change of speed alone must leave as it was.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "app/clipboard_lines.h"
#include "cpu_clock.h"
#include "engine/unique_manager.h"
#include "engine/variant_folding.h"
#include "util/memory_setup.h"

namespace {

using tavrin::bench::ThreadCpuMs;

}  // namespace

int main(int argc, char** argv) {
  using namespace tavrin;
  SetUpMemory();
  const unsigned all =
      argc > 1 ? static_cast<unsigned>(std::strtoul(argv[1], nullptr, 0)) & kAllVariantKinds
               : kAllVariantKinds;
  std::string input(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>{});
  const TClipboardLines lines = ClipboardLines(std::move(input));
  TUniqueManager m;
  m.FHyphen = m.FHyphenTerminate = true;
  m.AddAll(lines.size(), [&](std::size_t i) { return lines[i]; });
  std::vector<std::string_view> texts;
  for (std::int32_t i = 0; i < m.Count(); ++i) texts.push_back(m.Items(i)->Text());
  (void)m.MakeKey("x", all);  // the tables are made on first use: not timed
  double best[2] = {1e300, 1e300};
  std::size_t bytes[2] = {}, changed = 0;
  std::string a, b;
  for (int round = 0; round < 15; ++round) {
    for (int on = 0; on < 2; ++on) {
      const unsigned kinds = on ? all : 0;
      std::size_t total = 0;
      const double start = ThreadCpuMs();
      for (const std::string_view text : texts) total += m.KeyIn(text, kinds, a, b).size();
      best[on] = std::min(best[on], ThreadCpuMs() - start);
      bytes[on] = total;
    }
  }
  // A hash of every key with the kinds on: a change that should only make
  // the keys faster must leave it as it was.
  std::uint64_t hash = 1469598103934665603u;
  for (const std::string_view text : texts) {
    const std::string key = m.MakeKey(text, all);
    changed += key != m.MakeKey(text, 0);
    for (const char c : key + '\n') hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
  }
  std::printf("%zu lines, %zu distinct, %zu keys changed by the kinds (%zu -> %zu key bytes)\n",
              lines.size(), texts.size(), changed, bytes[0], bytes[1]);
  std::printf(
      "keys, kinds off: %8.2f ms\nkeys, kinds %#x: %8.2f ms\nratio: %.2f\nkeys' hash: %016llx\n",
      best[0], all, best[1], best[1] / best[0], static_cast<unsigned long long>(hash));
}
