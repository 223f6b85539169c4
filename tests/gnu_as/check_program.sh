#!/usr/bin/env bash
# GNU As is the judge of whole programs. For each Tasm program given, checks that dravent's output,
# assembled exactly as written with `as --32`, is accepted without an error or a warning and gives
# the same object as the program's Intel-mode GNU As reading: every allocated section (name, type,
# flags, size, and contents unless it holds none, as .bss), the relocations and the global symbols,
# byte for byte. Nothing is added to the converted side: the program's own model or segment lines
# must make it 16-bit code.
# The Intel program is the fixture itself, line by line: the text after the first ";=" where there
# is one, else the text before the first ";"; a line that begins with ";" is a comment in both. The
# first line says "; program 16" or "; program 32"; on the Intel side it becomes
# ".intel_syntax noprefix", with ".code16" for 16, so both sides keep the fixture's line numbers.
# At most SHOWN (default 20) differing lines and messages are listed for a program.
# Usage: [SHOWN=N] check_program.sh DRAVENT PROGRAM.asm...
set -euo pipefail
dravent=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
shown=${SHOWN:-20}

# The allocated sections with their relocations, and the global symbols, of an object, as text
# that can be compared; sections in name order, since the order GNU As made them in means nothing.
dump() {
  local object=$1 out=$2 name type flags size
  { readelf -S -W "$object" | sed -n 's/^ *\[ *[0-9]*\] //p' | sort |
      while read -r name type _ _ size _ flags _; do
        case "$flags" in *A*) ;; *) continue ;; esac
        echo "section $name $type $flags size 0x$size"
        if [ "$type" != NOBITS ]; then
          objcopy -O binary --only-section="$name" "$object" "$work/section.bin"
          od -An -tx1 -v "$work/section.bin"
        fi
        objdump -r -j "$name" "$object" | sed -n '/RELOCATION RECORDS/,$p'
      done
    echo "global symbols"
    nm -g --defined-only "$object"; } >"$out"
}

# The bytes GNU As lists for each source line, one "LINE<tab>BYTES" row per line that has any.
listed_bytes() {
  awk 'match($0, /^ *[0-9]+ /) { line = $1; bytes = substr($0, RLENGTH + 6, 8); gsub(/ /, "", bytes)
                      if (bytes != "") listed[line] = listed[line] bytes }
       END { for (line in listed) print line "\t" listed[line] }' "$1" | sort -n
}

# Where the two listings differ: the source line, and what each side assembled it to.
show_lines_that_differ() {
  local name=$1
  [ -f "$work/$name.intel.lst" ] && [ -f "$work/$name.att.lst" ] || return 0
  listed_bytes "$work/$name.intel.lst" >"$work/intel.bytes"
  listed_bytes "$work/$name.att.lst" >"$work/att.bytes"
  awk -F '\t' -v shown="$shown" '
    function spaced(hex,   out, i) {
      for (i = 1; i <= length(hex); i += 2) out = out (i > 1 ? " " : "") substr(hex, i, 2)
      return out == "" ? "(nothing)" : out }
    FILENAME == ARGV[1] { intel[$1] = $2; next }
    FILENAME == ARGV[2] { att[$1] = $2; next }
    FILENAME == ARGV[3] { tasm[FNR] = $0; next }
    { out[FNR] = $0 }
    END {
      for (line = 1; line in tasm; line++) {
        if (intel[line] == att[line]) continue
        if (++count > shown) continue
        print "  line " line ": " tasm[line]
        print "    Intel:     " spaced(intel[line])
        print "    converted: " spaced(att[line]) "    <- " out[line]
      }
      if (count > shown) print "  ... and " count - shown " more lines"
      if (count == 0) print "  (none: the difference is in the sections, relocations or symbols)"
    }' "$work/intel.bytes" "$work/att.bytes" "$program" "$work/$name.att.s"
}

# GNU As messages, each followed by the Tasm line it is about and that line as GNU As read it.
show_messages() {
  local messages=$1 source=$2 side=$3
  awk -v shown="$shown" -v side="$side" '
    FILENAME == ARGV[1] { tasm[FNR] = $0; next }
    FILENAME == ARGV[2] { out[FNR] = $0; next }
    /^[^:]*: Assembler messages:$/ { next }
    { if (++count > shown) next
      sub(/^[^:]*\//, "")
      print "  " $0
      split($0, field, ":")
      if (field[2] ~ /^[0-9]+$/) printf "    Tasm:      %s\n    %-11s%s\n", tasm[field[2]], side ":", out[field[2]] }
    END { if (count > shown) print "  ... and " count - shown " more messages" }' "$program" "$source" "$messages"
}

for program in "$@"; do
  name=$(basename "$program" .asm)
  case "$(head -n 1 "$program")" in
    "; program 16") header=".intel_syntax noprefix; .code16"; disassemble=(-M i8086) ;;
    "; program 32") header=".intel_syntax noprefix"; disassemble=() ;;
    *) echo "FAIL $program: the first line must be \"; program 16\" or \"; program 32\""
       failures=$((failures + 1)); continue ;;
  esac

  if ! "$dravent" "$program" "$work/$name.att.s" >/dev/null 2>"$work/dravent.err"; then
    echo "FAIL $program: dravent fails:"; cat "$work/dravent.err"
    failures=$((failures + 1)); continue
  fi
  { echo "$header"
    tail -n +2 "$program" |
      awk '/^;/ { print ""; next }
           { at = index($0, ";="); if (at) { print substr($0, at + 2); next }
             at = index($0, ";"); if (at) { print substr($0, 1, at - 1); next }
             print }'; } >"$work/$name.intel.s"

  if ! as --32 -aln="$work/$name.intel.lst" --listing-cont-lines=100000 -o "$work/$name.intel.o" "$work/$name.intel.s" \
         2>"$work/intel.err" || [ -s "$work/intel.err" ]; then
    echo "FAIL $program: GNU As does not take the Intel form of the program cleanly:"
    show_messages "$work/intel.err" "$work/$name.intel.s" Intel
    failures=$((failures + 1)); continue
  fi
  if ! as --32 -aln="$work/$name.att.lst" --listing-cont-lines=100000 -o "$work/$name.att.o" "$work/$name.att.s" \
         2>"$work/att.err" || [ -s "$work/att.err" ]; then
    echo "FAIL $program: GNU As does not take the converted program cleanly:"
    show_messages "$work/att.err" "$work/$name.att.s" converted
    echo "lines whose bytes differ (from the listings):"; show_lines_that_differ "$name"
    if [ -s "$work/dravent.err" ]; then echo "dravent said:"; cat "$work/dravent.err"; fi
    failures=$((failures + 1)); continue
  fi
  dump "$work/$name.att.o" "$work/att.dump"
  dump "$work/$name.intel.o" "$work/intel.dump"
  if ! diff -u --label Intel --label converted "$work/intel.dump" "$work/att.dump" >"$work/diff"; then
    echo "FAIL $program: different sections or relocations (- Intel, + converted):"; cat "$work/diff"
    echo "lines whose bytes differ (from the listings):"; show_lines_that_differ "$name"
    undefined=$(nm -u "$work/$name.intel.o" | awk '{ printf " %s", $2 }')
    if [ -n "$undefined" ]; then
      echo "symbols the Intel form leaves undefined (a label missing after \";=\"?):$undefined"
    fi
    echo "disassembly of the converted program:"
    objdump -d -r "${disassemble[@]}" "$work/$name.att.o" | tail -n +7
    failures=$((failures + 1)); continue
  fi
  echo "ok $name: $(wc -l <"$program") lines, same bytes"
done
echo "$(($# - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
