#!/usr/bin/env bash
# Builds the Debian package of the programs into dist/: a Release build in
# build-release (shared with run-sample.sh, so a second run only relinks
# what changed), installed under /usr by CPack's DEB generator, which also
# asks dpkg-shlibdeps for the dependencies. Prints the package's path.
# Install it with: apt install ./dist/ledtaxbridge_VERSION_ARCH.deb
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${LTB_PACKAGE_BUILD:-$ROOT/build-release}"
DIST="$ROOT/dist"

if [ "${1:-}" = --help ] || [ "${1:-}" = -h ]; then
  echo "usage: scripts/package.sh"
  echo "Builds dist/ledtaxbridge_VERSION_ARCH.deb from a Release build in build-release."
  exit 0
fi

"$ROOT/scripts/install-deps.sh" --package

cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DLTB_BUILD_TESTS=OFF \
  -DLTB_BUILD_FUZZ=OFF -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
  >/dev/null
cmake --build "$BUILD" -j2 --target LedTaxBridgeA LedTaxBridgeB LedTaxBridgeC ledora-ledger \
  ltb_manual_pages ltb_changelog

# CPack works in a folder of its own; only the package goes to dist/.
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
(cd "$BUILD" && cpack -G DEB -B "$WORK" >"$WORK/cpack.log") || {
  cat "$WORK/cpack.log" >&2
  echo "package.sh: cpack failed (its messages are above)" >&2
  exit 1
}
mkdir -p "$DIST"
for deb in "$WORK"/*.deb; do
  mv -f "$deb" "$DIST/"
  echo "$DIST/$(basename "$deb")"
done
