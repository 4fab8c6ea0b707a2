// A property check inside a fuzz target: a failed check aborts, so the
// fuzzing engine (or the seed replay) records the input as a finding.
#pragma once

#include <cstdio>
#include <cstdlib>

#define LTB_FUZZ_CHECK(cond)                                                        \
  do {                                                                              \
    if (!(cond)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
      std::abort();                                                                 \
    }                                                                               \
  } while (0)
