#!/usr/bin/env bash
# Tests check_program.sh itself: it passes a program that today's converter gets right, and fails
# each variant that differs from it in one thing only (one byte of code or data, a section, a
# relocation, a global symbol, a warning on either side, a label the Intel form forgets), with the
# message that says why.
# Usage: check_program_test.sh DRAVENT
set -euo pipefail
dravent=$1
here=$(cd "$(dirname "$0")" && pwd)
base=$here/check_program_test.asm
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

# Each case: the line of the base program to replace (found by its text before ";="), the line
# put in its place ("" keeps the program as it is), and an extended regular expression the
# checker's output must match.
cases=(
  ""                   ""
      "^ok check_program_test: [0-9]+ lines, same bytes$"
  "        mov bl, 0FFh"  "        mov bl, 0FFh                    ;= mov bl, 0xFE"
      "line [0-9]+: +mov bl, 0FFh"
  "bytes   db 0Fh, 0101b, 255, 'A'"  "bytes   db 0Fh, 0101b, 255, 'A'         ;= bytes: .byte 0x0F, 0b0101, 254, 'A'"
      "line [0-9]+: bytes   db"
  "buffer  db 16, 0, 0"  "buffer  db 16, 0, 0                     ;= buffer: .byte 16, 0, 0; .section .bss; .skip 2; .data"
      "^-section \.bss NOBITS WA size 0x0+2$"
  "        dataseg"     "        dataseg                         ;= .section .rodata, \"a\""
      "^-section \.rodata PROGBITS A size"
  "        mov dx, offset table"  "        mov dx, offset vectors          ;= mov dx, offset handlers"
      "^-[0-9a-f]+ R_386_16 +handlers$"
  "        public start"  "        public start                    ;="
      "^\+[0-9a-f]+ T start$"
  "        mov al, 0"   "        mov al, 256                     ;= mov al, 0"
      "does not take the converted program cleanly"
  "        mov al, 0"   "        mov al, 0                       ;= mov al, 256"
      "does not take the Intel form"
  "again:  dec cx"     "again:  dec cx                          ;= dec cx"
      "leaves undefined .*: again$"
)

for ((i = 0; i < ${#cases[@]}; i += 3)); do
  old=${cases[i]} new=${cases[i + 1]} expected=${cases[i + 2]}
  program=$work/check_program_test.asm
  awk -v old="$old" -v new="$new" 'old != "" && index($0, old) == 1 && !done { print new; done = 1; next }
                                   { print }' "$base" >"$program"
  if [ -n "$old" ] && cmp -s "$base" "$program"; then
    echo "FAIL case $((i / 3 + 1)): no line begins with \"$old\""; failed=$((failed + 1)); continue
  fi
  status=0
  bash "$here/check_program.sh" "$dravent" "$program" >"$work/output" || status=$?
  if [ -z "$old" ] && [ "$status" -ne 0 ]; then
    echo "FAIL case 1: the checker fails the base program:"; cat "$work/output"; failed=$((failed + 1)); continue
  fi
  if [ -n "$old" ] && [ "$status" -eq 0 ]; then
    echo "FAIL case $((i / 3 + 1)): the checker passes \"$new\""; failed=$((failed + 1)); continue
  fi
  if ! grep -Eq -- "$expected" "$work/output"; then
    echo "FAIL case $((i / 3 + 1)): no line matches /$expected/ in:"; cat "$work/output"
    failed=$((failed + 1)); continue
  fi
  echo "ok case $((i / 3 + 1)): ${new:-the base program}"
done
echo "$((${#cases[@]} / 3 - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
