#!/usr/bin/env bash
# Builds the Debian package (scripts/package.sh) and checks it as a user
# would meet it: lintian reports no errors; its version is the changelog's;
# unpacked with dpkg-deb -x into a fresh folder, the programs start from
# there through the links in usr/bin, as an unprivileged user ("nobody"
# when this runs as root), and the report of the sample ledger equals the
# golden one; the manual pages render with man -l without a warning; the
# desktop entry passes desktop-file-validate; the bash completion offers
# the ledger tool's commands; the programs find their Japanese catalog.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
status=0
fail() {
  echo "check-package: $*" >&2
  status=1
}

DEB="$("$ROOT/scripts/package.sh" | tail -n 1)"
echo "== $DEB"

lintian --fail-on error "$DEB" ||
  fail "lintian reports errors in $DEB"

version="$(dpkg-deb -f "$DEB" Version)"
changelog_version="$(dpkg-parsechangelog -l "$ROOT/packaging/changelog" -S Version)"
[ "$version" = "$changelog_version" ] ||
  fail "the package is version $version but packaging/changelog starts with $changelog_version"

STAGE="$(mktemp -d /tmp/ltb-package-XXXXXX)"
trap 'rm -rf "$STAGE"' EXIT
dpkg-deb -x "$DEB" "$STAGE/root"
mkdir -p "$STAGE/home"
chmod -R a+rX "$STAGE"
RUN_AS=()
if [ "$(id -u)" -eq 0 ]; then
  chown nobody "$STAGE/home"
  RUN_AS=(setpriv --reuid=nobody --regid="$(id -gn nobody)" --clear-groups)
fi
BIN="$STAGE/root/usr/bin"
as_user() {
  "${RUN_AS[@]}" env -i PATH="$BIN:/usr/bin:/bin" HOME="$STAGE/home" LANG=C.UTF-8 "$@"
}

# The sample ledger's journal report, from the unpacked programs.
if ! output="$(as_user LedTaxBridgeA --ui console --method journal --months 4-3 \
  --output "$STAGE/home/report.xml" --execute --yes 2>&1)"; then
  fail "LedTaxBridgeA from the package failed: $output"
elif ! cmp -s "$STAGE/home/report.xml" "$ROOT/tests/golden/sample_journal.xml"; then
  fail "the report of the packaged LedTaxBridgeA differs from tests/golden/sample_journal.xml"
fi
for program in LedTaxBridgeB LedTaxBridgeC ledora-ledger; do
  as_user "$program" -V | grep -qx "$program $version" ||
    fail "$program -V from the package does not say $program $version"
done
# The message catalog, found by the installed programs (through the links).
if locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; then
  for program in LedTaxBridgeA ledora-ledger; do
    as_user env LC_ALL=ja_JP.UTF-8 "$program" --help | grep -q '^使い方' ||
      fail "$program --help from the package is not Japanese under ja_JP.UTF-8 (no catalog)"
  done
fi

# Manual pages, through their links too, in English and Japanese.
for page in "$STAGE"/root/usr/share/man/man1/*.1.gz "$STAGE"/root/usr/share/man/ja/man1/*.1.gz; do
  if ! rendered="$(LANG=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)" ||
    [ -n "$rendered" ]; then
    fail "man -l $page: $rendered"
  elif [ "$(LANG=C.UTF-8 MANWIDTH=80 man -l "$page" 2>/dev/null | wc -l)" -lt 20 ]; then
    fail "man -l $page renders almost nothing"
  fi
done

desktop-file-validate "$STAGE"/root/usr/share/applications/ledtaxbridge.desktop ||
  fail "the desktop entry does not validate"

COMPLETION=/usr/share/bash-completion/bash_completion
if [ -r "$COMPLETION" ]; then
  offered="$(PATH="$BIN:$PATH" bash -c '
    source "$1"; source "$2"
    COMP_WORDS=(ledora-ledger import-a); COMP_CWORD=1; COMP_LINE="ledora-ledger import-a"
    COMP_POINT=${#COMP_LINE}; _ltb_ledger_tool ledora-ledger import-a ledora-ledger
    echo "${COMPREPLY[*]}"
    COMP_WORDS=(LedTaxBridgeA --ver); COMP_CWORD=1; COMP_LINE="LedTaxBridgeA --ver"
    COMP_POINT=${#COMP_LINE}; _ltb_program LedTaxBridgeA --ver LedTaxBridgeA
    echo "${COMPREPLY[*]}"' _ "$COMPLETION" \
    "$STAGE/root/usr/share/bash-completion/completions/ledora-ledger" 2>&1)"
  [ "$offered" = "import-accounts import-assets
--version" ] || fail "bash completion offered: $offered"
fi
exit $status
