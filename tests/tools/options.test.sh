#!/usr/bin/env bash
# The pelvoro-* tools' command lines: --help prints the usage (exit 0), a mistake prints a short usage (exit 2),
# options work before and after the other arguments alike, and the usage lines stand word for word in the README.
# Usage: options.test.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

# status WANT COMMAND...: runs it with stdout in $work/out and stderr in $work/err.
status() {
  local want=$1
  shift
  "$@" >"$work/out" 2>"$work/err"
  local got=$?
  [ "$got" = "$want" ] || fail "$* exited $got, expected $want: $(head -c 300 "$work/err")"
}

# Help, mistakes and the README, for every tool.
readme=$(tr -s ' ' <"$source_dir/README.md")
for tool in pack sim stagec solve; do
  exe="$build/pelvoro-$tool"
  status 0 "$exe" --help
  grep -q "^usage: pelvoro-$tool " "$work/out" || fail "pelvoro-$tool --help prints no usage"
  [ -s "$work/err" ] && fail "pelvoro-$tool --help wrote to stderr"
  grep -E "^(usage: |       )pelvoro-$tool " "$work/out" | sed 's/^usage: //; s/^ *//' | tr -s ' ' >"$work/usage"
  while IFS= read -r line; do
    grep -qF -- "$line" <<<"$readme" || fail "the README lacks pelvoro-$tool's usage line: $line"
  done <"$work/usage"
  for mistake in "--no-such-option" "--help-me x"; do
    # shellcheck disable=SC2086  # the mistake is split into words on purpose
    status 2 "$exe" $mistake
    grep -q "^usage: pelvoro-$tool " "$work/err" || fail "pelvoro-$tool $mistake: no usage on stderr"
  done
  status 2 "$exe"
done
for valued in "pack --key" "pack list x --huffman-kb" "sim --stage" "stagec --set" "solve --out"; do
  # shellcheck disable=SC2086
  status 2 "$build"/pelvoro-$valued
  grep -q "needs a value" "$work/err" || fail "pelvoro-$valued: no word of the missing value"
done

# The same options in front of and behind the other arguments give the same result.
cd "$work"
sets="$source_dir/tests/sets"
mkdir assets && cp "$sets/walk.rep" assets/
status 0 "$build/pelvoro-pack" --no-scramble --huffman-kb 0 create front.bin assets
status 0 "$build/pelvoro-pack" create back.bin assets --huffman-kb 0 --no-scramble
cmp -s front.bin back.bin || fail "pelvoro-pack create: options behind the arguments give another archive"
status 0 "$build/pelvoro-pack" --key abc create keyed.bin assets
status 0 "$build/pelvoro-pack" list keyed.bin --key abc
grep -q "walk.rep" out || fail "pelvoro-pack list with --key behind: $(cat out err)"

status 0 "$build/pelvoro-stagec" --set front.plvsd "$sets/walk.stage"
status 0 "$build/pelvoro-stagec" "$sets/walk.stage" --set back.plvsd
cmp -s front.plvsd back.plvsd || fail "pelvoro-stagec: --set behind the sources gives another set"

status 0 "$build/pelvoro-sim" --set front.plvsd --index 0 --replay "$sets/walk.rep" --trace
mv out sim-front
status 0 "$build/pelvoro-sim" --trace --replay "$sets/walk.rep" --index 0 --set back.plvsd
cmp -s sim-front out || fail "pelvoro-sim: the options in another order play another run"
grep -q "^result: cleared" out || fail "pelvoro-sim: the walk was not cleared: $(tail -1 out)"

cd "$build"
status 1 "$build/pelvoro-solve" --stage 1 --beam 5 --max-frames 60 --out "$work/front.rep"
status 1 "$build/pelvoro-solve" --out "$work/back.rep" --max-frames 60 --beam 5 --stage 1
cmp -s "$work/front.rep.partial" "$work/back.rep.partial" || fail "pelvoro-solve: the options in another order search otherwise"

[ "$failed" = 0 ] && echo "tools: --help, usage on mistakes, options anywhere, usage lines in the README"
exit "$failed"
