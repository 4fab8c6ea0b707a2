// bench_run: times full unattended journal runs of the program on generated
// ledgers, and its start-up on the sample ledger.
//
// For every entry count it generates a ledger (kept in the work folder and
// reused while the generator stays the same), runs
//   PROGRAM --ledger HOME --ui console --method journal --months 4-3
//           --output FILE --execute --yes
// PROGRAM --ledger HOME --compare, and
//   PROGRAM --ledger HOME --ui console --method return --output FILE --execute --yes
// the same way, and the raw pass (raw_pass.h: every journal row stepped once
// and its columns read, in a process of its own) beside them, and the same
// pass with the rows handed to a function SQLite calls for each (the way
// the program reads them), each once to warm the file cache and then --runs
// times, and prints the median wall time, processor time and peak resident
// set size, the entries per second and the journal run's processor time over
// that of either pass.
// Start-up: the program on its built-in sample ledger without --execute and
// with standard input not a terminal ends right after setting up the
// conditions dialog (host connection, environment check, dataset facts,
// remembered settings); that whole process lifetime is the start-up time.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/bench/child_process.h"
#include "tools/bench/ledger_generator.h"
#include "tools/bench/raw_pass.h"

#ifndef LTB_BENCH_DEFAULT_PROGRAM
#define LTB_BENCH_DEFAULT_PROGRAM ""
#endif

namespace {

using ltb::bench::ChildRun;

// Bumped whenever the generator writes different ledgers, so cached ones
// are not reused.
constexpr int kGeneratorVersion = 3;

constexpr char kUsage[] =
    "usage: bench_run [--program PATH] [--entries N]... [--runs N] [--work DIR]\n"
    "                 [--startup-runs N]\n"
    "       bench_run --raw-pass HOME\n"
    "       bench_run --raw-pass-function HOME\n"
    "  --program       the program to time (default: the LedTaxBridgeA of this build)\n"
    "  --entries       journal entries of a generated ledger; repeatable\n"
    "                  (default: 100000, 1000000 and 10000000; 0 skips the journal runs)\n"
    "  --runs          timed runs per ledger (default 5), after one warm-up run\n"
    "  --startup-runs  timed start-up runs on the sample ledger (default 11; 0 skips)\n"
    "  --work DIR      folder for the generated ledgers and outputs\n"
    "                  (default: $TMPDIR/ltb-bench, else /tmp/ltb-bench)\n"
    "  --raw-pass HOME one plain pass over the journal rows of HOME, then exit\n"
    "  --raw-pass-function HOME\n"
    "                  the same rows handed to a function SQLite calls per row\n";

struct Settings {
  std::string program = LTB_BENCH_DEFAULT_PROGRAM;
  std::vector<long> entries;
  int runs = 5;
  int startupRuns = 11;
  std::string work;
};

bool ToNumber(const char* text, long* value) {
  char* end = nullptr;
  errno = 0;
  long long v = std::strtoll(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || v < 0) return false;
  *value = static_cast<long>(v);
  return true;
}

bool Parse(int argc, char** argv, Settings* s) {
  for (int i = 1; i < argc; i += 2) {
    std::string name = argv[i];
    if (i + 1 >= argc) return false;
    const char* value = argv[i + 1];
    long number = 0;
    if (name == "--program") {
      s->program = value;
    } else if (name == "--work") {
      s->work = value;
    } else if (!ToNumber(value, &number)) {
      return false;
    } else if (name == "--entries") {
      s->entries.push_back(number);
    } else if (name == "--runs" && number > 0) {
      s->runs = static_cast<int>(number);
    } else if (name == "--startup-runs") {
      s->startupRuns = static_cast<int>(number);
    } else {
      return false;
    }
  }
  if (s->entries.empty()) s->entries = {100000, 1000000, 10000000};
  if (s->work.empty()) {
    const char* tmp = std::getenv("TMPDIR");
    s->work = std::string(tmp && *tmp ? tmp : "/tmp") + "/ltb-bench";
  }
  return !s->program.empty();
}

bool Exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

// The ledger home for `entries`, generated when it is not there yet.
bool LedgerFor(const Settings& s, long entries, std::string* home, std::string* error) {
  ltb::bench::LedgerShape shape;
  shape.entries = entries;
  *home = s.work + "/ledger-v" + std::to_string(kGeneratorVersion) + "-" + std::to_string(entries);
  if (Exists(*home + "/ledger.db")) return true;
  std::printf("generating %ld entries in %s ...\n", entries, home->c_str());
  std::fflush(stdout);
  return ltb::bench::GenerateLedger(*home, shape, error);
}

// The environment every timed run gets: a private data folder (the sample
// ledger and remembered settings live there) and no ledger from outside.
std::vector<std::string> RunEnvironment(const Settings& s) {
  return {"XDG_DATA_HOME=" + s.work + "/data", "LEDORA_HOME", "DISPLAY"};
}

bool TimeRuns(const Settings& s, const std::vector<std::string>& argv, int runs, int expectedStatus,
              std::vector<ChildRun>* results, std::string* error) {
  const std::string log = s.work + "/run.log";
  for (int i = 0; i <= runs; ++i) {  // run 0 warms the caches and is not counted
    ChildRun run;
    if (!ltb::bench::RunChild(argv, RunEnvironment(s), log, &run, error)) return false;
    if (run.exitStatus != expectedStatus) {
      *error = "the program ended with status " + std::to_string(run.exitStatus) + " instead of " +
               std::to_string(expectedStatus) + "; see " + log;
      return false;
    }
    if (i > 0) results->push_back(run);
  }
  return true;
}

struct Summary {
  double wall, minWall, maxWall, cpu, rssMb;
};

Summary Summarise(const std::vector<ChildRun>& runs) {
  std::vector<double> walls, cpu, rss;
  for (const ChildRun& r : runs) {
    walls.push_back(r.wallSeconds);
    cpu.push_back(r.cpuSeconds);
    rss.push_back(static_cast<double>(r.peakRssKb) / 1024.0);
  }
  return {ltb::bench::Median(walls), *std::min_element(walls.begin(), walls.end()),
          *std::max_element(walls.begin(), walls.end()), ltb::bench::Median(cpu),
          ltb::bench::Median(rss)};
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "bench_run: %s\n", message.c_str());
  return 1;
}

