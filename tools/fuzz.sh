#!/usr/bin/env bash
# Runs one fuzz target for a number of seconds:
#   tools/fuzz.sh picture_fuzzer 600
# Targets are tests/fuzz/*_fuzzer.cpp; their seed corpora live in
# tests/fuzz/corpus/<target>/. New interesting inputs go to a scratch corpus
# under build-fuzz/; a crash leaves its input in build-fuzz/crashes/ — copy it
# into the target's corpus folder so the ordinary test run replays it.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: tools/fuzz.sh TARGET SECONDS}
seconds=${2:-60}
dir=build-fuzz
if [ ! -f "$dir/build.ninja" ]; then
  CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORL_FUZZ=ON >/dev/null
fi
cmake --build "$dir" --target "$target"
mkdir -p "$dir/corpus/$target" "$dir/crashes"
"$dir/$target" -max_total_time="$seconds" -rss_limit_mb=4096 -max_len=200000 \
  -artifact_prefix="$dir/crashes/$target-" -print_final_stats=1 \
  "$dir/corpus/$target" "tests/fuzz/corpus/$target"
