#pragma once
// Splitting a job over the processor's cores: RunParts runs the parts of a
// job at once and returns when every part is done.
#include <algorithm>
#include <cstddef>
#include <functional>
#include <vector>

namespace tavrin {

// The number of parts worth running at once here: the hardware threads, at
// most 8, at least 1; or the width set by SetParallelWidth.
unsigned ParallelWidth();
// Fixes ParallelWidth to width (0 goes back to the hardware's). Results
// never depend on it; tests use it to run the parallel paths anywhere.
void SetParallelWidth(unsigned width);

// Runs Body(0) .. Body(Parts - 1): part 0 on the calling thread, the other
// parts on a fixed pool of threads kept for the life of the process (on the
// calling thread too when it is free first, or when no thread can be
// started). A part that runs parts itself, or a second caller while the
// pool is busy, gets a thread of its own for each part instead. Returns when
// all parts have finished; then rethrows the exception of the lowest part
// that threw, if any.
void RunParts(unsigned Parts, const std::function<void(unsigned)>& Body);

// Bounds for Parts parts of positions 0 .. n - 1 that split no run: part p
// is [bounds[p], bounds[p + 1]), and each starts at about n * p / Parts,
// moved on while SameAsPrevious(at) says position at continues the run
// before it.
template <class SameAsPrevious>
std::vector<std::size_t> RunBounds(std::size_t n, unsigned Parts,
                                   const SameAsPrevious& sameAsPrevious) {
  std::vector<std::size_t> bounds{0};
  for (unsigned part = 1; part < Parts; ++part) {
    std::size_t at = std::max(bounds.back(), n * part / Parts);
    while (at > 0 && at < n && sameAsPrevious(at)) ++at;
    bounds.push_back(at);
  }
  bounds.push_back(n);
  return bounds;
}

// std::sort(first, last, less) with pieces sorted at once: the range is
// first split at the pieces' bounds (nth_element, in place, no extra
// memory), then each piece is sorted on a core of its own. The same result
// whenever less orders the elements strictly (no two equal); with equal
// elements, their order may differ from std::sort's.
template <class It, class Less>
void ParallelSort(It first, It last, Less less) {
  constexpr std::size_t kPiece = 1 << 14;  // smaller pieces are not worth a thread
  const auto n = static_cast<std::size_t>(last - first);
  const unsigned parts = static_cast<unsigned>(std::min<std::size_t>(ParallelWidth(), n / kPiece));
  if (parts < 2) {
    std::sort(first, last, less);
    return;
  }
  const auto at = [&](unsigned part) {
    return first + static_cast<std::ptrdiff_t>(n * part / parts);
  };
  for (unsigned part = 1; part < parts; ++part)
    std::nth_element(at(part - 1), at(part), last, less);
  RunParts(parts, [&](unsigned part) { std::sort(at(part), at(part + 1), less); });
}

}  // namespace tavrin
