#!/bin/bash
# The tools given bad input: a missing file, a folder where a file belongs, an unreadable file, a truncated or
# garbage file, absurd numbers. Each row must end with its status (2 for bad input; 3 where pelvoro-sim or
# pelvoro-solve report that the game itself refuses the stage), a message naming the problem on the first
# line of stderr, no crash or sanitizer report, no hang, and no output file left behind.
# usage: bad_input.test.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
BUILD=$(cd "$1" && pwd)
SOURCE=$(cd "$2" && pwd)
WORK=$(mktemp -d "${TMPDIR:-/tmp}/pelvoro-bad-input-XXXXXX")
trap 'chmod -R u+rwx "$WORK" 2>/dev/null; rm -rf "$WORK"' EXIT
FAILED=0
fail() { echo "FAIL: $*"; FAILED=1; }
cd "$WORK" || exit 1

# --- Fixtures ---------------------------------------------------------------------------------------------
mkdir folder tree empty-tree
echo "hello" > tree/hello.txt
printf 'garbage \x01\x02\xff\xfe\x00 more garbage\n' > garbage.bin
head -c 5000 /dev/urandom > noise.bin
/usr/bin/python3 "$SOURCE/tests/play/fixture.py" goal.fmf <<'MAP'
..........
..SG......
##########
MAP
head -c 30 goal.fmf > truncated.fmf
"$BUILD/pelvoro-pack" create good.bin tree > /dev/null || { echo "cannot make the archive fixture"; exit 1; }
head -c 70 good.bin > truncated.bin
head -c 50000 "$SOURCE/tests/sets/sample.plvsd" > truncated.plvsd
head -n 4 "$SOURCE/tests/sets/walk.stage" > truncated.stage
printf '1 Right\n1000000000000000 -\n' > huge-count.rep
printf '9999999 -\n' > long-wait.rep
cp "$SOURCE/tests/sets/walk.stage" unreadable.stage
cp goal.fmf unreadable.fmf
cp long-wait.rep unreadable.rep
mkdir locked-tree
echo "x" > locked-tree/secret.txt
chmod 000 unreadable.stage unreadable.fmf unreadable.rep locked-tree
mkdir linked-tree
ln -s ../locked-tree linked-tree/inside
ROOT=0
[ "$(id -u)" = 0 ] && ROOT=1
[ "$ROOT" = 1 ] && echo "note: running as root, which reads files whatever their mode; the unreadable rows are skipped"

# --- The table --------------------------------------------------------------------------------------------
# row STATUS MESSAGE-PATTERN OUTPUT-THAT-MUST-NOT-EXIST -- PROGRAM ARGS...   ("-" for no output to check)
row() {
  local want=$1 pattern=$2 output=$3
  shift 4
  local name="${1##*/} ${*:2}"
  timeout 60 "$@" > out.txt 2> err.txt
  local got=$?
  if [ "$got" = 124 ]; then
    fail "$name: still running after 60 s"
    return
  fi
  [ "$got" = "$want" ] || fail "$name: exited $got, expected $want ($(head -c 300 err.txt))"
  head -n 1 err.txt | grep -q -e "$pattern" || fail "$name: first line of stderr does not say '$pattern': $(head -n 1 err.txt)"
  if grep -q -E "terminate called|Aborted|AddressSanitizer|runtime error|LeakSanitizer" err.txt; then
    fail "$name: crashed: $(grep -m1 -E "terminate|Abort|Sanitizer|runtime error" err.txt)"
  fi
  if [ "$output" != "-" ] && compgen -G "$output*" > /dev/null; then
    fail "$name: left $(compgen -G "$output*" | tr '\n' ' ')"
    rm -rf "$output"*
  fi
}
unreadable_row() { [ "$ROOT" = 1 ] || row "$@"; }

PACK="$BUILD/pelvoro-pack"
row 2 "not a folder" out.bin -- "$PACK" create out.bin missing-folder
row 2 "not a folder" out.bin -- "$PACK" create out.bin garbage.bin
unreadable_row 2 "cannot read folder" out.bin -- "$PACK" create out.bin locked-tree
unreadable_row 2 "cannot read folder" out.bin -- "$PACK" create out.bin linked-tree
row 2 "cannot write" folder.tmp -- "$PACK" create folder tree
row 2 "huffman-kb takes 0..255" out.bin -- "$PACK" --huffman-kb 99999999999 create out.bin tree
row 2 "not a readable archive" - -- "$PACK" list missing.bin
row 2 "not a readable archive" - -- "$PACK" list folder
row 2 "not a readable archive" - -- "$PACK" list garbage.bin
row 2 "not a readable archive" - -- "$PACK" list noise.bin
row 2 "not a readable archive" - -- "$PACK" list truncated.bin
row 2 "not a readable archive" - -- "$PACK" list /dev/zero
row 2 "not a readable archive" extracted -- "$PACK" extract truncated.bin extracted
row 2 "not a readable archive" extracted -- "$PACK" extract garbage.bin extracted

