#pragma once
// Splitting a job over the processor's cores: RunParts runs the parts of a
// job at once and returns when every part is done.
#include <functional>

namespace tavrin {

// The number of parts worth running at once here: the hardware threads, at
// most 8, at least 1; or the width set by SetParallelWidth.
unsigned ParallelWidth();
// Fixes ParallelWidth to width (0 goes back to the hardware's). Results
// never depend on it; tests use it to run the parallel paths anywhere.
void SetParallelWidth(unsigned width);

// Runs Body(0) .. Body(Parts - 1): part 0 on the calling thread, each other
// part on a thread of its own, or after part 0 on the calling thread when no
// thread can be started. Returns when all parts have finished; then rethrows
// the exception of the lowest part that threw, if any.
void RunParts(unsigned Parts, const std::function<void(unsigned)>& Body);

}  // namespace tavrin
