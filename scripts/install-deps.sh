#!/usr/bin/env bash
# Installs the Debian packages needed to build and run the programs
# (--build), to build their Debian package too (--package), or, by default,
# also those to test them, and then generates the Japanese locale the
# window tests also run in. Does nothing when they are all present already.
#
# Installing needs root: as root it runs apt-get itself, otherwise through
# sudo when the user may use it. When neither is possible it installs
# nothing, prints the one command to run as root, and fails (status 1), so
# the caller stops before building.
set -euo pipefail

BUILD_PACKAGES=(
  build-essential cmake pkg-config
  libsqlite3-dev
  libwxgtk3.2-dev libgtk-3-dev libx11-dev
  fonts-vlgothic wx3.2-i18n
  gettext libc-l10n
)
PACKAGE_PACKAGES=(dpkg-dev file)
TEST_PACKAGES=(
  clang-format ccache
  libgtest-dev libgmock-dev
  sqlite3
  xvfb xauth x11-utils xdotool openbox metacity
  locales
  libxml2-utils util-linux mount
  lintian desktop-file-utils man-db bash-completion
)

profile=all
case "${1:-}" in
  --build) profile=build ;;
  --package) profile=package ;;
  "") ;;
  *)
    echo "usage: install-deps.sh [--build | --package]" >&2
    exit 2
    ;;
esac

PACKAGES=("${BUILD_PACKAGES[@]}")
if [ $profile != build ]; then PACKAGES+=("${PACKAGE_PACKAGES[@]}"); fi
if [ $profile = all ]; then PACKAGES+=("${TEST_PACKAGES[@]}"); fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

# ja_JP.UTF-8, which the program's users work in; the window tests run in it.
LOCALE_COMMAND="sed -i 's/^# *\\(ja_JP\\.UTF-8 UTF-8\\)/\\1/' /etc/locale.gen && \
{ grep -q '^ja_JP\\.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >>/etc/locale.gen; } && \
locale-gen"
need_locale=false
if [ $profile = all ] && ! locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; then
  need_locale=true
fi

if [ ${#missing[@]} -eq 0 ] && [ $need_locale = false ]; then
  exit 0
fi

what=""
if [ ${#missing[@]} -gt 0 ]; then what="the packages ${missing[*]} are missing"; fi
if [ $need_locale = true ]; then what="${what:+$what and }the ja_JP.UTF-8 locale is missing"; fi

INSTALL_COMMAND="apt-get update && apt-get install -y --no-install-recommends ${missing[*]}"
root_commands() {
  local line=""
  if [ ${#missing[@]} -gt 0 ]; then line="$INSTALL_COMMAND"; fi
  if [ $need_locale = true ]; then line="${line:+$line && }$LOCALE_COMMAND"; fi
  echo "$line"
}
cannot_install() {
  echo "install-deps.sh: ${1}; run this as root, then run the command again:" >&2
  echo "  $(root_commands)" >&2
  exit 1
}

SUDO=()
if [ "$(id -u)" -ne 0 ]; then
  # sudo may ask for a password on a terminal; without one it must work
  # without asking.
  if ! command -v sudo >/dev/null 2>&1; then
    cannot_install "$what, and installing needs root (this user is not root and there is no sudo)"
  fi
  if ! sudo -n true 2>/dev/null && ! [ -t 0 ]; then
    cannot_install "$what, and sudo needs a password but there is no terminal to ask for it"
  fi
  SUDO=(sudo)
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}" >&2
  if ! "${SUDO[@]}" apt-get update ||
    ! "${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
      "${missing[@]}"; then
    cannot_install "installing the packages failed (see the messages above)"
  fi
fi

if [ $need_locale = true ]; then
  echo "Generating the ja_JP.UTF-8 locale" >&2
  if ! "${SUDO[@]}" sh -c "$LOCALE_COMMAND" >/dev/null; then
    cannot_install "generating the ja_JP.UTF-8 locale failed"
  fi
fi
