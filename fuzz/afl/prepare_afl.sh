#!/usr/bin/env bash
# Prepares AFL++ with its GCC plugin for the fuzz build and prints the
# AFL_PATH to use. Usage: prepare_afl.sh DIR
#
# Debian's afl++ 4.04c plugin was built against GCC 12.2.0-14 and refuses a
# later Debian revision of the same GCC (12.2.0-14+deb12u1) only because the
# configure strings differ. When that happens, a copy of AFL++'s folder is
# made in DIR and the plugin's version check call is replaced by "true";
# the plugin's ABI is that of GCC 12.2.0 in both cases.
set -euo pipefail
DIR="${1:?usage: prepare_afl.sh DIR}"
SRC=/usr/lib/afl
command -v afl-g++-fast >/dev/null || { echo "afl++ is not installed" >&2; exit 1; }
mkdir -p "$DIR"
probe="$DIR/probe.cc"
echo 'int main() { return 0; }' > "$probe"
if afl-g++-fast -o "$DIR/probe" "$probe" >/dev/null 2>&1; then
  echo "$SRC"
  exit 0
fi
cp -a "$SRC/." "$DIR/"
plugin="$DIR/afl-gcc-pass.so"
# The call to plugin_default_version_check in plugin_init.
addr=$(objdump -d --no-show-raw-insn "$SRC/afl-gcc-pass.so" |
       awk '/call.*<plugin_default_version_check@plt>$/ { sub(":", "", $1); print $1; exit }')
[ -n "$addr" ] || { echo "version check call not found in the plugin" >&2; exit 1; }
# Virtual address to file offset through the .text section header.
read -r vma off < <(objdump -h "$SRC/afl-gcc-pass.so" | awk '$2 == ".text" { print $4, $6 }')
offset=$(( 0x$addr - 0x$vma + 0x$off ))
[ "$(xxd -p -s "$offset" -l 1 "$plugin")" = "e8" ] || { echo "unexpected bytes at the call" >&2; exit 1; }
printf '\xb8\x01\x00\x00\x00' | dd of="$plugin" bs=1 seek="$offset" conv=notrunc status=none
AFL_PATH="$DIR" afl-g++-fast -o "$DIR/probe" "$probe" >/dev/null 2>&1 ||
  { echo "the patched plugin still fails" >&2; exit 1; }
echo "$DIR"
