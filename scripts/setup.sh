#!/usr/bin/env bash
# Installs everything the builds and the Wine test bench need on Debian.
# Safe to run again: it only installs what is missing.
set -euo pipefail

need_root() {
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then echo sudo; else
      echo "setup: must run as root (or with sudo available) to install packages" >&2
      exit 1
    fi
  fi
}
SUDO=$(need_root)

pkgs=(cmake g++ make googletest libgtest-dev
      g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32 mingw-w64-tools
      wine wine32:i386 wine64 xvfb xauth xdotool imagemagick locales
      fonts-ipafont-gothic
      gstreamer1.0-plugins-base:i386 gstreamer1.0-plugins-good:i386
      gstreamer1.0-plugins-base gstreamer1.0-plugins-good
      sox lame file clang-format python3 clang-14 libclang-rt-14-dev)

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
  fresh_arch=1
fi

missing=()
for p in "${pkgs[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -gt 0 ] || [ -n "${fresh_arch:-}" ]; then
  echo "setup: installing ${missing[*]}"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The ANSI code page under Wine follows LANG; ja_JP.UTF-8 gives code page 932.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  $SUDO sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen
fi
echo "setup: all packages present"
