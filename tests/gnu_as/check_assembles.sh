#!/usr/bin/env bash
# Checks that dravent's conversion of each Tasm program given assembles with `as --32` without
# an error or warning: what a user gets from the bundled examples must work as it stands. A
# program that says "16-bit code" in its first lines gets ".code16" in front.
# Usage: check_assembles.sh DRAVENT PROGRAM.asm...
set -euo pipefail
dravent=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
for program in "$@"; do
  code16=""
  if head -n 3 "$program" | grep -q '16-bit code'; then code16=".code16"; fi
  "$dravent" "$program" "$work/out.s" >/dev/null
  if { echo "$code16"; cat "$work/out.s"; } | as --32 -o "$work/out.o" - 2>"$work/messages" && [ ! -s "$work/messages" ]; then
    echo "ok $program"
  else
    echo "FAIL $program:"; cat "$work/messages"
    failed=$((failed + 1))
  fi
done
echo "$(($# - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
