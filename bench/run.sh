#!/usr/bin/env bash
# bench/run.sh BUILD: builds the benchmarks and prints the figures BENCHMARKS.md records.
#   1. every screen's frame: update and render submission CPU time (median, 99th percentile), draw calls,
#      collector and heap allocations per frame, over 1000 frames;
#   2. the renderer against SDL2's renderer, and the collector against the Boehm collector (under a minute
#      each on a loaded 2-core machine);
#   3. with BENCH_CALLGRIND=1, the same screens as callgrind instruction counts per frame (repeatable on a
#      loaded machine, but several minutes a screen as it stands: left out of the default run).
set -eu
build=${1:-build}
cmake --build "$build" -j "$(nproc)" --target game_bench renderer_peer_bench collector_peer_bench
cd "$build"
run() { xvfb-run -a -s "-screen 0 1920x1080x24" env ALSOFT_DRIVERS=null "$@"; }
echo "== frame cost per screen (microseconds) =="
run bench/game_bench --screens 1000 | grep -v "Loaded\|Invalid"
echo "== renderer against SDL2's renderer (CPU submission time per frame, microseconds) =="
run bench/renderer_peer_bench 60 6 | grep -v "Loaded\|Invalid"
echo "== collector against the Boehm collector =="
run bench/collector_peer_bench 3 | grep -v "Loaded\|Invalid\|Discarding"
[ "${BENCH_CALLGRIND:-0}" = 1 ] || exit 0
echo "== callgrind instructions per frame (update + render submission, 20 frames) =="
for screen in loading title options credits pause play; do
  out=$(mktemp)
  run valgrind --tool=callgrind --callgrind-out-file="$out" --toggle-collect='*MeasuredFrames*' \
    bench/game_bench --screen "$screen" 20 >/dev/null 2>&1
  total=$(callgrind_annotate "$out" 2>/dev/null | awk '/PROGRAM TOTALS/ {gsub(",", "", $1); print $1}')
  rm -f "$out"
  echo "$screen $((total / 20))"
done
