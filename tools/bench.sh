#!/usr/bin/env bash
# `make bench`: renders each scene of bench/scenes with --bench, five times,
# and adds the medians to the table in bench/RESULTS.md; then runs the
# micro-benchmarks of bench/*.cpp (printed only).
#   BUILD_DIR=build-x  the build folder (default build)
#   RUNS=5             renders per scene
#   THREADS=1          passed to --threads
set -euo pipefail
cd "$(dirname "$0")/.."
bin="${BUILD_DIR:-build}/quorl"
runs="${RUNS:-5}"
threads="${THREADS:-1}"
results=bench/RESULTS.md
work=bench/out
if [ ! -x "$bin" ]; then
  echo "bench: $bin is missing; build first (make build)" >&2
  exit 1
fi
mkdir -p "$work"

cpu="$(grep -m1 'model name' /proc/cpuinfo | sed 's/.*: //' || true)"
machine="${cpu:-unknown CPU}, $(nproc) cores"
when="$(date -u '+%Y-%m-%d %H:%M UTC')"

median() { sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

if [ ! -f "$results" ]; then
  cat > "$results" <<'HEAD'
# Drawing speed

Written by `make bench` (tools/bench.sh): each scene of bench/scenes is
rendered with `quorl render --bench`; the figures are the medians of the
runs. Seconds are the drawing run alone (reading settings and writing the
PNG not included); sub-samples are the dot sub-samples inside each dot's
cut-off, the unit of colouring work. Figures taken while other work ran on
the same cores are noisy; compare rows from one quiet machine.

| machine | date | scene | threads | seconds | million sub-samples per second |
|---|---|---|---|---|---|
HEAD
fi

for scene in bench/scenes/*.ini; do
  name="$(basename "$scene" .ini)"
  : > "$work/$name.txt"
  for _ in $(seq "$runs"); do
    "$bin" render "$scene" -o "$work/$name.png" --bench --threads "$threads" >> "$work/$name.txt"
  done
  seconds="$(sed -n 's/^seconds: //p' "$work/$name.txt" | median)"
  rate="$(sed -n 's/^million sub-samples per second: //p' "$work/$name.txt" | median)"
  row="| $machine | $when | $name | $threads | $seconds | $rate |"
  echo "$row"
  echo "$row" >> "$results"
done

# Micro-benchmarks of one step, when the build has them (Google Benchmark).
micro="${BUILD_DIR:-build}/quorl_bench"
if [ -x "$micro" ]; then
  "$micro"
fi
