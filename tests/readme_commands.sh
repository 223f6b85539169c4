#!/usr/bin/env bash
# Runs the README's ```sh blocks, in the order they appear, in a copy of the source tree (its build
# folders and .git left out), the way a new user would type them in a fresh clone: the first one
# builds the program, the later ones port the examples. Then checks what they made: the DOS .COM
# program loads its greeting from where the linker put it (and prints it, under DOSBox when that
# is installed), and the 32-bit Linux program exits with the sum it computes.
# Usage: readme_commands.sh SOURCE_DIR
set -euo pipefail
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

tar -C "$source_dir" --exclude='./build*' --exclude=./.git -cf - . | tar -C "$work" -xf -
awk '/^```sh$/ { inside = 1; next } /^```/ { inside = 0 } inside' "$source_dir/README.md" >"$work/readme.sh"
[ -s "$work/readme.sh" ] || { echo "FAIL: no \`\`\`sh block in README.md"; exit 1; }
cd "$work"
echo "== the README's commands"
cat readme.sh
bash -euo pipefail readme.sh >readme.log 2>&1 || { cat readme.log; echo "FAIL: a README command failed"; exit 1; }

passed=0
failed=0
check() {
  if "$@"; then echo "ok $*"; passed=$((passed + 1)); else echo "FAIL $*"; failed=$((failed + 1)); fi
}

# hello.com begins with "mov dx, offset greeting" (BA, then the 16-bit address): the address
# less the load offset 0x100 must be where "Hi!" sits in the file.
greeting_is_where_the_code_looks() {
  local address
  address=$(od -A n -t u2 -j 1 -N 2 build/hello.com | tr -d ' ')
  [ "$(od -A n -t x1 -N 1 build/hello.com | tr -d ' ')" = ba ] &&
    [ "$(dd if=build/hello.com bs=1 skip=$((address - 0x100)) count=3 status=none)" = 'Hi!' ]
}
check greeting_is_where_the_code_looks

# Where DOSBox is installed, the program runs and its printout is checked.
prints_under_dosbox() {
  mkdir -p dos && cp build/hello.com dos/HELLO.COM
  (cd dos && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 60 \
    dosbox -c 'mount c .' -c 'c:' -c 'HELLO.COM > OUT.TXT' -c exit >/dev/null 2>&1) || true
  [ "$(cat dos/OUT.TXT 2>/dev/null)" = $'Hi!\r\n0123456789' ]
}
if command -v dosbox >/dev/null; then check prints_under_dosbox; else echo "skip prints_under_dosbox: no dosbox"; fi

# A kernel built without 32-bit support refuses the program (status 126); there it runs under
# qemu's user-mode emulator when that is installed.
exits_with_the_sum() {
  local status=0
  "$@" ./build/sum32 || status=$?
  [ "$status" -eq 100 ]
}
if ./build/sum32 2>/dev/null || [ $? -ne 126 ]; then
  check exits_with_the_sum
elif command -v qemu-i386 >/dev/null; then
  check exits_with_the_sum qemu-i386
else
  echo "skip exits_with_the_sum: this kernel runs no 32-bit programs and qemu-i386 is missing"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