SIM="$BUILD/pelvoro-sim"
row 2 "cannot read" - -- "$SIM" --fmf missing.fmf
row 2 "cannot read" - -- "$SIM" --fmf folder
unreadable_row 2 "cannot read" - -- "$SIM" --fmf unreadable.fmf
row 3 "ステージの読み込みに失敗しました。" - -- "$SIM" --fmf truncated.fmf
row 3 "ステージの読み込みに失敗しました。" - -- "$SIM" --fmf noise.bin
row 2 "cannot read" - -- "$SIM" --fmf goal.fmf --text folder
row 2 "cannot read the replay" - -- "$SIM" --fmf goal.fmf --replay missing.rep
row 2 "cannot read the replay" - -- "$SIM" --fmf goal.fmf --replay folder
unreadable_row 2 "cannot read the replay" - -- "$SIM" --fmf goal.fmf --replay unreadable.rep
row 2 "garbage.bin: line 1: " - -- "$SIM" --fmf goal.fmf --replay garbage.bin
row 2 "line 2: too many frames" - -- "$SIM" --fmf goal.fmf --replay huge-count.rep
row 2 "frames" - -- "$SIM" --fmf goal.fmf --frames 99999999999
row 2 "seed" - -- "$SIM" --fmf goal.fmf --seed 99999999999
row 2 "stage number" - -- "$SIM" --stage 99999999999
row 2 "index" - -- "$SIM" --set "$SOURCE/tests/sets/sample.plvsd" --index 99999999999
row 2 "cannot read" - -- "$SIM" --set folder --index 0
row 3 "ステージの読み込みに失敗しました。" - -- "$SIM" --set truncated.plvsd --index 0
row 3 "ステージの読み込みに失敗しました。" - -- "$SIM" --set noise.bin --index 0

STAGEC="$BUILD/pelvoro-stagec"
row 2 "missing.stage: cannot read" out/missing -- "$STAGEC" out missing.stage
row 2 "folder: cannot read" out/folder -- "$STAGEC" out folder
unreadable_row 2 "unreadable.stage: cannot read" out/unreadable -- "$STAGEC" out unreadable.stage
row 2 "not UTF-8" out/garbage -- "$STAGEC" out garbage.bin
row 2 "not UTF-8" out/noise -- "$STAGEC" out noise.bin
row 2 "no map" out/truncated -- "$STAGEC" out truncated.stage
row 2 "not UTF-8" set.plvsd -- "$STAGEC" --set set.plvsd garbage.bin
row 2 "no map" set.plvsd -- "$STAGEC" --set set.plvsd truncated.stage
row 2 "cannot write" - -- "$STAGEC" garbage.bin/out "$SOURCE/tests/sets/walk.stage"
{ echo "size: 99999999999 15"; cat "$SOURCE/tests/sets/walk.stage"; } > huge-size.stage
row 2 "huge-size.stage: line 1: size is" out/huge-size -- "$STAGEC" out huge-size.stage

SOLVE="$BUILD/pelvoro-solve"
row 2 "cannot read missing.fmf" - -- "$SOLVE" --fmf missing.fmf
row 2 "cannot read folder" - -- "$SOLVE" --fmf folder
unreadable_row 2 "cannot read unreadable.fmf" - -- "$SOLVE" --fmf unreadable.fmf
row 3 "ステージの読み込みに失敗しました。" - -- "$SOLVE" --fmf truncated.fmf
row 2 "cannot read folder" - -- "$SOLVE" --fmf goal.fmf --source folder
row 2 "--stage takes 1..30" - -- "$SOLVE" --stage 99999999999
row 2 "--max-frames" - -- "$SOLVE" --fmf goal.fmf --max-frames 99999999999
row 2 "--beam" - -- "$SOLVE" --fmf goal.fmf --beam 1000000000000000
row 2 "unknown option --bogus" - -- "$SOLVE" --fmf goal.fmf --bogus 1

# A long wait is kept as one run: ten million frames of it cost no memory worth naming (before, every frame
# took 256 bytes, 2.5 GB in all). Capped at 1 GB of address space unless a sanitizer needs the room.
if ldd "$SIM" 2>/dev/null | grep -q -E "libasan|libtsan"; then
  "$SIM" --fmf goal.fmf --replay long-wait.rep --frames 5 > out.txt 2> err.txt
else
  (ulimit -v 1000000 && "$SIM" --fmf goal.fmf --replay long-wait.rep --frames 5) > out.txt 2> err.txt
fi
[ $? = 0 ] && grep -q "result: not-cleared frames=5" out.txt || fail "a replay of 9999999 idle frames: $(cat err.txt)"

exit $FAILED
