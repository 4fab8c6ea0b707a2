#!/usr/bin/env bash
# Installs what is missing, builds the programs and ledora-ledger (Release),
# says where they are and how to put them on the PATH, and runs
# LedTaxBridgeA on the built-in sample ledger. On a terminal the run is
# interactive; otherwise it aggregates the whole fiscal year unattended.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build-release"
BIN="$BUILD/bin"

"$ROOT/scripts/install-deps.sh" --build
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DLTB_BUILD_TESTS=OFF >/dev/null
cmake --build "$BUILD" -j2 --target LedTaxBridgeA LedTaxBridgeB LedTaxBridgeC ledora-ledger

cat >&2 <<MESSAGE

The programs LedTaxBridgeA, LedTaxBridgeB, LedTaxBridgeC and ledora-ledger are in
  $BIN
To run them by name (as the README's commands do), in this shell:
  export PATH="$BIN:\$PATH"
For daily use install the package instead: ./scripts/package.sh, then as root
  apt install ./dist/ledtaxbridge_*.deb

MESSAGE

PROGRAM="$BIN/LedTaxBridgeA"
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
