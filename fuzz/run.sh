#!/usr/bin/env bash
# Builds the libFuzzer target with clang++ and runs it for a bounded time on a seed corpus made
# of the project's fixtures and examples plus the seeds in fuzz/corpus. Any finding fails the run
# and leaves its input in build-fuzz/findings.
# Usage: fuzz/run.sh [SECONDS]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DDRAVENT_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build build-fuzz -j2 --target dravent_fuzz

corpus=build-fuzz/corpus
mkdir -p "$corpus" build-fuzz/findings
cp fuzz/corpus/* examples/*.asm tests/gnu_as/*.asm "$corpus"/
for cases in tests/cases/*.txt; do
  sed -n 's/^< //p' "$cases" | sed 's/→/\t/g; s/␍/\r/g' >"$corpus/$(basename "$cases" .txt).asm"
done
build-fuzz/dravent_fuzz -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix=build-fuzz/findings/ -print_final_stats=1 "$corpus"
