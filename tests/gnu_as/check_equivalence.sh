#!/usr/bin/env bash
# GNU As is the judge of our output. For each Tasm fixture given, checks that dravent's output
# assembles with `as --32`, without a warning, to the same machine code, data and relocations, byte for byte, as the
# same program read by GNU As in Intel mode. The Intel program is the fixture itself, line by
# line: the text after ";=" where there is one, else the text before the first ";"; a line that
# begins with ";" is a comment in both. A fixture whose first line is "; bits 16" is 16-bit code.
# Usage: check_equivalence.sh DRAVENT FIXTURE.asm...
set -euo pipefail
dravent=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# The sections and relocations of an object, as text that can be compared.
dump() {
  local object=$1 out=$2 section
  : >"$out"
  for section in .text .data; do
    objcopy -O binary --only-section="$section" "$object" "$work/section.bin"
    echo "$section" >>"$out"
    od -An -tx1 -v "$work/section.bin" >>"$out"
  done
  objdump -r "$object" | sed -n '/RELOCATION RECORDS/,$p' >>"$out"
}

for fixture in "$@"; do
  name=$(basename "$fixture" .asm)
  code16=""
  if head -n 1 "$fixture" | grep -q '^; bits 16'; then code16=".code16"; fi

  "$dravent" "$fixture" "$work/$name.att.s" >/dev/null
  { echo "$code16"; cat "$work/$name.att.s"; } >"$work/$name.att.in.s"
  { echo ".intel_syntax noprefix"; echo "$code16"
    awk '/^;/ { print ""; next }
         { at = index($0, ";="); if (at) { print substr($0, at + 2); next }
           at = index($0, ";"); if (at) { print substr($0, 1, at - 1); next }
           print }' "$fixture"; } >"$work/$name.intel.s"

  if ! as --32 -o "$work/$name.att.o" "$work/$name.att.in.s" 2>"$work/att.err" || [ -s "$work/att.err" ]; then
    echo "FAIL $fixture: GNU As does not take the converted program without a message:"; cat "$work/att.err"
    failures=$((failures + 1)); continue
  fi
  if ! as --32 -o "$work/$name.intel.o" "$work/$name.intel.s" 2>"$work/intel.err"; then
    echo "FAIL $fixture: GNU As rejects the Intel form of the fixture:"; cat "$work/intel.err"
    failures=$((failures + 1)); continue
  fi
  dump "$work/$name.att.o" "$work/att.dump"
  dump "$work/$name.intel.o" "$work/intel.dump"
  if ! diff -u "$work/intel.dump" "$work/att.dump" >"$work/diff"; then
    echo "FAIL $fixture: different machine code (- Intel, + converted):"; cat "$work/diff"
    echo "disassembly of the converted program:"
    objdump -d "$work/$name.att.o" | tail -n +7
    failures=$((failures + 1)); continue
  fi
  echo "ok $fixture: $(wc -l <"$fixture") lines, same bytes"
done
echo "$(($# - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
