#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test; the ledger's tests, whose
# journal reader starts a thread, run once more under ThreadSanitizer in a
# build of their own (LTB_TSAN_BUILD, default BUILD-tsan); then builds the
# Debian package and checks it. Starts a virtual X display when none is set,
# for the window-message and GUI tests.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${LTB_TEST_BUILD:-$ROOT/build-test}"

"$ROOT/scripts/install-deps.sh"
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Debug -DLTB_SANITIZE=ON >/dev/null
cmake --build "$BUILD" -j2
# ThreadSanitizer cannot share a build with AddressSanitizer; this one makes
# only the ledger folder's test executables (target tests_ledger).
TSAN_BUILD="${LTB_TSAN_BUILD:-$BUILD-tsan}"
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S "$ROOT" -B "$TSAN_BUILD" -DCMAKE_BUILD_TYPE=Debug -DLTB_THREAD_SANITIZE=ON \
  -DLTB_BUILD_GUI=OFF -DLTB_BUILD_FUZZ=OFF "${launcher[@]}" >/dev/null
cmake --build "$TSAN_BUILD" -j2 --target tests_ledger

XVFB_PID=""
cleanup() {
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
  fi
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  # Xvfb picks a free display itself and writes its number to the file, so
  # two test runs at once never share (and kill) one server.
  DISPLAY_FILE="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$DISPLAY_FILE" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 100); do
    [ -s "$DISPLAY_FILE" ] && break
    sleep 0.1
  done
  if [ ! -s "$DISPLAY_FILE" ]; then
    echo "test.sh: the virtual X display did not start" >&2
    exit 1
  fi
  export DISPLAY=":$(head -n 1 "$DISPLAY_FILE")"
  rm -f "$DISPLAY_FILE"
fi

# Tests never touch the person's own data folders.
REAL_HOME="${HOME:-}"
export HOME="$(mktemp -d)"
export XDG_DATA_HOME="$HOME/.local/share"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$ROOT/scripts/lsan.supp:print_suppressions=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

status=0
ctest --test-dir "$BUILD" --output-on-failure -j2 --timeout 300 || status=$?
TSAN_OPTIONS="${TSAN_OPTIONS:-halt_on_error=1}" \
  ctest --test-dir "$TSAN_BUILD" -L '^ledger$' --output-on-failure -j2 --timeout 300 || status=$?
# Users are never root: a run as root (as in CI) also runs the end-to-end
# tests of the real programs as an unprivileged user.
if [ "$(id -u)" -eq 0 ]; then
  "$ROOT/scripts/test-as-user.sh" "$BUILD" || status=$?
fi
# The Debian package, built from a Release build (build-release, shared
# with run-sample.sh) and checked as it would be installed; the build keeps
# the person's own compiler cache.
HOME="$REAL_HOME" "$ROOT/scripts/check-package.sh" || status=$?
rm -rf "$HOME"
exit $status
