#!/usr/bin/env bash
# Checks that GNU As (`as --32`) rejects, with an error, every statement line that dravent makes
# of the fixture, and that dravent warns about each of them: the Tasm forms the converter leaves for
# the user must never assemble quietly, nor pass without a word.
# Comment and empty output lines are skipped. A fixture whose first line is "; bits 16" is
# 16-bit code.
# Usage: check_rejected.sh DRAVENT FIXTURE.asm
set -euo pipefail
dravent=$1
fixture=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
code16=""
if head -n 1 "$fixture" | grep -q '^; bits 16'; then code16=".code16"; fi

"$dravent" "$fixture" "$work/out.s" >/dev/null 2>"$work/warnings"
passed=0
failed=0
line_number=0
while IFS= read -r converted; do
  line_number=$((line_number + 1))
  case "$converted" in "" | "#"*) continue ;; esac
  printf '%s\n%s\n' "$code16" "$converted" >"$work/one.s"
  if as --32 -o "$work/one.o" "$work/one.s" 2>"$work/errors" || ! grep -q 'Error:' "$work/errors"; then
    echo "FAIL $fixture:$line_number: GNU As accepts: $converted"
    failed=$((failed + 1))
  elif ! grep -q "^$fixture:$line_number:.*warning: " "$work/warnings"; then
    echo "FAIL $fixture:$line_number: dravent gives no warning for: $converted"
    failed=$((failed + 1))
  else
    passed=$((passed + 1))
  fi
done <"$work/out.s"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
