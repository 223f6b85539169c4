#!/usr/bin/env bash
# Differential check: a dravent executable must write, byte for byte, what dravent 0.8.2
# (commit 255372f) writes, and exit and print exactly as it does, for a large varied input:
#   - the throughput generator's 50 MB file and its 3,000-line file (bench/generate.awk),
#   - every *.asm under tests/ and examples/,
#   - the input lines ("< " lines) of tests/cases/*.txt, one input file per case file,
#   - a large file from random_lines.py (tens of MB) and smaller ones from several other seeds,
#   - a few tiny files (empty, no final line feed, lone CR) and the command-line failures
#     (wrong argument count, missing input, directory input, unwritable output, same file, full disk).
# 0.8.2 is built from git history (git archive 255372f) into a cache folder outside the checkout,
# ${DRAVENT_DIFFERENTIAL_CACHE:-${XDG_CACHE_HOME:-~/.cache}/dravent-differential}, and reused
# from there on later runs.
#
# Usage: tests/differential/compare_with_0.8.2.sh [options] [NEW_DRAVENT]
#   NEW_DRAVENT       the executable to check; by default this checkout's dravent, built in
#                     build-differential/ (Release, BUILD_TESTING=OFF)
#   --work DIR        keep the inputs and both outputs in DIR (default: a temporary folder that
#                     is removed at the end); a later run with the same DIR reuses the generated
#                     inputs when the generators and their parameters are unchanged
#   --random-mb N     size in MB of the large random file (default 40)
#   --seeds "S ..."   seeds of the smaller random files, 4 MB each (default "2 3 4 5 6")
# Runs from any folder. Exit 0 when nothing differs ("0 changed bytes"); exit 1 at the first
# input that differs, after printing the input's name, the first differing line number, the
# input line and both output lines (tab shown as →, CR as ␍, NUL as ␀, other bytes as \xNN),
# or the exit statuses or messages that differ; exit 2 when a build or the setup fails.
# Needs git, cmake, a C++20 compiler, awk, cmp and python3. Takes about a minute once 0.8.2
# is built; the next issues change the output on purpose, so CI does not run it.
set -euo pipefail
export LC_ALL=C

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)

reference_commit=255372f
work=
random_mb=40
seeds="2 3 4 5 6"
new_dravent=

usage() { sed -n '/^# Usage:/,/^# Runs from/p' "$0" | sed 's/^# \{0,1\}//' >&2; exit "${1:-2}"; }

while [ $# -gt 0 ]; do
  case $1 in
    --work) work=$2; shift 2 ;;
    --random-mb) random_mb=$2; shift 2 ;;
    --seeds) seeds=$2; shift 2 ;;
    -h|--help) usage 0 ;;
    -*) echo "unknown option: $1" >&2; usage ;;
    *) [ -z "$new_dravent" ] || usage; new_dravent=$1; shift ;;
  esac
done

