#!/usr/bin/env bash
# Whole-file throughput: generates a realistic Tasm file of about 50 MB and one of 3,000 lines,
# then times `cp` and `dravent` on each, alternating, several times in the same run, and prints
# medians, MB/s, the ratio dravent/cp and peak resident memory.
# Usage: bash bench/throughput.sh [RUNS]   (default 7)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-7}
build=build-bench
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DDRAVENT_BENCH=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j2 --target dravent measure >/dev/null
dravent=$build/dravent
measure=$build/bench/measure
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

awk -v megabytes=50 -f bench/generate.awk >"$work/big.asm"
awk -v lines=3000 -f bench/generate.awk >"$work/small.asm"

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

compare() {
  local name=$1 file=$2 bytes
  bytes=$(wc -c <"$file")
  cat "$file" >/dev/null  # into the page cache before the first timing
  : >"$work/cp.times"; : >"$work/dravent.times"; : >"$work/dravent.rss"
  for _ in $(seq "$runs"); do
    "$measure" cp "$file" "$work/copy" | awk '{ print $1 }' >>"$work/cp.times"
    "$measure" "$dravent" "$file" "$work/out.s" >"$work/one"
    awk '{ print $1 }' "$work/one" >>"$work/dravent.times"
    awk '{ print $2 }' "$work/one" >>"$work/dravent.rss"
  done
  local cp_time dravent_time rss
  cp_time=$(median <"$work/cp.times")
  dravent_time=$(median <"$work/dravent.times")
  rss=$(sort -n "$work/dravent.rss" | tail -n 1)
  awk -v name="$name" -v bytes="$bytes" -v c="$cp_time" -v d="$dravent_time" -v rss="$rss" -v lines="$(wc -l <"$file")" 'BEGIN {
    printf "%s: %d lines, %.1f MB\n", name, lines, bytes / 1e6
    printf "  cp       median %8.4f s  %8.1f MB/s\n", c, bytes / 1e6 / c
    printf "  dravent  median %8.4f s  %8.1f MB/s  peak resident %.1f MB\n", d, bytes / 1e6 / d, rss / 1024
    printf "  dravent/cp wall time: %.2f\n", d / c
  }'
}

echo "$runs runs each, alternating; medians"
compare "50 MB file" "$work/big.asm"
compare "3,000-line file" "$work/small.asm"
