#!/usr/bin/env bash
# Checks that dravent's conversion of each Tasm program given assembles with `as --32` without
# an error or warning: what a user gets from the bundled examples must work as it stands. A
# program that says "16-bit code" in its first lines gets ".code16" from a first input file, as
# the README does, so that GNU As's messages keep the program's line numbers.
# Usage: check_assembles.sh DRAVENT PROGRAM.asm...
set -euo pipefail
dravent=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
for program in "$@"; do
  : >"$work/first.s"
  if head -n 3 "$program" | grep -q '16-bit code'; then echo .code16 >"$work/first.s"; fi
  "$dravent" "$program" "$work/out.s" >/dev/null
  if as --32 -o "$work/out.o" "$work/first.s" "$work/out.s" 2>"$work/messages" && [ ! -s "$work/messages" ]; then
    echo "ok $program"
  else
    echo "FAIL $program:"; cat "$work/messages"
    failed=$((failed + 1))
  fi
done
echo "$(($# - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
