#include "platform/monotonic_clock.h"

#include <time.h>

namespace ltb::platform {

int64_t MonotonicNanos() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

}  // namespace ltb::platform
