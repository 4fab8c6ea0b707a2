#!/usr/bin/env bash
# Runs the end-to-end tests of the real programs once more as an
# unprivileged user ("nobody", with a home of its own), because the people
# who use the programs are never root. scripts/test.sh calls it when it runs
# as root, after the build; usage: test-as-user.sh BUILD_FOLDER.
#
# The tree and the build may lie under folders that user cannot enter (a CI
# clone under /root), so the three programs with the files beside them, the
# test executables and the golden reports are copied into a fresh
# world-readable folder, and the tests find them there through
# LTB_TEST_PROGRAM_DIR and LTB_TEST_GOLDEN_DIR.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${1:?usage: test-as-user.sh BUILD_FOLDER}"
RUN_AS=nobody

if ! command -v setpriv >/dev/null; then
  echo "test-as-user: setpriv (util-linux) is missing; cannot run the tests as $RUN_AS" >&2
  exit 1
fi
GROUP="$(id -gn "$RUN_AS")"

# The tests as that user see: the real programs unattended on the sample and
# on made ledgers (journal, return values, golden reports), the output-folder
# and settings-file checks, the parent window, closing-day years and the
# GUI run played with xdotool, and journal files through the ledger tool.
TESTS=(
  tests/program_e2e_tests
  tests/golden_report_tests
  tests/bad_input_program_tests
  tests/fault_injection_tests
  tests/closing_day_report_tests
  tests/show_compare_program_tests
  tests/language_program_tests
  tests/shared_folder_program_tests
  tests/books_program_tests
  tests/parent_notification_tests
  frontends/gui/gui_program_tests
)

STAGE="$(mktemp -d /tmp/ltb-as-user-XXXXXX)"
trap 'rm -rf "$STAGE"' EXIT
mkdir -p "$STAGE/bin" "$STAGE/tests" "$STAGE/golden" "$STAGE/home"
# The ledger tool is among the programs, with "books" (its layouts and
# tables) beside it.
cp -rp "$BUILD"/bin/* "$STAGE/bin/"
cp -p "$ROOT"/tests/golden/*.xml "$STAGE/golden/"
cp -p "$ROOT/scripts/lsan.supp" "$STAGE/lsan.supp"
cp -p "$ROOT/frontends/gui/lsan_suppressions.txt" "$STAGE/lsan-gui.supp" 2>/dev/null || true
for t in "${TESTS[@]}"; do
  if [ -x "$BUILD/$t" ]; then cp -p "$BUILD/$t" "$STAGE/tests/"; fi
done
if [ -n "${XAUTHORITY:-}" ] && [ -r "$XAUTHORITY" ]; then
  cp "$XAUTHORITY" "$STAGE/home/.Xauthority"
fi
chmod -R a+rX "$STAGE"
chown -R "$RUN_AS:$GROUP" "$STAGE/home"

status=0
cd "$STAGE"
for exe in "$STAGE"/tests/*; do
  name="$(basename "$exe")"
  supp="$STAGE/lsan.supp"
  if [ "$name" = gui_program_tests ] && [ -r "$STAGE/lsan-gui.supp" ]; then
    supp="$STAGE/lsan-gui.supp"
  fi
  echo "== $name as $RUN_AS"
  env_args=(
    HOME="$STAGE/home"
    XDG_DATA_HOME="$STAGE/home/.local/share"
    XDG_CONFIG_HOME="$STAGE/home/.config"
    LTB_TEST_PROGRAM_DIR="$STAGE/bin"
    LTB_TEST_GOLDEN_DIR="$STAGE/golden"
    LTB_TEST_LEDGER_TOOL="$STAGE/bin/ledora-ledger"
    LSAN_OPTIONS="suppressions=$supp:print_suppressions=0"
  )
  if [ -r "$STAGE/home/.Xauthority" ]; then env_args+=(XAUTHORITY="$STAGE/home/.Xauthority"); fi
  if ! setpriv --reuid="$RUN_AS" --regid="$GROUP" --clear-groups \
      env "${env_args[@]}" "$exe" --gtest_brief=1; then
    echo "test-as-user: $name failed as $RUN_AS" >&2
    status=1
  fi
done
exit $status