# Paths given on the command line are read from the caller's folder; the rest from the root.
absolute() { case $1 in /*) echo "$1" ;; *) echo "$PWD/$1" ;; esac; }
[ -z "$new_dravent" ] || new_dravent=$(absolute "$new_dravent")
[ -z "$work" ] || work=$(absolute "$work")
cd "$root"

build_jobs=-j2  # the machine's two cores are shared

# ---- 0.8.2 from git history ------------------------------------------------------------------

reference_hash=$(git -C "$root" rev-parse --verify --quiet "$reference_commit^{commit}") || {
  echo "commit $reference_commit is not in this repository's history (a shallow clone?)" >&2
  exit 2
}
cache=${DRAVENT_DIFFERENTIAL_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/dravent-differential}
reference_dir=$cache/$reference_hash
reference_dravent=$reference_dir/build/dravent

cmake_generator=()
if command -v ninja >/dev/null; then cmake_generator=(-G Ninja); fi

build_dravent() {  # source folder, build folder, log file
  { cmake -S "$1" -B "$2" "${cmake_generator[@]}" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF &&
    cmake --build "$2" "$build_jobs" --target dravent; } >"$3" 2>&1 || {
    tail -n 30 "$3" >&2
    echo "building dravent in $2 failed; the whole log is in $3" >&2
    exit 2
  }
}

if [ -x "$reference_dravent" ] && [ -e "$reference_dir/built" ]; then
  echo "0.8.2 ($reference_commit): reusing $reference_dravent"
else
  echo "0.8.2 ($reference_commit): building into $reference_dir"
  started=${EPOCHREALTIME/./}
  rm -rf "$reference_dir"
  mkdir -p "$reference_dir/source" "$reference_dir/build"
  git -C "$root" archive "$reference_hash" | tar -x -C "$reference_dir/source"
  build_dravent "$reference_dir/source" "$reference_dir/build" "$reference_dir/build.log"
  touch "$reference_dir/built"
  echo "  built in $(( (${EPOCHREALTIME/./} - started) / 1000000 )) s"
fi

# ---- the executable under test ---------------------------------------------------------------

if [ -z "$new_dravent" ]; then
  echo "new dravent: building this checkout in build-differential/"
  mkdir -p "$root/build-differential"
  build_dravent "$root" "$root/build-differential" "$root/build-differential/build.log"
  new_dravent=$root/build-differential/dravent
fi
[ -x "$new_dravent" ] || { echo "not an executable: $new_dravent" >&2; exit 2; }
new_dravent=$(cd "$(dirname "$new_dravent")" && pwd)/$(basename "$new_dravent")
echo "new dravent: $new_dravent"

# ---- inputs ----------------------------------------------------------------------------------

keep_work=$work
if [ -z "$work" ]; then
  work=$(mktemp -d "${TMPDIR:-/tmp}/dravent-differential.XXXXXX")
  trap 'rm -rf "$work"' EXIT
else
  mkdir -p "$work"
  rm -rf "$work/0.8.2" "$work/new"
fi
inputs=$work/inputs
mkdir -p "$inputs" "$work/0.8.2" "$work/new"

generate_awk=bench/generate.awk
[ -f "$generate_awk" ] || generate_awk=$reference_dir/source/bench/generate.awk

# Every input, as "name<TAB>path"; the name is what a report shows. The small ones are
# compared first, so that a difference is first shown on the shortest input that has it.
input_list=()
add_input() { input_list+=("$1"$'\t'"$2"); }
generated_list=()

# The large generated files: made again only when a generator or a parameter changed.
generated_stamp="$(cat "$generate_awk" "$here/random_lines.py" | cksum) $random_mb $seeds"
if [ -f "$inputs/generated" ] && [ "$(cat "$inputs/generated")" = "$generated_stamp" ]; then
  echo "reusing the generated inputs in $inputs"
  generate=false
else
  echo "generating inputs in $inputs"
  rm -f "$inputs/generated"
  generate=true
fi
started=${EPOCHREALTIME/./}
add_generated() {  # name, file, command...
  local name=$1 file=$inputs/$2
  shift 2
  if $generate; then "$@" >"$file"; fi
  generated_list+=("$name"$'\t'"$file")
}
add_generated "bench/generate.awk lines=3000" throughput-3000-lines.asm awk -v lines=3000 -f "$generate_awk"
add_generated "random_lines.py --seed 99 --lines 3000" random-seed99-3000-lines.asm \
  python3 "$here/random_lines.py" --seed 99 --lines 3000
for seed in $seeds; do
  add_generated "random_lines.py --seed $seed --megabytes 4" "random-seed$seed.asm" \
    python3 "$here/random_lines.py" --seed "$seed" --megabytes 4
done
add_generated "bench/generate.awk megabytes=50" throughput-50mb.asm awk -v megabytes=50 -f "$generate_awk"
add_generated "random_lines.py --seed 1 --megabytes $random_mb" random-seed1.asm \
  python3 "$here/random_lines.py" --seed 1 --megabytes "$random_mb"
if $generate; then echo "$generated_stamp" >"$inputs/generated"; fi

while IFS= read -r file; do
  add_input "$file" "$root/$file"
done < <(find tests examples -name '*.asm' -type f | sort)

# The "< " lines of a golden case file, with the marks for invisible characters decoded.
for file in tests/cases/*.txt; do
  [ -e "$file" ] || continue
  name=$(basename "$file" .txt)
  python3 - "$file" >"$inputs/cases-$name.asm" <<'EOF'
import sys
marks = [("→", "\t"), ("␍", "\r"), ("␀", "\0"), ("␠", " ")]
out = sys.stdout.buffer
with open(sys.argv[1], encoding="utf-8") as f:
    for line in f.read().split("\n"):
        if line == "<" or line.startswith("< "):
            text = line[2:]
            for shown, real in marks:
                text = text.replace(shown, real)
            out.write(text.encode("utf-8") + b"\n")
EOF
  add_input "$file (input lines)" "$inputs/cases-$name.asm"
done

: >"$inputs/empty.asm"
add_input "empty file" "$inputs/empty.asm"
printf '\n' >"$inputs/one-line-feed.asm"
add_input "one line feed" "$inputs/one-line-feed.asm"
printf 'start:\tmov ax, 10h ; no line feed after this' >"$inputs/no-final-line-feed.asm"
add_input "no final line feed" "$inputs/no-final-line-feed.asm"
printf '\r' >"$inputs/lone-cr.asm"
add_input "a lone CR" "$inputs/lone-cr.asm"
printf '\r\r\n\tmov ax,bx\r\r\n\r' >"$inputs/cr-runs.asm"
add_input "runs of CR" "$inputs/cr-runs.asm"
input_list+=("${generated_list[@]}")
echo "  done in $(( (${EPOCHREALTIME/./} - started) / 1000000 )) s"

# ---- running and comparing -------------------------------------------------------------------

# Shows bytes as in the golden cases: tab →, CR ␍, NUL ␀, a trailing space ␠; other control
# bytes and bytes from 0x80 up as \xNN. Long texts are cut to a window around a column.
report_py='
import mmap, os, sys

def visible(data):
    out = []
    for b in data:
        if b == 9: out.append("→")
        elif b == 13: out.append("␍")
        elif b == 0: out.append("␀")
        elif b < 32 or b >= 127: out.append("\\x%02x" % b)
        else: out.append(chr(b))
    if out and out[-1] == " ": out[-1] = "␠"
    return "".join(out)

def window(line, column, width=120):
    if len(line) <= 2 * width + 40:
        return visible(line)
    first = max(0, column - width)
    last = min(len(line), column + width)
    return "%s%s%s   [bytes %d..%d of %d]" % ("…" if first else "", visible(line[first:last]),
                                              "…" if last < len(line) else "", first, last, len(line))

def load(path):
    if not os.path.exists(path):
        return None
    with open(path, "rb") as f:
        return mmap.mmap(f.fileno(), 0, access=mmap.ACCESS_READ) if os.path.getsize(path) else b""

def nth_line(data, number):  # number counts from 1; lines end at LF
    start = 0
    for _ in range(number - 1):
        found = data.find(b"\n", start)
        if found < 0:
            return None
        start = found + 1
    if start >= len(data) and number > 1:
        return None
    end = data.find(b"\n", start)
    return data[start:len(data) if end < 0 else end]  # without its line feed

def first_difference(a, b):
    step, offset, common = 1 << 20, 0, min(len(a), len(b))
    while offset < common and a[offset:offset + step] == b[offset:offset + step]:
        offset += step
    while offset < common and a[offset] == b[offset]:
        offset += 1
    return offset

def compare_outputs(input_path, old_path, new_path):
    old, new = load(old_path), load(new_path)
    if old is None or new is None:
        print("    output file: 0.8.2 %s it, new %s it" % ("wrote" if old is not None else "did not write",
                                                           "wrote" if new is not None else "did not write"))
        return
    offset = first_difference(old, new)
    number = old[:offset].count(b"\n") + 1
    line_start = old.rfind(b"\n", 0, offset) + 1
    column = offset - line_start
    print("    output file: first difference at byte %d: line %d, column %d (sizes: 0.8.2 %d, new %d)"
          % (offset, number, column, len(old), len(new)))
    source = load(input_path) if input_path else None
    if source is not None:
        line = nth_line(source, number)
        print("    input line %d: %s" % (number, "(none)" if line is None else window(line, column)))
    for name, data in (("0.8.2", old), ("new  ", new)):
        line = nth_line(data, number)
        print("    %s line %d: %s" % (name, number, "(none)" if line is None else window(line, column)))

def show_stream(what, old_path, new_path):
    with open(old_path, "rb") as f: old = f.read()
    with open(new_path, "rb") as f: new = f.read()
    print("    %s differs:" % what)
    print("      0.8.2: %s" % window(old, first_difference(old, new)))
    print("      new  : %s" % window(new, first_difference(old, new)))

if sys.argv[1] == "output":
    compare_outputs(*sys.argv[2:5])
else:
    show_stream(*sys.argv[1:4])
'

total_runs=0
total_input_bytes=0
total_output_bytes=0
total_message_bytes=0
total_seconds_old=0
total_seconds_new=0

size_of() { if [ -e "$1" ]; then wc -c <"$1" | tr -d ' '; else echo 0; fi; }
# Lines as dravent counts them: a last line without a line feed counts too.
lines_of() {
  if [ ! -s "$1" ]; then echo 0; return; fi
  echo $(( $(wc -l <"$1") + ( $(tail -c 1 "$1" | od -An -tu1) != 10 ) ))
}

# Bytes that differ by position, plus the difference in length.
changed_bytes() {
  local a=$1 b=$2 by_position size_a size_b
  by_position=$(cmp -l "$a" "$b" 2>/dev/null | wc -l || true)
  size_a=$(size_of "$a"); size_b=$(size_of "$b")
  echo $(( by_position + (size_a > size_b ? size_a - size_b : size_b - size_a) ))
}

# run_one SIDE NAME ARGUMENT...: runs SIDE's executable with the arguments, where @OUT@ stands
# for SIDE's output file and @SELF@ for a copy of the 3,000-line input in SIDE's folder. Sets
# status and micros.
run_one() {
  local side=$1 name=${2//[^A-Za-z0-9.=-]/_} exe argument started
  shift 2
  exe=$reference_dravent
  [ "$side" = new ] && exe=$new_dravent
  local arguments=()
  for argument in "$@"; do
    case $argument in
      @OUT@) arguments+=("$work/$side/$name.s") ;;
      @SELF@) cp "$inputs/throughput-3000-lines.asm" "$work/$side/$name.self"
              arguments+=("$work/$side/$name.self") ;;
      *) arguments+=("$argument") ;;
    esac
  done
  rm -f "$work/$side/$name.s"
  started=${EPOCHREALTIME/./}
  set +e
  "$exe" "${arguments[@]}" >"$work/$side/$name.stdout" 2>"$work/$side/$name.stderr"
  status=$?
  set -e
  micros=$(( ${EPOCHREALTIME/./} - started ))
}

differs() {
  echo
  echo "DIFFERENCE in $1 (input: ${2:-none})"
}

# compare NAME INPUT ARGUMENT...: runs both executables, compares exit status, stdout, stderr,
# the output file and, for @SELF@, the file named twice. Exits 1 at the first difference.
compare() {
  local name=$1 input=$2 old_status new_status old_micros new_micros file
  shift 2
  run_one 0.8.2 "$name" "$@"; old_status=$status; old_micros=$micros
  run_one new "$name" "$@"; new_status=$status; new_micros=$micros
  local old=$work/0.8.2/${name//[^A-Za-z0-9.=-]/_} new=$work/new/${name//[^A-Za-z0-9.=-]/_} failed=0 changed=0
  if [ "$old_status" != "$new_status" ]; then
    [ $failed = 1 ] || differs "$name" "$input"; failed=1
    echo "    exit status: 0.8.2 $old_status, new $new_status"
  fi
  for file in stdout stderr; do
    if ! cmp -s "$old.$file" "$new.$file"; then
      [ $failed = 1 ] || differs "$name" "$input"; failed=1
      python3 -c "$report_py" "$file" "$old.$file" "$new.$file"
      changed=$(( changed + $(changed_bytes "$old.$file" "$new.$file") ))
    fi
  done
  for file in s self; do
    if [ -e "$old.$file" ] || [ -e "$new.$file" ]; then
      if ! cmp -s "$old.$file" "$new.$file"; then
        [ $failed = 1 ] || differs "$name" "$input"; failed=1
        python3 -c "$report_py" output "$input" "$old.$file" "$new.$file"
        changed=$(( changed + $(changed_bytes "$old.$file" "$new.$file") ))
      fi
    fi
  done
  if [ $failed = 1 ]; then
    echo "    $changed changed bytes (counted by position: a shift changes every byte after it)"
    if [ -n "$keep_work" ]; then
      echo "    both outputs are in $work/0.8.2 and $work/new"
    else
      echo "    (run with --work DIR to keep the inputs and both outputs)"
    fi
    exit 1
  fi
  local input_bytes=0 output_bytes message_bytes
  [ -z "$input" ] || input_bytes=$(size_of "$input")
  output_bytes=$(( $(size_of "$old.s") + $(size_of "$old.self") ))
  message_bytes=$(( $(size_of "$old.stdout") + $(size_of "$old.stderr") ))
  total_runs=$(( total_runs + 1 ))
  total_input_bytes=$(( total_input_bytes + input_bytes ))
  total_output_bytes=$(( total_output_bytes + output_bytes ))
  total_message_bytes=$(( total_message_bytes + message_bytes ))
  total_seconds_old=$(( total_seconds_old + old_micros ))
  total_seconds_new=$(( total_seconds_new + new_micros ))
  awk -v name="$name" -v lines_in="$( [ -z "$input" ] || lines_of "$input")" -v lines_out="$(lines_of "$old.s")" \
      -v bytes_in="$input_bytes" -v bytes_out="$output_bytes" -v status="$old_status" \
      -v t_old="$old_micros" -v t_new="$new_micros" 'BEGIN {
    printf "  %-44s %9s lines in %9s out %11d B in %11d B out  exit %d  0.8.2 %6.2f s  new %6.2f s  same\n",
           name, lines_in == "" ? "-" : lines_in, lines_out, bytes_in, bytes_out, status, t_old / 1e6, t_new / 1e6
  }'
}

echo "comparing 0.8.2 with the new dravent (exit status, stdout, stderr, output bytes)"
for entry in "${input_list[@]}"; do
  label=${entry%%$'\t'*}
  path=${entry#*$'\t'}
  compare "$label" "$path" "$path" @OUT@
done

small=$inputs/throughput-3000-lines.asm
compare "command line: no arguments" ""
compare "command line: one argument" "$small" "$small"
compare "command line: three arguments" "$small" "$small" @OUT@ extra
compare "command line: input missing" "" "$work/no-such-input.asm" @OUT@
compare "command line: input is a folder" "" "$inputs" @OUT@
compare "command line: output folder missing" "$small" "$small" "$work/no-such-folder/out.s"
compare "command line: input and output the same file" "$small" @SELF@ @SELF@
if [ -w /dev/full ]; then
  compare "command line: output on a full disk" "$small" "$small" /dev/full
fi

echo
awk -v runs="$total_runs" -v bytes_in="$total_input_bytes" -v bytes_out="$total_output_bytes" \
    -v messages="$total_message_bytes" -v t_old="$total_seconds_old" -v t_new="$total_seconds_new" 'BEGIN {
  printf "%d runs, all the same: %d input bytes; %d output bytes and %d bytes of messages compared (%.1f MB in all)\n",
         runs, bytes_in, bytes_out, messages, (bytes_out + messages) / 1e6
  printf "time converting: 0.8.2 %.2f s, new %.2f s\n", t_old / 1e6, t_new / 1e6
}'
echo "0 changed bytes"
