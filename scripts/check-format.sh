#!/usr/bin/env bash
# Checks that every C++ source follows .clang-format and names the lines
# that do not. Usage: check-format.sh [SOURCE_ROOT]; run by CTest as
# format_check. To format a file: clang-format -i FILE.
set -euo pipefail

ROOT="$(cd "${1:-$(dirname "${BASH_SOURCE[0]}")/..}" && pwd)"
cd "$ROOT"
if ! command -v clang-format >/dev/null; then
  echo "check-format: clang-format is missing (scripts/install-deps.sh installs it)" >&2
  exit 1
fi

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files -- '*.cc' '*.h')
else
  mapfile -t files < <(find . -path './build*' -prune -o \( -name '*.cc' -o -name '*.h' \) -print)
fi
clang-format --dry-run --Werror "${files[@]}"
echo "check-format: ${#files[@]} files follow .clang-format"
