#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Fails when a C++ file of the repository is not formatted with the project's
# .clang-format, or a source file lacks its SPDX licence line.
set -euo pipefail
cd "$(dirname "$0")/.."

# The repository's files; outside a git checkout, those of its source folders.
sources() {
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files "$@"
  else
    find src tests bench fuzz scripts cmake .ci CMakeLists.txt -type f -not -path 'tests/data/*' |
      sed 's|^\./||' | while read -r file; do
        for pattern in "$@"; do
          # shellcheck disable=SC2053
          [[ $file == $pattern ]] && { echo "$file"; break; }
        done
      done
  fi
}

sources '*.cpp' '*.h' | tr '\n' '\0' | xargs -0 clang-format --dry-run --Werror

missing=$(sources '*.cpp' '*.h' '*.sh' '*.cmake' '*CMakeLists.txt' .ci/run |
  while read -r file; do
    head -n 3 "$file" | grep -q 'SPDX-License-Identifier: GPL-2.0-or-later' || echo "$file"
  done)
if [ -n "$missing" ]; then
  echo "Without an SPDX licence line:" >&2
  echo "$missing" >&2
  exit 1
fi
