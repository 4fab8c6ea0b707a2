// gen_ledger: writes a large generated ledger into a ledger home.
//
//   gen_ledger HOME ENTRIES [--seed N] [--departments N] [--assets N]
#include <time.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/bench/ledger_generator.h"

namespace {

constexpr char kUsage[] =
    "usage: gen_ledger HOME ENTRIES [--seed N] [--departments N] [--assets N]\n"
    "Writes HOME/ledger.db: one corporation (data id BENCH01, user \"bench\") with\n"
    "ENTRIES journal entries over the fiscal year 2016-04-01 to 2017-03-31.\n";

bool ToNumber(const char* text, long long* value) {
  char* end = nullptr;
  errno = 0;
  *value = std::strtoll(text, &end, 10);
  return errno == 0 && end != text && *end == '\0' && *value >= 0;
}

double Now() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
  long long n = 0;
  if (argc < 3 || !ToNumber(argv[2], &n)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  ltb::bench::LedgerShape shape;
  shape.entries = static_cast<long>(n);
  for (int i = 3; i < argc; i += 2) {
    std::string name = argv[i];
    long long value = 0;
    if (i + 1 >= argc || !ToNumber(argv[i + 1], &value)) {
      std::fputs(kUsage, stderr);
      return 2;
    }
    if (name == "--seed") {
      shape.seed = static_cast<uint64_t>(value);
    } else if (name == "--departments") {
      shape.departments = static_cast<int>(value);
    } else if (name == "--assets") {
      shape.fixedAssets = static_cast<int>(value);
    } else {
      std::fputs(kUsage, stderr);
      return 2;
    }
  }
  const double start = Now();
  std::string error;
  if (!ltb::bench::GenerateLedger(argv[1], shape, &error)) {
    std::fprintf(stderr, "gen_ledger: %s\n", error.c_str());
    return 1;
  }
  std::printf("%ld entries written to %s/ledger.db in %.2f s\n", shape.entries, argv[1],
              Now() - start);
  return 0;
}
