#!/usr/bin/env bash
# Writes the help of `quorl` and of each of its commands into the README's
# command-line section, between its two markers. tests/app checks that the
# README matches the program, so run this after changing an option.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=${1:-build/quorl}
begin='<!-- quorl --help: made by tools/update-readme-help.sh -->'
end='<!-- end of quorl --help -->'
section=$(mktemp)
trap 'rm -f "$section"' EXIT
{
  echo "$begin"
  echo
  echo '    $ quorl --help'
  "$bin" --help | sed 's/^/    /; s/ *$//'
  for command in $("$bin" --help | sed -n '/^commands:/,/^$/p' | awk 'NR > 1 && NF { print $1 }'); do
    echo
    echo "    \$ quorl $command --help"
    "$bin" "$command" --help | sed 's/^/    /; s/ *$//'
  done
  echo
  echo "$end"
} >"$section"
awk -v begin="$begin" -v end="$end" -v file="$section" '
  $0 == begin { while ((getline line < file) > 0) print line; skip = 1; next }
  $0 == end { skip = 0; next }
  !skip { print }
' README.md >README.md.new
mv README.md.new README.md
