#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs the Debian packages Moswit needs to build, test and benchmark,
# only those that are missing. Runs unattended; safe to run again.
# The Windows build uses Debian's MinGW-w64 cross compiler with its zlib,
# builds pugixml from Debian's source package (scripts/windows.sh fetches
# it, dpkg-dev unpacks it) and GoogleTest from the sources in
# /usr/src/googletest; its tests run under Wine, and its moswit-cli beside
# Linux's under a US English locale built from the locales package. lintian
# and appstreamcli check the package.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  zlib1g-dev libpugixml-dev libgtest-dev libbenchmark-dev
  qt6-base-dev
  unadf
  clang libclang-rt-dev clang-format
  dpkg-dev file desktop-file-utils lintian appstream
  g++-mingw-w64-x86-64-posix libz-mingw-w64-dev googletest wine64 locales
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
