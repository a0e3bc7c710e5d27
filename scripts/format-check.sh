#!/usr/bin/env bash
# Checks that the C++ sources are laid out as .clang-format describes; with
# --fix it rewrites them so. Without clang-format it fails: a check that is
# skipped in silence passes sources nobody checked (scripts/install-deps.sh
# installs it).
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang-format >/dev/null 2>&1; then
  echo "format: FAILED, clang-format is not installed (Debian: clang-format; scripts/install-deps.sh installs it)" >&2
  exit 1
fi
mapfile -t files < <(git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' \
  'fuzz/*.cpp' 'fuzz/*.h' 'tools/*.cpp' 'tools/*.h')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
if ! clang-format --dry-run -Werror "${files[@]}"; then
  echo "format: the files above differ from .clang-format's layout; ./scripts/format-check.sh --fix rewrites them"
  exit 1
fi
echo "format: ${#files[@]} files as .clang-format lays them out"
