#include "platform/temp_name.h"

#include <sys/random.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>

#include "platform/cp932.h"

namespace ltb::platform {
namespace {

constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr size_t kRandomChars = 16;

// 16 bytes from the kernel; when it has none to give, a mix of the clock,
// the process id and a counter, which still never repeats within a process.
void RandomBytes(unsigned char* out, size_t n) {
  size_t got = 0;
  while (got < n) {
    ssize_t r = ::getrandom(out + got, n - got, GRND_NONBLOCK);
    if (r <= 0) break;
    got += static_cast<size_t>(r);
  }
  if (got == n) return;
  static std::atomic<uint64_t> counter{0};
  struct timespec ts;
  ::clock_gettime(CLOCK_REALTIME, &ts);
  uint64_t x = static_cast<uint64_t>(ts.tv_nsec) ^ (static_cast<uint64_t>(ts.tv_sec) << 20) ^
               (static_cast<uint64_t>(::getpid()) << 40) ^ (counter.fetch_add(1) * 0x9E37);
  for (size_t i = got; i < n; ++i) {
    x ^= x << 13;
    x ^= x >> 7;
    x ^= x << 17;
    out[i] = static_cast<unsigned char>(x);
  }
}

}  // namespace

std::string TempNameBeside(const std::string& target) {
  const size_t slash = FindLastChar(target, '\\');
  std::string name = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  // "C:name" keeps its drive-relative prefix.
  if (slash == std::string::npos && target.size() >= 2 && target[1] == ':') {
    name = target.substr(0, 2);
  }
  unsigned char bytes[kRandomChars];
  RandomBytes(bytes, sizeof bytes);
  name += ".~ltb";
  for (unsigned char b : bytes) name += kAlphabet[b % (sizeof kAlphabet - 1)];
  name += ".tmp";
  return name;
}

}  // namespace ltb::platform