// This program's own path, to run the raw pass in a process of its own.
std::string SelfPath() {
  char path[4096];
  const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  return n > 0 ? std::string(path, static_cast<size_t>(n)) : std::string();
}

void PrintSummary(const char* what, long entries, const Summary& m, int runs) {
  std::printf(
      "%s, %ld entries: median wall %.3f s (min %.3f, max %.3f, %d runs), "
      "median CPU %.3f s, median peak RSS %.1f MB\n",
      what, entries, m.wall, m.minWall, m.maxWall, runs, m.cpu, m.rssMb);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  Settings s;
  if (argc == 2 && std::string(argv[1]) == "--help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc == 3 &&
      (std::string(argv[1]) == "--raw-pass" || std::string(argv[1]) == "--raw-pass-function")) {
    int64_t rows = 0, checksum = 0;
    std::string error;
    const auto pass = std::string(argv[1]) == "--raw-pass"
                          ? ltb::bench::RawJournalPass
                          : ltb::bench::RawJournalPassThroughFunction;
    if (!pass(argv[2], ltb::bench::kGeneratedDatasetNo, &rows, &checksum, &error)) {
      return Fail(error);
    }
    std::printf("%lld rows, checksum %lld\n", static_cast<long long>(rows),
                static_cast<long long>(checksum));
    return 0;
  }
  if (!Parse(argc, argv, &s)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  if (::access(s.program.c_str(), X_OK) != 0) return Fail("cannot run " + s.program);
  std::string error;
  const std::string command = "mkdir -p '" + s.work + "/data'";
  if (std::system(command.c_str()) != 0) return Fail("cannot create " + s.work);

  std::printf("program: %s\nwork folder: %s\n", s.program.c_str(), s.work.c_str());
  for (long entries : s.entries) {
    if (entries == 0) continue;
    std::string home;
    if (!LedgerFor(s, entries, &home, &error)) return Fail(error);
    const std::string output = s.work + "/report-" + std::to_string(entries) + ".xml";
    // The yardstick: one plain pass over the same rows.
    std::vector<ChildRun> runs;
    if (!TimeRuns(s, {SelfPath(), "--raw-pass", home}, s.runs, 0, &runs, &error)) {
      return Fail(error);
    }
    const Summary raw = Summarise(runs);
    PrintSummary("raw pass", entries, raw, s.runs);
    // The same pass the way the program reads the rows: a lower floor.
    runs.clear();
    if (!TimeRuns(s, {SelfPath(), "--raw-pass-function", home}, s.runs, 0, &runs, &error)) {
      return Fail(error);
    }
    const Summary rawFunction = Summarise(runs);
    PrintSummary("raw pass through a row function", entries, rawFunction, s.runs);

    runs.clear();
    if (!TimeRuns(s,
                  {s.program, "--ledger", home, "--ui", "console", "--method", "journal",
                   "--months", "4-3", "--output", output, "--execute", "--yes"},
                  s.runs, 0, &runs, &error)) {
      return Fail(error);
    }
    if (!Exists(output)) return Fail("the run wrote no report " + output);
    const Summary m = Summarise(runs);
    std::printf(
        "journal run, %ld entries: median wall %.3f s (min %.3f, max %.3f, %d runs), "
        "median CPU %.3f s (%.2f x the raw pass, %.2f x the pass through a row function), "
        "median peak RSS %.1f MB, %.0f entries/s\n",
        entries, m.wall, m.minWall, m.maxWall, s.runs, m.cpu, raw.cpu > 0 ? m.cpu / raw.cpu : 0.0,
        rawFunction.cpu > 0 ? m.cpu / rawFunction.cpu : 0.0, m.rssMb,
        static_cast<double>(entries) / m.wall);
    std::fflush(stdout);

    // The same journal figures set against the saved tax-return values,
    // which the generator leaves at zero: status 3, the two differ.
    runs.clear();
    if (!TimeRuns(s, {s.program, "--ledger", home, "--compare"}, s.runs, 3, &runs, &error)) {
      return Fail(error);
    }
    PrintSummary("compare", entries, Summarise(runs), s.runs);

    // The report from the saved tax-return values.
    runs.clear();
    if (!TimeRuns(s,
                  {s.program, "--ledger", home, "--ui", "console", "--method", "return", "--output",
                   s.work + "/return-" + std::to_string(entries) + ".xml", "--execute", "--yes"},
                  s.runs, 0, &runs, &error)) {
      return Fail(error);
    }
    PrintSummary("return-values run", entries, Summarise(runs), s.runs);
  }

  if (s.startupRuns > 0) {
    // Status 1: the run stops at the dialog because nobody can answer it.
    std::vector<ChildRun> runs;
    if (!TimeRuns(s,
                  {s.program, "--ui", "console", "--method", "journal", "--months", "4-3",
                   "--output", s.work + "/startup.xml"},
                  s.startupRuns, 1, &runs, &error)) {
      return Fail(error);
    }
    const Summary m = Summarise(runs);
    std::printf(
        "start-up to the dialog, sample ledger: median %.1f ms (min %.1f, max %.1f, %d runs), "
        "median CPU %.1f ms, median peak RSS %.1f MB\n",
        m.wall * 1000, m.minWall * 1000, m.maxWall * 1000, s.startupRuns, m.cpu * 1000, m.rssMb);
  }
  return 0;
}
