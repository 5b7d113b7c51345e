#!/bin/bash
# Kills the game's writers with SIGKILL at random moments, again and again, for every file the game writes:
# save.dat, a stage set saved over an existing one, the editor's autosave. The writer rewrites its file with
# contents A and B in turn until it is killed; afterwards the file must be the complete A or the complete B,
# never missing, never anything else. Run by hand (not in CI; about a minute per kind on an idle machine):
#   tests/kill/kill_harness.sh BUILD_DIR [ROUNDS] [KIND...]    (default 1000 rounds, kinds save set autosave)
set -uo pipefail
BUILD=$(cd "$1" && pwd)
ROUNDS=${2:-1000}
shift 2 2>/dev/null || shift $#
KINDS=("$@")
[ ${#KINDS[@]} -gt 0 ] || KINDS=(save set autosave)
WRITER="$BUILD/pelvoro-kill-writer"
WORK=$(mktemp -d "${TMPDIR:-/tmp}/pelvoro-kill-XXXXXX")
trap 'rm -rf "$WORK"' EXIT
status=0

for kind in "${KINDS[@]}"; do
  "$WRITER" "$kind" "$WORK/A" once A && "$WRITER" "$kind" "$WORK/B" once B || { echo "$kind: writer failed"; exit 2; }
  cmp -s "$WORK/A" "$WORK/B" && { echo "$kind: A and B are the same"; exit 2; }
  # How long a start and a first write take, so that the kills fall before, during and after writes.
  start=$(date +%s%N)
  for _ in 1 2 3 4 5; do "$WRITER" "$kind" "$WORK/timing" once A; done
  span_us=$((($(date +%s%N) - start) / 5000 * 3))
  a=0 b=0 bad=0 leftovers=0
  for round in $(seq "$ROUNDS"); do
    mkdir "$WORK/r"
    cp "$WORK/A" "$WORK/r/file"
    "$WRITER" "$kind" "$WORK/r/file" loop &
    pid=$!
    sleep "$(printf '0.%06d' $((RANDOM * RANDOM % (span_us + 1))))"
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    if cmp -s "$WORK/r/file" "$WORK/A"; then
      a=$((a + 1))
    elif cmp -s "$WORK/r/file" "$WORK/B"; then
      b=$((b + 1))
    else
      bad=$((bad + 1))
      echo "$kind round $round: the file is neither A nor B ($(stat -c %s "$WORK/r/file" 2>&1) bytes)"
    fi
    # A write killed half-way leaves its temporary file beside the target; the target itself is whole.
    [ "$(ls "$WORK/r" | wc -l)" -gt 1 ] && leftovers=$((leftovers + 1))
    rm -rf "$WORK/r"
  done
  echo "$kind: rounds=$ROUNDS old=$a new=$b torn-or-missing=$bad killed-mid-write=$leftovers (kills within ${span_us} us of the start)"
  [ "$bad" -eq 0 ] || status=1
done
exit $status
