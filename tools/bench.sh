#!/usr/bin/env bash
# `make bench`: renders each scene of bench/scenes with --bench, five times,
# with 1 thread and with every core, and adds the medians to the table in
# bench/RESULTS.md; then runs the micro-benchmarks of bench/*.cpp (printed
# only).
#   BUILD_DIR=build-x  the build folder (default build)
#   RUNS=5             renders per scene and thread count
#   THREADS="1 N"      thread counts to measure (default: 1 and all cores)
#   BASE_BIN=path      also time this older quorl with 1 thread, in the same
#                      session, and give the speed-up against it
set -euo pipefail
cd "$(dirname "$0")/.."
bin="${BUILD_DIR:-build}/quorl"
runs="${RUNS:-5}"
cores="$(nproc)"
thread_counts="${THREADS:-1 $cores}"
base_bin="${BASE_BIN:-}"
results=bench/RESULTS.md
baseline=bench/baseline.txt
work=bench/out
if [ ! -x "$bin" ]; then
  echo "bench: $bin is missing; build first (make build)" >&2
  exit 1
fi
mkdir -p "$work"

cpu="$(grep -m1 'model name' /proc/cpuinfo | sed 's/.*: //' || true)"
machine="${cpu:-unknown CPU}, $cores cores"
when="$(date -u '+%Y-%m-%d %H:%M UTC')"
load() { cut -d' ' -f1 /proc/loadavg; }

median() { sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a > 0 && b > 0) printf "%.2f", a / b; else print "-" }'; }

if [ ! -f "$results" ]; then
  cat > "$results" <<'HEAD'
# Drawing speed

Written by `make bench` (tools/bench.sh).

| machine | date | load | scene | threads | seconds | million sub-samples per second | speed-up | speed-up, same session |
|---|---|---|---|---|---|---|---|---|
HEAD
fi

# Medians of `runs` renders: "seconds rate".
measure() {
  local binary="$1" scene="$2" threads="$3" name out
  name="$(basename "$scene" .ini)"
  out="$work/$name-$threads.txt"
  : > "$out"
  for _ in $(seq "$runs"); do
    "$binary" render "$scene" -o "$work/$name.png" --bench --threads "$threads" >> "$out"
  done
  echo "$(sed -n 's/^seconds: //p' "$out" | median) $(sed -n 's/^million sub-samples per second: //p' "$out" | median)"
}

for scene in bench/scenes/*.ini; do
  name="$(basename "$scene" .ini)"
  # The speed-up is against the first figures in bench/baseline.txt.
  recorded="$(awk -v s="$name" '$1 == s { print $2 }' "$baseline" 2>/dev/null || true)"
  before=""
  if [ -n "$base_bin" ]; then
    load_at="$(load)"
    read -r before rate <<< "$(measure "$base_bin" "$scene" 1)"
    row="| $machine | $when | $load_at | $name (before) | 1 | $before | $rate | $(ratio "$recorded" "$before") | 1.00 |"
    echo "$row"
    echo "$row" >> "$results"
  fi
  for threads in $thread_counts; do
    load_at="$(load)"
    read -r seconds rate <<< "$(measure "$bin" "$scene" "$threads")"
    same="-"
    [ -n "$before" ] && same="$(ratio "$before" "$seconds")"
    row="| $machine | $when | $load_at | $name | $threads | $seconds | $rate | $(ratio "$recorded" "$seconds") | $same |"
    echo "$row"
    echo "$row" >> "$results"
  done
done

# Micro-benchmarks of one step, when the build has them (Google Benchmark).
micro="${BUILD_DIR:-build}/quorl_bench"
if [ -x "$micro" ]; then
  "$micro"
fi

# The window while it draws: the event loop's longest wait during a heavy run
# and the cost of "Draw each step?" (printed only).
window_bench="${BUILD_DIR:-build}/quorl_window_bench"
if [ -x "$window_bench" ]; then
  QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" "$window_bench" "$runs"
fi
