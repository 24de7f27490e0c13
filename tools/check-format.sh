#!/usr/bin/env bash
# Fails when a C++ file of the tree differs from what .clang-format makes of
# it; prints the files. Fix with: tools/check-format.sh --fix
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files 'src/*.h' 'src/*.cpp' 'tests/*.h' 'tests/*.cpp' 'bench/*.h' 'bench/*.cpp' 2>/dev/null ||
  find src tests bench -name '*.h' -o -name '*.cpp')
if [[ "${1:-}" == "--fix" ]]; then
  clang-format -i "${files[@]}"
  exit 0
fi
if ! command -v clang-format >/dev/null; then
  echo "clang-format is not installed (make deps installs it)"; exit 1
fi
bad=()
for f in "${files[@]}"; do
  [[ -f "$f" ]] || continue
  clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done
if ((${#bad[@]})); then
  printf 'not formatted (run tools/check-format.sh --fix): %s\n' "${bad[@]}"
  exit 1
fi
echo "format check: ${#files[@]} files formatted"
