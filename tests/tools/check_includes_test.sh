#!/usr/bin/env bash
# The include check passes on the real tree and names the file and line of a
# planted upward include.
set -euo pipefail
root="$1"
"$root/tools/check-includes.sh" "$root/src"

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/src/base" "$tmp/src/engine" "$tmp/src/canvas" "$tmp/src/curves"
printf '#pragma once\n#include <vector>\n#include "engine/drawing_run.h"\n' >"$tmp/src/base/planted.h"
printf '#include "curves/curve.h"\n' >"$tmp/src/canvas/sibling.cpp"
printf '#include "base/host.h"\n#include "canvas/canvas.h"\n' >"$tmp/src/engine/fine.cpp"
if out="$("$root/tools/check-includes.sh" "$tmp/src")"; then
  echo "an upward include was not rejected"; exit 1
fi
grep -q "src/base/planted.h:3: base/ may not include engine/" <<<"$out" || { echo "missing: $out"; exit 1; }
grep -q "src/canvas/sibling.cpp:1: canvas/ may not include curves/" <<<"$out" || { echo "missing: $out"; exit 1; }
if grep -q "fine.cpp" <<<"$out"; then echo "a downward include was rejected: $out"; exit 1; fi
echo "include check: 3 passed, 0 failed"
