#!/usr/bin/env bash
# Builds the programs (Release) and the benchmark tools, then times full
# unattended journal runs of LedTaxBridgeA on generated ledgers of 100,000,
# 1,000,000 and 10,000,000 entries (each beside two raw passes over the same rows)
# and its start-up on the sample ledger.
# Arguments go to bench_run (see bench_run --help), e.g.
#   tools/bench/run-bench.sh --entries 250000 --runs 7
# Generated ledgers are kept in $TMPDIR/ltb-bench (or /tmp/ltb-bench).
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

for arg in "$@"; do
  if [ "$arg" = --help ] || [ "$arg" = -h ]; then
    cat <<'USAGE'
usage: tools/bench/run-bench.sh [--program PATH] [--entries N]... [--runs N]
                                [--startup-runs N] [--work DIR]
Builds LedTaxBridgeA and the benchmark tools (Release, in build-release) and
prints the median wall time, processor time, peak memory and entries per
second of unattended journal runs and --compare on generated ledgers, and of
the start-up on the sample ledger.

  --program       the program to time (default: the LedTaxBridgeA built here)
  --entries       journal entries of a generated ledger; repeatable
                  (default: 100000, 1000000 and 10000000; 0 skips the journal runs)
  --runs          timed runs per ledger (default 5), after one warm-up run
  --startup-runs  timed start-up runs on the sample ledger (default 11; 0 skips)
  --work DIR      folder for the generated ledgers and outputs
                  (default: $TMPDIR/ltb-bench, else /tmp/ltb-bench)
USAGE
    exit 0
  fi
done
BUILD="$ROOT/build-release"

"$ROOT/scripts/install-deps.sh"
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DLTB_BUILD_TESTS=OFF >/dev/null
cmake --build "$BUILD" -j2 --target LedTaxBridgeA bench_run gen_ledger

exec "$BUILD/tools/bench/bench_run" --program "$BUILD/bin/LedTaxBridgeA" "$@"
