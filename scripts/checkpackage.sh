#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Builds the .deb from a configured and built BUILD folder and checks it:
# every file an installed Moswit needs is in it and nothing else (no test
# program, benchmark or sample), lintian reports no error and no warning,
# the desktop entry passes desktop-file-validate, the AppStream metadata
# appstreamcli validate, and Depends names Qt 6 Widgets and zlib but not
# pugixml, which the programs link statically.
#   scripts/checkpackage.sh BUILD     the package lands in BUILD/package
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -ne 1 ]; then
  echo "usage: scripts/checkpackage.sh BUILD" >&2
  exit 2
fi
build="$1"
out="$build/package"
rm -rf "$out"
cpack --config "$build/CPackConfig.cmake" -B "$out" >"$build/cpack.log" 2>&1 || {
  cat "$build/cpack.log" >&2
  echo "!! cpack could not build the package" >&2
  exit 1
}
deb=$(find "$out" -maxdepth 1 -name 'moswit_*.deb' | head -n 1)
if [ -z "$deb" ]; then
  echo "!! cpack wrote no moswit_*.deb to $out" >&2
  exit 1
fi

failed=0
fail() {
  echo "!! $deb: $*" >&2
  failed=1
}

files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./|/|')
expected=(
  /usr/bin/moswit
  /usr/bin/moswit-cli
  /usr/share/applications/moswit.desktop
  /usr/share/metainfo/org.example.moswit.metainfo.xml
  /usr/share/icons/hicolor/scalable/apps/moswit.svg
  /usr/share/man/man1/moswit.1.gz
  /usr/share/man/man1/moswit-cli.1.gz
  /usr/share/doc/moswit/copyright
  /usr/share/doc/moswit/changelog.gz
  /usr/share/doc/moswit/LICENSE
  /usr/share/doc/moswit/README.md
  /usr/share/doc/moswit/docs/guide.md
)
for size in 16 32 48 64 128 256; do
  expected+=("/usr/share/icons/hicolor/${size}x${size}/apps/moswit.png")
done
for shot in docs/screenshots/*.png; do
  expected+=("/usr/share/doc/moswit/$shot")
done
for path in "${expected[@]}"; do
  grep -qxF "$path" <<<"$files" || fail "$path is missing"
done
while IFS= read -r path; do
  printf '%s\n' "${expected[@]}" | grep -qxF "$path" || fail "$path should not be in the package"
done <<<"$files"

tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
dpkg-deb -x "$deb" "$tree"
if ! desktop-file-validate "$tree/usr/share/applications/moswit.desktop"; then
  fail "desktop-file-validate rejects moswit.desktop"
fi
if ! appstreamcli validate --no-net --pedantic "$tree/usr/share/metainfo/org.example.moswit.metainfo.xml"; then
  fail "appstreamcli rejects the AppStream metadata"
fi
# Informational tags (extra-license-file: LICENSE is installed beside the
# copyright file on purpose) do not fail the package.
if ! lintian --fail-on error,warning "$deb" 2> >(grep -v 'root privileges' >&2); then
  fail "lintian reports errors or warnings"
fi

depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 zlib1g; do
  grep -qE "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends does not name $package: $depends"
done
if grep -qE "(^|, )libpugixml" <<<"$depends"; then
  fail "Depends names pugixml, which is linked statically: $depends"
fi

if [ "$failed" -ne 0 ]; then
  exit 1
fi
echo "Package $deb: $(wc -l <<<"$files") files, Depends: $depends"
