#!/usr/bin/env bash
# Runs one AFL++ campaign on a fuzz target of the AFL build, starting from
# its seed corpus. Usage: run_campaign.sh BUILD_DIR TARGET SECONDS OUT_DIR
# Prints the target's execs, run time and findings at the end.
set -euo pipefail
BUILD="${1:?BUILD_DIR}"; TARGET="${2:?TARGET}"; SECONDS_TO_RUN="${3:?SECONDS}"; OUT="${4:?OUT_DIR}"
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export AFL_SKIP_CPUFREQ=1 AFL_NO_UI=1 AFL_NO_AFFINITY=1 AFL_I_DONT_CARE_ABOUT_MISSING_CRASHES=1
mkdir -p "$OUT"
afl-fuzz -i "$HERE/corpus/$TARGET" -o "$OUT/$TARGET" -V "$SECONDS_TO_RUN" -- \
  "$BUILD/fuzz/fuzz_$TARGET" > "$OUT/$TARGET.log" 2>&1 || true
stats="$OUT/$TARGET/default/fuzzer_stats"
awk -v t="$TARGET" '/^(run_time|execs_done|execs_per_sec|corpus_count|saved_crashes|saved_hangs|bitmap_cvg) / \
  { v[$1] = $3 } END { printf "%s run_time=%ss execs=%s execs/s=%s corpus=%s crashes=%s hangs=%s cvg=%s\n", \
  t, v["run_time"], v["execs_done"], v["execs_per_sec"], v["corpus_count"], v["saved_crashes"], \
  v["saved_hangs"], v["bitmap_cvg"] }' "$stats"
