#include "util/stopwatch.h"

#include <chrono>
#include <string>
#include <utility>

#include "util/messages.h"

namespace tavrin {
namespace {

std::uint32_t MonotonicMilliseconds() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

MillisecondClock& Clock() {
  static MillisecondClock clock = MonotonicMilliseconds;
  return clock;
}

std::uint32_t startStamp = 0;
std::uint32_t stopStamp = 0;

}  // namespace

MillisecondClock SetMillisecondClock(MillisecondClock clock) {
  return std::exchange(Clock(), clock ? std::move(clock) : MillisecondClock(MonotonicMilliseconds));
}

std::uint32_t Milliseconds() { return Clock()(); }

std::int32_t StopWatch(int mode) {
  if (mode == 0) {
    startStamp = Milliseconds();
    stopStamp = 0;
  } else {
    stopStamp = Milliseconds();
  }
  const auto elapsed = static_cast<std::int32_t>(stopStamp - startStamp);  // modulo 2^32
  if (mode == 2) InformationDialog("Turn Around Time was " + std::to_string(elapsed) + " msec.");
  return elapsed;
}

}  // namespace tavrin
