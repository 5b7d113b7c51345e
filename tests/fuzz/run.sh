#!/bin/bash
# Builds the libFuzzer targets with clang++ (ASan + UBSan) into build-fuzz/ and runs each on a copy of its
# seed corpus: the archive, formatted-read, stage-set decoder and stage-source targets for SECONDS seconds,
# the others (built-in stage loader, save.dat, stage-set load and start, replay, autosave) for half that.
# Exits non-zero when a target finds a crash, a leak or undefined behaviour; the reproducer is left in
# build-fuzz/.
#   tests/fuzz/run.sh [SECONDS] [TARGET...]    (default 60, every target)
set -euo pipefail
seconds=${1:-60}
shift || true
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${PELVORO_FUZZ_DIR:-$root/build-fuzz}
mkdir -p "$out"
# The files the targets write go to memory where it can be had: the savers flush every write to the disk.
TMPDIR=$(mktemp -d /dev/shm/pelvoro-fuzz-XXXXXX 2>/dev/null || mktemp -d "$out/tmp-XXXXXX")
export TMPDIR
trap 'rm -rf "$TMPDIR"' EXIT
flags=(-std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
       -fno-omit-frame-pointer -I"$root/src")
src=$root/src
reader=("$src/media/archive.cpp" "$src/media/archive_key.cpp" "$src/media/lz.cpp" "$src/media/huffman.cpp"
        "$src/shell/archive_key.cpp")
files=("$src/media/files.cpp" "$src/media/paths.cpp" "${reader[@]}")
stage=("$src/stage/builtin_loader.cpp" "$src/stage/scan.cpp" "$src/stage/stagedata.cpp" "$src/play/playstate.cpp"
       "${files[@]}")
support=("$root/tests/fuzz/fuzz_support.cpp")

# target: seconds, then its sources besides tests/fuzz/<target>_fuzz.cpp
sources() {
  case $1 in
    archive) echo "${reader[@]}" ;;
    scan) echo "${files[@]}" ;;
    stageset) echo "$src/stage/stageset.cpp $src/media/atomic_file.cpp" ;;
    stagec) echo "-I$root/tools/stagec" ;;
    builtin) echo "${support[@]} ${stage[@]}" ;;
    savedata) echo "${support[@]} $src/shell/savedata.cpp $src/media/atomic_file.cpp $src/media/paths.cpp" ;;
    customset) echo "${support[@]} ${stage[@]} $src/stage/stageset.cpp $src/stage/custom_set_load.cpp" \
                    "$src/stage/custom_stage.cpp $src/editor/stage_checks.cpp $src/stage/catalogue.cpp" \
                    "$src/media/atomic_file.cpp" ;;
    replay) echo "${support[@]} $src/media/replay.cpp" ;;
    autosave) echo "${support[@]} $src/editor/autosave.cpp $src/stage/stageset.cpp $src/media/atomic_file.cpp" \
                   "$src/media/paths.cpp" ;;
  esac
}
long=(archive scan stageset stagec)
short=(builtin savedata customset replay autosave)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${long[@]}" "${short[@]}")

status=0
for target in "${targets[@]}"; do
  time=$seconds
  [[ " ${short[*]} " == *" $target "* ]] && time=$(((seconds + 1) / 2))
  # shellcheck disable=SC2046
  clang++ "${flags[@]}" "$root/tests/fuzz/${target}_fuzz.cpp" $(sources "$target") -o "$out/${target}_fuzz"
  work="$out/corpus-$target"
  mkdir -p "$work"
  cp -n "$root/tests/fuzz/corpus-$target/"* "$work/" 2>/dev/null || true
  echo "== $target: $time s"
  if ! (cd "$out" && "./${target}_fuzz" -max_total_time="$time" -timeout=10 -rss_limit_mb=2048 \
          -print_final_stats=1 "$work" > "$out/$target.log" 2>&1); then
    echo "FAIL: ${target}_fuzz found a fault; see $out/$target.log"
    tail -40 "$out/$target.log"
    status=1
  else
    grep -E "stat::number_of_executed_units|cov:" "$out/$target.log" | tail -2
  fi
done
exit $status
