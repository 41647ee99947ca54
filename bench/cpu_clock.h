#pragma once
// Processor time for the benchmarks, in milliseconds: of the whole process
// (all its threads) or of the calling thread. The load of a shared machine
// moves it much less than wall time.
#include <ctime>

namespace tavrin::bench {

inline double CpuMs(clockid_t Clock) {
  timespec t{};
  clock_gettime(Clock, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}
inline double ProcessCpuMs() { return CpuMs(CLOCK_PROCESS_CPUTIME_ID); }
inline double ThreadCpuMs() { return CpuMs(CLOCK_THREAD_CPUTIME_ID); }

}  // namespace tavrin::bench
