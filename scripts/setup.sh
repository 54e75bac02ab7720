#!/usr/bin/env bash
# Installs what building, running and testing Kelvane need on Debian 12, only where missing:
# the MinGW-w64 cross toolchain, CMake, Wine, Xvfb, GoogleTest's sources, the Chinese font,
# ImageMagick, NSIS, zip, osslsigncode and openssl for the packages and their signatures, git for
# the commit time the packages carry, node and npm for the workflow check (tests/ci),
# desktop-file-utils for the test of the desktop entry, and the zh_CN.UTF-8 / en_US.UTF-8
# locales that give Wine code pages 936 and 1252.
set -euo pipefail

packages=(cmake make g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 xvfb xauth googletest
          fonts-wqy-zenhei fonts-liberation imagemagick locales nsis zip unzip osslsigncode openssl git
          desktop-file-utils)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
# Node and npm may come from elsewhere than Debian (npm inside another nodejs package): any will do.
command -v npm >/dev/null || missing+=(nodejs npm)
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# Debian ships the locales uncompiled; without them Wine silently falls back to code page 1252.
for locale in zh_CN en_US; do
  if ! locale -a 2>/dev/null | grep -qx "${locale}.utf8"; then
    echo "setup: compiling locale ${locale}.UTF-8"
    as_root localedef -i "$locale" -f UTF-8 "${locale}.UTF-8"
  fi
done
