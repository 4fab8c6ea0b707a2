#!/usr/bin/env bash
# Checks that every #include "folder/file.h" of the program's sources is one
# that docs/architecture.md's table "What each folder may include" allows.
# Usage: check-include-rule.sh [SOURCE_ROOT]; run by CTest as include_rule.
#
# The table's first column names what a row covers: folders (`ui/`, the most
# specific one wins: `frontends/console/` over `frontends/`), files (`app/main.cc`,
# `app/options.*`, which win over folders) or `*/testing/`. The last column
# names what its files may include: folders, single headers
# (`aggregate/tax_totals.h`), "nothing of ours" or "everything". A file may
# always include its own row. The table "Libraries that belong to one
# folder" names angle-bracket includes (`sqlite3.h`, or `wx/` for every
# header under it) and the files or folders alone allowed to include them.
# Tests, fakes, fixtures and fuzz targets are not checked: they include what
# they test.
set -euo pipefail

ROOT="$(cd "${1:-$(dirname "${BASH_SOURCE[0]}")/..}" && pwd)"
DOC="$ROOT/docs/architecture.md"

keys=()        # key of every row, in table order
row_of_key=()  # row number of every key, parallel to keys
allowed=()     # per row: space-separated allowed tokens, or "*" for everything

# The rows of the table under the heading "## What each folder may include".
row=0
while IFS= read -r line; do
  IFS='|' read -r _ covers _ may _ <<<"$line"
  first_tokens=$(grep -o '`[^`]*`' <<<"$covers" | tr -d '`' || true)
  [ -n "$first_tokens" ] || continue
  if grep -q 'everything' <<<"$may"; then
    allowed[row]="*"
  else
    allowed[row]=$(grep -o '`[^`]*`' <<<"$may" | tr -d '`' | tr '\n' ' ' || true)
  fi
  for key in $first_tokens; do
    keys+=("$key")
    row_of_key+=("$row")
  done
  row=$((row + 1))
done < <(awk '/^## /{inside = ($0 == "## What each folder may include")}
              inside && /^\| *`/' "$DOC")

if [ "$row" -eq 0 ]; then
  echo "include_rule: no table \"What each folder may include\" in $DOC" >&2
  exit 1
fi

# The libraries of one folder: per row, the include names (a header, or a
# folder prefix ending in /) and the places allowed to include them.
lib_names=()   # per library row: space-separated include names
lib_places=()  # per library row: space-separated files or folders
while IFS= read -r line; do
  IFS='|' read -r _ _ names places _ <<<"$line"
  names=$(grep -o '`[^`]*`' <<<"$names" | tr -d '`' | tr '\n' ' ' || true)
  [ -n "$names" ] || continue
  lib_names+=("$names")
  lib_places+=("$(grep -o '`[^`]*`' <<<"$places" | tr -d '`' | tr '\n' ' ' || true)")
done < <(awk '/^## /{inside = ($0 == "## Libraries that belong to one folder")}
              inside && /^\| *[^-| ]/ && !/^\| *Library *\|/' "$DOC")

if [ "${#lib_names[@]}" -eq 0 ]; then
  echo "include_rule: no table \"Libraries that belong to one folder\" in $DOC" >&2
  exit 1
fi

# Whether `file` may include the library header `target` (<target>).
may_include_library() {
  local file=$1 target=$2 i name place named
  for i in "${!lib_names[@]}"; do
    named=0
    for name in ${lib_names[i]}; do
      if [[ $name == */ ]]; then
        [[ $target == "$name"* ]] && named=1
      else
        [ "$target" = "$name" ] && named=1
      fi
    done
    [ "$named" -eq 1 ] || continue
    for place in ${lib_places[i]}; do
      if [[ $place == */ ]]; then
        [[ $file == "$place"* ]] && return 0
      else
        [ "$file" = "$place" ] && return 0
      fi
    done
    return 1
  done
  return 0
}

# The row a path (relative to the root) belongs to, or -1; file keys beat
# patterns, patterns beat folders, longer folders beat shorter ones.
row_of() {
  local path=$1 best=-1 best_score=-1 score i key
  for i in "${!keys[@]}"; do
    key=${keys[i]}
    score=-1
    if [[ $key != */ ]]; then
      # shellcheck disable=SC2053 # the key is a glob on purpose
      [[ $path == $key ]] && score=3000
    elif [[ $key == *'*'* ]]; then
      # shellcheck disable=SC2053
      [[ $path == $key* ]] && score=$((2000 + ${#key}))
    else
      [[ $path == "$key"* ]] && score=${#key}
    fi
    if [ "$score" -gt "$best_score" ]; then
      best_score=$score
      best=${row_of_key[i]}
    fi
  done
  echo "$best"
}

# Whether a file of row `from` may include `target` (of row `to`).
may_include() {
  local from=$1 to=$2 target=$3 token
  [ "$from" = "$to" ] && return 0
  [ "${allowed[from]}" = "*" ] && return 0
  for token in ${allowed[from]}; do
    if [[ $token == */ ]]; then
      [ "$(row_of "$token")" = "$to" ] && return 0
    else
      [ "$token" = "$target" ] && return 0
    fi
  done
  return 1
}

# The folders the table covers, scanned for the program's own sources.
folders=()
for key in "${keys[@]}"; do
  top=${key%%/*}
  [[ $top == *'*'* || ! -d "$ROOT/$top" ]] && continue
  [[ " ${folders[*]} " == *" $top "* ]] || folders+=("$top")
done

# The quoted includes that name a folder: #include "folder/file.h".
include_pattern='s/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\/[^"]*\)".*/\1/p'
# The angle-bracket includes: #include <header>.
library_pattern='s/^[[:space:]]*#[[:space:]]*include[[:space:]]*<\([^>]*\)>.*/\1/p'

violations=0
cd "$ROOT"
while IFS= read -r file; do
  file=${file#./}
  case "$file" in
    *_test.cc | */testing/* | fuzz/* | tests/*) continue ;;
  esac
  from=$(row_of "$file")
  if [ "$from" -lt 0 ]; then
    echo "$file: no row of the table covers this file" >&2
    violations=$((violations + 1))
    continue
  fi
  while IFS= read -r target; do
    to=$(row_of "$target")
    if [ "$to" -lt 0 ] || ! may_include "$from" "$to" "$target"; then
      echo "$file: includes \"$target\", which the table does not allow" >&2
      violations=$((violations + 1))
    fi
  done < <(sed -n "$include_pattern" "$file")
  while IFS= read -r target; do
    if ! may_include_library "$file" "$target"; then
      echo "$file: includes <$target>, which belongs to another folder" >&2
      violations=$((violations + 1))
    fi
  done < <(sed -n "$library_pattern" "$file")
done < <(find "${folders[@]}" -type f \( -name '*.cc' -o -name '*.h' \) | sort)

if [ "$violations" -gt 0 ]; then
  echo "include_rule: $violations include(s) break the rule of docs/architecture.md" >&2
  exit 1
fi
echo "include_rule: every include follows docs/architecture.md"
