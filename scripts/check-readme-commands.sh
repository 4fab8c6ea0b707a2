#!/usr/bin/env bash
# Runs the commands of README.md, ledger/README.md and the Japanese user
# guide (docs/ja/*.md; there a page may have no marked block) as a reader would,
# with the programs of a build on the PATH: every indented block right
# after a line "<!-- checked: ... -->" runs, in the order of the file, with
# bash -e in a fresh folder holding a copy of docs/examples, under a fresh
# HOME (one per file). Also checks that every ledora-ledger command answers
# --help and is described in both manual pages.
# usage: check-readme-commands.sh PROGRAM_FOLDER
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BIN="$(cd "${1:?usage: check-readme-commands.sh PROGRAM_FOLDER}" && pwd)"
export PATH="$BIN:$PATH"
unset LEDORA_HOME LEDORA_USER LTB_DRIVES DISPLAY
export USER="${USER:-$(id -un)}"

WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
status=0
fail() {
  echo "check-readme-commands: $*" >&2
  status=1
}

# The marked blocks of one Markdown file, as one script.
marked_blocks() {
  awk '
    /^<!-- checked: / { armed = 1; inblock = 0; next }
    armed && /^    / { inblock = 1; print substr($0, 5); next }
    armed && /^$/ { if (inblock) print ""; next }
    armed && inblock { armed = 0; inblock = 0 }
  ' "$1"
}

guide_pages=()
for page in "$ROOT"/docs/ja/*.md; do
  [ -e "$page" ] && guide_pages+=("${page#"$ROOT"/}")
done
for doc in README.md ledger/README.md "${guide_pages[@]}"; do
  script="$(marked_blocks "$ROOT/$doc")"
  if [ -z "$script" ]; then
    case "$doc" in
      docs/ja/*) continue ;;
    esac
    fail "$doc has no block marked <!-- checked: ... -->"
    continue
  fi
  folder="$WORK/$(echo "$doc" | tr / _)"
  mkdir -p "$folder/docs" "$folder/home"
  cp -R "$ROOT/docs/examples" "$folder/docs/"
  if ! output="$(cd "$folder" && HOME="$folder/home" XDG_DATA_HOME="$folder/home/.local/share" \
    XDG_CONFIG_HOME="$folder/home/.config" bash -e -x -c "$script" 2>&1)"; then
    fail "a command of $doc failed:"
    echo "$output" >&2
  fi
done

for command in $(ledora-ledger --list-commands); do
  if ! ledora-ledger "$command" --help | head -n 1 | grep -q "^Usage: ledora-ledger $command "; then
    fail "ledora-ledger $command --help does not show its usage"
  fi
  for page in "$ROOT/packaging/man/ledora-ledger.1" "$ROOT/packaging/man/ja/ledora-ledger.1"; do
    if ! grep -q "^\.BI ${command//-/\\\\-} " "$page"; then
      fail "$page does not describe the command $command"
    fi
  done
done
exit $status
