#!/usr/bin/env bash
# Builds the programs (Release) and the benchmark tools, then times full
# unattended journal runs of LedTaxBridgeA on generated ledgers of 100,000,
# 1,000,000 and 10,000,000 entries (each beside a raw pass over the same rows)
# and its start-up on the sample ledger.
# Arguments go to bench_run (see bench_run --help), e.g.
#   tools/bench/run-bench.sh --entries 250000 --runs 7
# Generated ledgers are kept in $TMPDIR/ltb-bench (or /tmp/ltb-bench).
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD="$ROOT/build-release"

"$ROOT/scripts/install-deps.sh"
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DLTB_BUILD_TESTS=OFF >/dev/null
cmake --build "$BUILD" -j2 --target LedTaxBridgeA bench_run gen_ledger

exec "$BUILD/tools/bench/bench_run" --program "$BUILD/bin/LedTaxBridgeA" "$@"
