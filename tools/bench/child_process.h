// Runs a program to its end and measures it: wall time from start to exit
// the processor time it used and the peak resident set size the kernel recorded for it.
#pragma once

#include <string>
#include <vector>

namespace ltb::bench {

struct ChildRun {
  int exitStatus = -1;     // the exit status, or -1 when killed by a signal
  double wallSeconds = 0;  // CLOCK_MONOTONIC, fork to reaped exit
  double cpuSeconds = 0;   // user plus system time of the child
  long peakRssKb = 0;      // ru_maxrss of the child
};

// Runs argv[0] (a path) with `argv`, the current environment changed by
// `environment` ("NAME=value" sets NAME, a bare "NAME" removes it), input from
// /dev/null and standard output and error to `outputFile` (/dev/null when
// empty). False with *error when the program could not be started.
bool RunChild(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
              const std::string& outputFile, ChildRun* run, std::string* error);

// The median of `values` (the mean of the two middle ones for an even
// count); 0 for none.
double Median(std::vector<double> values);

}  // namespace ltb::bench
