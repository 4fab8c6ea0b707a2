// A clock for pacing repaints: it never goes backwards and ignores changes
// of the wall-clock time. (<chrono> is kept out: its micro sign has no CP932
// form under the project's execution character set.)
#pragma once

#include <cstdint>

namespace ltb::platform {

// Nanoseconds of the monotonic clock since an arbitrary start.
int64_t MonotonicNanos();

}  // namespace ltb::platform
