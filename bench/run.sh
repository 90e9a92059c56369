#!/usr/bin/env bash
# bench/run.sh BUILD: builds the benchmarks and prints the figures BENCHMARKS.md records.
#   1. every screen's frame: update and render submission CPU time (median, 99th percentile), draw calls,
#      collector and heap allocations per frame, over 500 frames;
#   2. the renderer against SDL2's renderer, and the collector against the Boehm collector (about a minute
#      each on a loaded 2-core machine);
#   3. the same screens as callgrind instruction counts per frame, repeatable on a loaded machine: the
#      update, and the render submission split into the program's own instructions and the OpenGL
#      driver's (llvmpipe does a GPU's work on the CPU inside the driver calls).
set -eu
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
cmake --build "$build" -j "$(nproc)" --target game_bench renderer_peer_bench collector_peer_bench
cd "$build"
run() { xvfb-run -a -s "-screen 0 1920x1080x24" env ALSOFT_DRIVERS=null "$@"; }
echo "== frame cost per screen (microseconds) =="
run bench/game_bench --screens 500 | grep -v "Loaded\|Invalid"
echo "== renderer against SDL2's renderer (CPU submission time per frame, microseconds) =="
run bench/renderer_peer_bench 60 6 | grep -v "Loaded\|Invalid"
echo "== collector against the Boehm collector =="
run bench/collector_peer_bench 3 | grep -v "Loaded\|Invalid\|Discarding"

echo "== callgrind instructions per frame (10 frames after 120 uninstrumented settling frames) =="
frames=10
profile() {   # profile SCREEN: one line of instruction counts per frame
  local screen=$1 out total ours driver update
  out=$(mktemp)
  run valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file="$out" \
    --toggle-collect='*MeasuredFrames*' bench/game_bench --screen "$screen" "$frames" >/dev/null 2>&1
  read -r total ours driver < <(python3 "$here/callgrind_split.py" "$out")
  update=$(callgrind_annotate --inclusive=yes --threshold=100 "$out" 2>/dev/null |
    awk '/:.*MeasuredUpdate.*\[/ {gsub(",", "", $1); print $1; exit}')
  rm -f "$out"
  update=${update:-0}
  printf "%-8s %10d %10d %10d %10d\n" "$screen" $((update / frames)) $(((ours - update) / frames)) \
    $((driver / frames)) $((total / frames))
}
export -f profile run
export frames here
printf "%-8s %10s %10s %10s %10s\n" screen update render driver total
printf "%s\n" loading title options credits pause play | xargs -P "$(nproc)" -I{} bash -c 'profile {}'
