#pragma once
// The millisecond stopwatch the program times its commands with.
#include <cstdint>
#include <functional>

namespace tavrin {

using MillisecondClock = std::function<std::uint32_t()>;

// Installs the clock StopWatch reads (an unsigned 32-bit millisecond count
// that may wrap) and returns the previous one; an empty clock restores the
// default, a monotonic clock.
MillisecondClock SetMillisecondClock(MillisecondClock clock);

// The installed clock's present reading.
std::uint32_t Milliseconds();

// Mode 0 starts the stopwatch (its result then means nothing); any other
// mode stops it and returns the milliseconds since the start, across a wrap
// of the clock. Mode 2 also shows "Turn Around Time was %d msec.".
std::int32_t StopWatch(int mode);

}  // namespace tavrin
