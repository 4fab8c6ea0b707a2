#!/usr/bin/env bash
# Installs what is missing, builds the programs (Release) and runs
# LedTaxBridgeA on the built-in sample ledger. On a terminal the run is
# interactive; otherwise it aggregates the whole fiscal year unattended.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build-release"

"$ROOT/scripts/install-deps.sh"
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DLTB_BUILD_TESTS=OFF >/dev/null
cmake --build "$BUILD" -j2 --target LedTaxBridgeA LedTaxBridgeB LedTaxBridgeC

PROGRAM="$BUILD/bin/LedTaxBridgeA"
if [ -t 0 ] && [ -t 1 ]; then
  exec "$PROGRAM" "$@"
fi

OUTPUT="${LTB_SAMPLE_OUTPUT:-$PWD/ledtaxbridge-sample.xml}"
status=0
"$PROGRAM" --ui console --method journal --months 4-3 --output "$OUTPUT" --execute --yes "$@" \
  || status=$?
if [ $status -eq 0 ]; then
  echo "The report was written to $OUTPUT"
else
  echo "LedTaxBridgeA ended with status $status" >&2
fi
exit $status
