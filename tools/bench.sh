#!/usr/bin/env bash
# `make bench`: speed figures as ratios taken in the same minute, since this
# machine's cores change speed from minute to minute.
#
# For each scene of bench/scenes, RUNS times in turn: the reference
# (build/quorl_reference: the scene drawn with the colouring kernel kept in
# bench/reference, one thread), `quorl render --bench` with 1 thread and with
# every core. Each turn gives the ratios 1 thread / reference and all
# threads / 1 thread (sub-samples per second); a row of bench/RESULTS.md
# holds the medians. Then `quorl animate` of 20 frames of 200 x 200 (the
# default scene), whole processes timed, 1 thread against every core, in
# turn RUNS times. Then the micro-benchmarks of bench/*.cpp (printed only).
#   BUILD_DIR=build-x  the build folder (default build)
#   RUNS=5             turns per scene
#   THREADS=N          the "every core" thread count (default: nproc)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build}"
bin="$build/quorl"
reference="$build/quorl_reference"
runs="${RUNS:-5}"
cores="${THREADS:-$(nproc)}"
results=bench/RESULTS.md
work=bench/out
for program in "$bin" "$reference"; do
  if [ ! -x "$program" ]; then
    echo "bench: $program is missing; build first (make build)" >&2
    exit 1
  fi
done
mkdir -p "$work"

when="$(date -u '+%Y-%m-%d %H:%M UTC')"
load() { cut -d' ' -f1 /proc/loadavg; }
median() { sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a > 0 && b > 0) printf "%.2f", a / b; else print "-" }'; }
rate() { sed -n 's/^million sub-samples per second: //p'; }
now() { date +%s.%N; }

if ! grep -q '^## Speed-ups in one session' "$results" 2>/dev/null; then
  cat >> "$results" <<HEAD

## Speed-ups in one session

Written by \`make bench\`: per scene, five turns of the reference kernel, one
thread and every core, one after the other; each column is the median of the
five turns' figures, and the ratios are medians of each turn's own ratio.
\`load\` is the one-minute load average before and after the scene.

HEAD
fi
# Notes written below the last rows would swallow new ones: they start a
# table of their own.
if ! tail -n 1 "$results" | grep -q '^|'; then
  cat >> "$results" <<HEAD

| date | load | scene | reference, M sub-samples/s | 1 thread | 1 thread / reference | $cores threads | $cores threads / 1 thread |
|---|---|---|---|---|---|---|---|
HEAD
fi

for scene in bench/scenes/*.ini; do
  name="$(basename "$scene" .ini)"
  load_before="$(load)"
  : > "$work/$name.ref" && : > "$work/$name.one" && : > "$work/$name.all"
  : > "$work/$name.one-ref" && : > "$work/$name.all-one"
  for _ in $(seq "$runs"); do
    r="$("$reference" "$scene" -o "$work/$name-reference.png" | rate)"
    o="$("$bin" render "$scene" -o "$work/$name-1.png" --bench --threads 1 --no-recipe | rate)"
    a="$("$bin" render "$scene" -o "$work/$name-$cores.png" --bench --threads "$cores" --no-recipe | rate)"
    echo "$r" >> "$work/$name.ref"
    echo "$o" >> "$work/$name.one"
    echo "$a" >> "$work/$name.all"
    ratio "$o" "$r" >> "$work/$name.one-ref"
    echo >> "$work/$name.one-ref"
    ratio "$a" "$o" >> "$work/$name.all-one"
    echo >> "$work/$name.all-one"
  done
  # The reference must draw the program's picture (both written without a
  # recipe, so the files compare byte for byte).
  for png in "$work/$name-1.png" "$work/$name-$cores.png"; do
    cmp -s "$work/$name-reference.png" "$png" || echo "bench: $png differs from the reference picture" >&2
  done
  row="| $when | $load_before - $(load) | $name | $(median < "$work/$name.ref") | $(median < "$work/$name.one") |"
  row="$row $(median < "$work/$name.one-ref") | $(median < "$work/$name.all") | $(median < "$work/$name.all-one") |"
  echo "$row"
  echo "$row" >> "$results"
done

# Whole `quorl animate` processes: 20 small frames, 1 thread against all.
frames="$work/frames"
load_before="$(load)"
: > "$work/animate.one" && : > "$work/animate.all" && : > "$work/animate.ratio"
for _ in $(seq "$runs"); do
  times=()
  for threads in 1 "$cores"; do
    rm -rf "$frames" && mkdir -p "$frames"
    start="$(now)"
    "$bin" animate bench/scenes/default.ini --save "$frames" --frames 20 --frame-names --no-recipe \
      --set ImageWidth=200 --set ImageHeight=200 --threads "$threads" > /dev/null
    times+=("$(awk -v a="$start" -v b="$(now)" 'BEGIN { printf "%.3f", b - a }')")
  done
  echo "${times[0]}" >> "$work/animate.one"
  echo "${times[1]}" >> "$work/animate.all"
  ratio "${times[0]}" "${times[1]}" >> "$work/animate.ratio"
  echo >> "$work/animate.ratio"
done
row="| $when | $load_before - $(load) | animate 20 frames 200 x 200 (seconds) | - | $(median < "$work/animate.one") s |"
row="$row - | $(median < "$work/animate.all") s | $(median < "$work/animate.ratio") |"
echo "$row"
echo "$row" >> "$results"

# Micro-benchmarks, when the build has them (Google Benchmark).
micro="$build/quorl_bench"
if [ -x "$micro" ]; then
  "$micro"
fi

# The window while it draws: the event loop's longest wait during a heavy run
# and the cost of "Draw each step?" (printed only).
window_bench="${BUILD_DIR:-build}/quorl_window_bench"
if [ -x "$window_bench" ]; then
  QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" "$window_bench" "$runs"
fi
