// The cost of the user's dictionary: similar, map and normalize on LINES
// generated lines (codes such as アキクス-482, some with full-width digits
// that the width fold joins), without rules and with RULES rules (nine in
// ten join two codes, one in ten keeps a code apart from its full-width
// form). Processor time of the process (every thread), best of five runs
// taken in turns with and without, so that a busy machine weighs on both
// alike; the ratio is with over without.
// Usage: user_dictionary_bench [LINES [RULES]]   (1000000 and 10000)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "app/batch_command.h"
#include "cpu_clock.h"

namespace {

// A code of three to five katakana (CP932 0x83 0x40..0x93), a hyphen and
// three digits, the digits full-width when Wide.
std::string Code(std::uint32_t n, bool Wide) {
  std::string s;
  std::uint32_t v = n;
  for (int i = 0; i < 3 + static_cast<int>(n % 3); ++i) {
    s += '\x83';
    s += static_cast<char>(0x40 + v % 0x50);
    v /= 0x50;
  }
  s += '-';
  for (int i = 0; i < 3; ++i) {
    const int d = static_cast<int>((n >> (4 * i)) % 10);
    if (Wide)
      s += "\x82", s += static_cast<char>(0x4F + d);
    else
      s += static_cast<char>('0' + d);
  }
  return s;
}

using tavrin::bench::ProcessCpuMs;

double RunMs(const tavrin::TBatchOptions& Options, const std::string& Input) {
  const double start = ProcessCpuMs();
  const tavrin::TBatchOutput out = tavrin::RunBatch(Options, Input);
  const double ms = ProcessCpuMs() - start;
  if (std::getenv("SUMMARY"))
    std::fprintf(stderr, "%s, %zu bytes\n", out.Summary.c_str(), out.Out.size());
  return ms;
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t lines = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1000000;
  const std::size_t rules = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 10000;
  const std::uint32_t vocabulary = static_cast<std::uint32_t>(lines / 4 + 1);
  std::mt19937 random(33);
  std::string input;
  for (std::size_t i = 0; i < lines; ++i) {
    const std::uint32_t n = random() % vocabulary;
    input += Code(n * 2654435761u >> 8, random() % 8 == 0);
    input += "\r\n";
  }
  tavrin::TUserDictionary dictionary;
  for (std::size_t r = 0; r < rules; ++r) {
    const std::uint32_t a = (random() % vocabulary) * 2654435761u >> 8,
                        b = (random() % vocabulary) * 2654435761u >> 8;
    if (r % 10 == 9)
      dictionary.Rules.push_back({true, {Code(a, false), Code(a, true)}});
    else
      dictionary.Rules.push_back({false, {Code(a, false), Code(b, false), Code(b, true)}});
  }
  std::printf("%zu lines, %zu rules\n%-10s %12s %12s %7s\n", lines, rules, "command", "ms without",
              "ms with", "ratio");
  const std::pair<const char*, tavrin::TBatchOptions::TOutput> commands[] = {
      {"similar", tavrin::TBatchOptions::TOutput::Copy},
      {"map", tavrin::TBatchOptions::TOutput::Map},
      {"normalize", tavrin::TBatchOptions::TOutput::Normalize},
  };
  for (const auto& [name, output] : commands) {
    tavrin::TBatchOptions options;
    options.Similar = true;
    options.Output = output;
    tavrin::TBatchOptions withRules = options;
    withRules.Dictionary = dictionary;
    double without = 1e300, with = 1e300;
    for (int round = 0; round < 5; ++round) {
      without = std::min(without, RunMs(options, input));
      with = std::min(with, RunMs(withRules, input));
    }
    std::printf("%-10s %12.1f %12.1f %7.3f\n", name, without, with, with / without);
  }
}
