#!/usr/bin/env bash
# check-messages.sh SOURCE_DIR LANG WORK_DIR: regenerates the message
# template from the sources listed in po/POTFILES (xgettext) and fails when
# po/LANG.po lacks a translation of a message id, holds a fuzzy or obsolete
# entry, or fails msgfmt --check (placeholders of c-format messages).
# --update also rewrites po/ledtaxbridge.pot and merges it into po/LANG.po.
set -euo pipefail
SRC="$1"
LANG_CODE="$2"
WORK="$3"
UPDATE="${4:-}"
PO="$SRC/po/$LANG_CODE.po"
mkdir -p "$WORK"
POT="$WORK/ledtaxbridge.pot"
cd "$SRC"
mapfile -t files < <(grep -v '^\s*#' po/POTFILES | grep -v '^\s*$')
xgettext --language=C++ --from-code=UTF-8 --keyword=Tr --keyword=Tr932 --keyword=MessageId \
  --add-comments=TRANSLATORS: --package-name=ledtaxbridge --no-location --sort-output \
  -o "$POT" "${files[@]}"
if [ "$UPDATE" = --update ]; then
  cp "$POT" "$SRC/po/ledtaxbridge.pot"
  msgmerge --quiet --update --backup=none --no-fuzzy-matching --no-location --sort-output "$PO" "$POT"
fi
status=0
# The template in the tree must be the one the sources give.
if ! diff -q <(grep -v '^"POT-Creation-Date' "$POT") \
  <(grep -v '^"POT-Creation-Date' "$SRC/po/ledtaxbridge.pot") >/dev/null; then
  echo "po/ledtaxbridge.pot is out of date: run scripts/check-messages.sh . $LANG_CODE /tmp/po --update" >&2
  status=1
fi
merged="$WORK/$LANG_CODE.merged.po"
msgmerge --quiet --no-fuzzy-matching -o "$merged" "$PO" "$POT"
untranslated="$(msgattrib --untranslated --no-obsolete "$merged")"
fuzzy="$(msgattrib --only-fuzzy --no-obsolete "$merged")"
obsolete="$(msgattrib --only-obsolete "$merged")"
if [ -n "$untranslated" ]; then
  echo "$PO: message ids without a translation:" >&2
  echo "$untranslated" | grep '^msgid' | sed '1d' >&2
  status=1
fi
if [ -n "$fuzzy" ]; then
  echo "$PO: fuzzy entries:" >&2
  echo "$fuzzy" | grep '^msgid' | sed '1d' >&2
  status=1
fi
if [ -n "$obsolete" ]; then
  echo "$PO: entries of message ids the sources no longer hold:" >&2
  echo "$obsolete" | grep '^#~ msgid' >&2
  status=1
fi
if ! msgfmt --check --statistics -o /dev/null "$PO"; then status=1; fi
exit $status
