#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test the programs,
# and generates the Japanese locale the window tests also run in. Does
# nothing when they are all present already.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config clang-format ccache
  libgtest-dev libgmock-dev
  libsqlite3-dev sqlite3
  libwxgtk3.2-dev libgtk-3-dev
  xvfb xauth libx11-dev x11-utils xdotool fonts-vlgothic openbox
  locales wx3.2-i18n
  libxml2-utils
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}" >&2
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

# ja_JP.UTF-8, which the program's users work in.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; then
  echo "Generating the ja_JP.UTF-8 locale" >&2
  $SUDO sed -i 's/^# *\(ja_JP\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  if ! grep -q '^ja_JP\.UTF-8 UTF-8' /etc/locale.gen; then
    echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  fi
  $SUDO locale-gen >/dev/null
fi
