#!/usr/bin/env bash
# Times two dravent executables by turns on the generated 50 MB file, OLD then NEW, several times
# in the same run, and prints each one's median and fastest wall time and the ratio NEW/OLD. The
# machine's speed moves from hour to hour far more than `cp`'s does against dravent's, so a speed
# change is best judged this way, against a fixed build, rather than by throughput.sh's ratio.
# Usage: bash bench/by_turns.sh OLD_DRAVENT NEW_DRAVENT [RUNS]   (default 15)
set -euo pipefail
[ $# -ge 2 ] || { sed -n 's/^# Usage: //p' "$0" >&2; exit 2; }
absolute() { case $1 in /*) echo "$1" ;; *) echo "$PWD/$1" ;; esac; }
old=$(absolute "$1")
new=$(absolute "$2")
runs=${3:-15}
cd "$(dirname "$0")/.."
build=build-bench
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DDRAVENT_BENCH=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j2 --target measure >/dev/null
measure=$build/bench/measure
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

awk -v megabytes=50 -f bench/generate.awk >"$work/big.asm"
cat "$work/big.asm" >/dev/null  # into the page cache before the first timing
for _ in $(seq "$runs"); do
  "$measure" "$old" -q "$work/big.asm" "$work/old.s" | awk '{ print $1 }' >>"$work/old.times"
  "$measure" "$new" -q "$work/big.asm" "$work/new.s" | awk '{ print $1 }' >>"$work/new.times"
done
cmp -s "$work/old.s" "$work/new.s" || echo "note: the two outputs differ"

summary() { sort -g "$1" | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)], v[1] }'; }
read -r old_median old_fastest < <(summary "$work/old.times")
read -r new_median new_fastest < <(summary "$work/new.times")
awk -v om="$old_median" -v of="$old_fastest" -v nm="$new_median" -v nf="$new_fastest" -v runs="$runs" 'BEGIN {
  printf "%d runs each, by turns, 50 MB file\n", runs
  printf "  old  median %7.4f s  fastest %7.4f s\n", om, of
  printf "  new  median %7.4f s  fastest %7.4f s\n", nm, nf
  printf "  new/old: %.3f by medians, %.3f by fastest\n", nm / om, nf / of
}'
