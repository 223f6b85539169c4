#!/usr/bin/env bash
# Checks that dravent's conversion of each Tasm program given assembles with `as --32` without
# an error or warning, exactly as written: what a user gets from the bundled examples must work as
# it stands. A program that says "16-bit code" in its first lines must say so to GNU As itself:
# its model or segment lines must give ".code16".
# Usage: check_assembles.sh DRAVENT PROGRAM.asm...
set -euo pipefail
dravent=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
for program in "$@"; do
  "$dravent" "$program" "$work/out.s" >/dev/null
  if head -n 3 "$program" | grep -q '16-bit code' && ! grep -Eq '^[^#]*\.code16' "$work/out.s"; then
    echo "FAIL $program: 16-bit code, but the conversion never says .code16"
    failed=$((failed + 1)); continue
  fi
  if as --32 -o "$work/out.o" "$work/out.s" 2>"$work/messages" && [ ! -s "$work/messages" ]; then
    echo "ok $program"
  else
    echo "FAIL $program:"; cat "$work/messages"
    failed=$((failed + 1))
  fi
done
echo "$(($# - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
