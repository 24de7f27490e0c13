#!/usr/bin/env bash
# Keeps the code's floors pointing one way: a file may include headers of its
# own folder and of the floors below it, never of a floor above it or of a
# sibling on its own floor. Prints every include that breaks this as
# FILE:LINE and exits 1. Usage: check-includes.sh [SOURCE_DIR] (default src).
set -euo pipefail
src="${1:-$(dirname "$0")/../src}"

# Floor of each folder, lowest first. curves and canvas share a floor, as do
# app and ui; neither of a pair may include the other.
declare -A floor=(
  [base]=0 [settings]=1 [curves]=2 [canvas]=2 [engine]=3
  [animation]=4 [services]=5 [app]=6 [ui]=6
)
# The program's entry point joins the two faces.
allowed_upward="app/main.cpp"

status=0
while IFS= read -r -d '' file; do
  rel="${file#"$src"/}"
  folder="${rel%%/*}"
  [[ -n "${floor[$folder]+x}" ]] || continue
  [[ "$rel" == "$allowed_upward" ]] && continue
  line_no=0
  while IFS= read -r line; do
    line_no=$((line_no + 1))
    [[ "$line" =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([a-z_]+)/ ]] || continue
    target="${BASH_REMATCH[1]}"
    [[ -n "${floor[$target]+x}" ]] || continue
    [[ "$target" == "$folder" ]] && continue
    if ((floor[$target] >= floor[$folder])); then
      echo "$file:$line_no: $folder/ may not include $target/ (${line#*#include })"
      status=1
    fi
  done <"$file"
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.def' \) -print0 | sort -z)
exit $status
