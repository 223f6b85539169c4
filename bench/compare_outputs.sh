#!/usr/bin/env bash
# Compares two dravent executables: output file, standard output, standard error and exit status
# must be byte for byte the same on a varied input: the throughput generator's 50 MB file and its
# 3,000-line file, every *.asm under tests/ and examples/ (converted where they stand, so that
# their includes are found), the input lines of tests/cases/*.txt, and random_lines.py files of
# 4 MB for seeds 1 to 6. For changes that must not change a byte (speed work).
# Usage: bash bench/compare_outputs.sh OLD_DRAVENT NEW_DRAVENT [INPUT_FOLDER]
#   INPUT_FOLDER keeps the generated inputs between runs (default: a temporary folder); a file
#   already there is used as it is.
# Exit 0 when nothing differs, 1 at the first difference (the input and the first differing
# line are shown), 2 on a usage error.
set -euo pipefail
export LC_ALL=C
[ $# -ge 2 ] || { sed -n 's/^# Usage: //p' "$0" >&2; exit 2; }
absolute() { case $1 in /*) echo "$1" ;; *) echo "$PWD/$1" ;; esac; }
old=$(absolute "$1")
new=$(absolute "$2")
inputs=${3:+$(absolute "$3")}
cd "$(dirname "$0")/.."
results=$(mktemp -d)
if [ -z "$inputs" ]; then
  inputs=$(mktemp -d)
  trap 'rm -rf "$inputs" "$results"' EXIT
else
  mkdir -p "$inputs"
  trap 'rm -rf "$results"' EXIT
fi

make_once() {  # file, command...: the command's output, made unless the file exists
  local file=$inputs/$1
  shift
  [ -s "$file" ] || "$@" >"$file"
}
make_once big.asm awk -v megabytes=50 -f bench/generate.awk
make_once small.asm awk -v lines=3000 -f bench/generate.awk
for seed in 1 2 3 4 5 6; do
  make_once "random-$seed.asm" python3 tests/differential/random_lines.py --seed "$seed" --megabytes 4
done
for file in tests/cases/*.txt; do
  python3 - "$file" >"$inputs/case-$(basename "$file" .txt).asm" <<'PY'
import sys
marks = [("→", "\t"), ("␍", "\r"), ("␀", "\0"), ("␠", " ")]
with open(sys.argv[1], encoding="utf-8") as f:
    for line in f.read().split("\n"):
        if line == "<" or line.startswith("< "):
            text = line[2:]
            for shown, real in marks:
                text = text.replace(shown, real)
            sys.stdout.buffer.write(text.encode("utf-8") + b"\n")
PY
done

checked=0
compare() {  # input file
  local input=$1 side exe
  for side in old new; do
    exe=$old; [ $side = new ] && exe=$new
    set +e
    "$exe" "$input" "$results/$side.s" >"$results/$side.stdout" 2>"$results/$side.stderr"
    echo $? >"$results/$side.status"
    set -e
  done
  for part in s stdout stderr status; do
    if ! cmp -s "$results/old.$part" "$results/new.$part"; then
      echo "DIFFERENCE on $input ($part):"
      cmp "$results/old.$part" "$results/new.$part" || true
      diff -a <(nl -ba "$results/old.$part") <(nl -ba "$results/new.$part") | head -n 6 || true
      exit 1
    fi
  done
  checked=$((checked + 1))
  bytes=$((bytes + $(wc -c <"$results/old.s") + $(wc -c <"$results/old.stderr")))
}
bytes=0
while IFS= read -r file; do compare "$file"; done < <(find tests examples -name '*.asm' -type f | sort)
for file in "$inputs"/case-*.asm "$inputs"/small.asm "$inputs"/random-*.asm "$inputs"/big.asm; do
  compare "$file"
done
echo "$checked inputs, $bytes bytes of output and standard error compared: 0 changed bytes"
