#!/usr/bin/env bash
# Plants one include of each kind the rule forbids (and the matching allowed
# one) in a small tree that holds docs/architecture.md and that one file,
# and checks that check-include-rule.sh fails on every forbidden include and
# passes every allowed one. Usage: check-include-rule-test.sh [SOURCE_ROOT];
# run by CTest as include_rule_catches_violations.
set -euo pipefail

ROOT="$(cd "${1:-$(dirname "${BASH_SOURCE[0]}")/..}" && pwd)"
CHECK="$ROOT/scripts/check-include-rule.sh"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT

# expected file include: "fail" or "pass", the file, the include line.
cases=(
  'fail aggregate/add_tax.cc #include "ledger/ledger_db.h"'
  'fail ui/seat.h #include "frontends/console/console_seat.h"'
  'fail aggregate/add_tax.cc #include <sqlite3.h>'
  'fail frontends/console/console_io.cc #include <wx/string.h>'
  'fail dialog/tax_conditions_dialog.cc #include <gtk/gtk.h>'
  'fail app/tax_link_app.cc #include <X11/Xlib.h>'
  'fail platform/env.cc #include <X11/Xlib.h>'
  'fail dialog/output_checks.cc #include <fstream>'
  'fail frontends/gui/wx_session.cc #include <unistd.h>'
  'pass ledger/ledger_db.cc #include <sqlite3.h>'
  'pass frontends/gui/wx_text.cc #include <wx/string.h>'
  'pass frontends/gui/gtk_theme.cc #include <gtk/gtk.h>'
  'pass platform/window_messages.cc #include <X11/Xlib.h>'
  'pass platform/posix_env.cc #include <unistd.h>'
  'pass tools/ledger_tool/main.cc #include <fstream>'
  'pass app/tax_link_app.cc #include <string>'
  'pass aggregate/add_tax_test.cc #include <sqlite3.h>'
)

failures=0
n=0
for entry in "${cases[@]}"; do
  read -r expected file line <<<"$entry"
  n=$((n + 1))
  tree="$WORK/$n"
  mkdir -p "$tree/docs" "$tree/$(dirname "$file")"
  cp "$ROOT/docs/architecture.md" "$tree/docs/"
  printf '%s\n' "$line" >"$tree/$file"
  if "$CHECK" "$tree" >/dev/null 2>&1; then got=pass; else got=fail; fi
  if [ "$got" != "$expected" ]; then
    echo "include_rule_catches_violations: $file with '$line' should $expected the check" >&2
    failures=$((failures + 1))
  fi
done

if [ "$failures" -gt 0 ]; then exit 1; fi
echo "include_rule_catches_violations: $n planted includes judged as the table says"
