// bench_stop: how soon a stop request ends the first check of a journal run.
//
//   bench_stop HOME [--runs N]
//
// On the ledger in HOME (a generated one: gen_ledger, user "bench") it times
// the host call of the first check before the aggregation, which reads the
// whole journal: once without a stop (a stop pressed during the call waited
// that long when the call could not be stopped), then with the stop check
// answering true at 10%, 50% and 90% of that time. For each it prints the
// median over the runs of the time from the first "stop" to the call's
// return, and the longest time the calling thread went without asking the
// check (a window pumped by the check takes no input meanwhile). Every
// run uses a fresh connection, so nothing is read from an earlier one.
#include <time.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/host.h"
#include "ledger/ledger_host.h"
#include "tools/bench/ledger_generator.h"

namespace {

constexpr char kUsage[] =
    "usage: bench_stop HOME [--runs N]\n"
    "Times how soon a stop request ends the journal read of the first check on\n"
    "the generated ledger in HOME.\n";

double Now() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

struct Trial {
  bool ok = false;
  long status = 0;
  double callSeconds = 0;
  double stopToReturnSeconds = 0;  // 0 when no stop was answered
  double longestGapSeconds = 0;
};

// One call of the check on a fresh connection; the stop check answers true
// from `stopAfter` seconds into the call on (never when negative).
Trial TimeCheck(const std::string& home, double stopAfter) {
  Trial trial;
  ltb::ledger::LedgerOptions options;
  options.home = home;
  options.userId = ltb::bench::kGeneratedUser;
  std::unique_ptr<ltb::host::HostLibrary> host = ltb::ledger::OpenLedgerHost(options);
  ltb::host::ClAccConnect& connect = host->AccConnect();
  if (connect.Initiate() == ltb::host::kOk) {
    std::unique_ptr<ltb::host::ClRuleShiwake> walker = host->NewRuleShiwake();
    ltb::host::AttachToSelected(*host, *walker);
    const double start = Now();
    double last = start, stoppedAt = 0;
    host->SetStopCheck([&] {
      const double now = Now();
      trial.longestGapSeconds = std::max(trial.longestGapSeconds, now - last);
      last = now;
      if (stopAfter < 0 || now - start < stopAfter) return false;
      if (stoppedAt == 0) stoppedAt = now;
      return true;
    });
    long count = 0;
    trial.status = walker->CheckExistSwkByJigyoBunrui(nullptr, 6, &count);
    const double end = Now();
    host->SetStopCheck(nullptr);
    trial.longestGapSeconds = std::max(trial.longestGapSeconds, end - last);
    trial.callSeconds = end - start;
    if (stoppedAt != 0) trial.stopToReturnSeconds = end - stoppedAt;
    trial.ok = true;
  }
  connect.LogOut();
  connect.Terminate();
  connect.Release();
  return trial;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argv[1][0] == '-') {
    std::fputs(kUsage, argc >= 2 && std::string(argv[1]) == "--help" ? stdout : stderr);
    return argc >= 2 && std::string(argv[1]) == "--help" ? 0 : 2;
  }
  const std::string home = argv[1];
  int runs = 5;
  if (argc == 4 && std::string(argv[2]) == "--runs") {
    runs = std::atoi(argv[3]);
  } else if (argc != 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  if (runs < 1) runs = 1;
  if (!TimeCheck(home, -1).ok) {  // warms the file cache
    std::fprintf(stderr, "bench_stop: the ledger in %s cannot be opened as user \"%s\".\n",
                 home.c_str(), ltb::bench::kGeneratedUser);
    return 1;
  }
  std::vector<double> calls, gaps;
  for (int i = 0; i < runs; ++i) {
    const Trial t = TimeCheck(home, -1);
    calls.push_back(t.callSeconds);
    gaps.push_back(t.longestGapSeconds);
  }
  const double whole = Median(calls);
  std::printf("check without a stop: %.3f s (longest time between two questions %.1f ms)\n", whole,
              Median(gaps) * 1000);
  for (const int percent : {10, 50, 90}) {
    std::vector<double> latencies, stopGaps;
    long status = 0;
    for (int i = 0; i < runs; ++i) {
      const Trial t = TimeCheck(home, whole * percent / 100);
      latencies.push_back(t.stopToReturnSeconds);
      stopGaps.push_back(t.longestGapSeconds);
      status = t.status;
    }
    std::printf(
        "stop at %2d%%: the call returned %.1f ms after the stop (status %ld; longest time "
        "between two questions %.1f ms)\n",
        percent, Median(latencies) * 1000, status, Median(stopGaps) * 1000);
  }
  return 0;
}
