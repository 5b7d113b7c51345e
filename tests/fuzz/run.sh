#!/bin/bash
# Builds the libFuzzer targets with clang++ (ASan + UBSan) into build-fuzz/ and runs each for SECONDS
# seconds on a copy of its seed corpus. Exits non-zero when a target finds a crash, a leak or undefined
# behaviour; the reproducer is left in build-fuzz/.
#   tests/fuzz/run.sh [SECONDS]    (default 60)
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${PELVORO_FUZZ_DIR:-$root/build-fuzz}
mkdir -p "$out"
flags=(-std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
       -fno-omit-frame-pointer -I"$root/src")
reader=("$root/src/media/archive.cpp" "$root/src/media/archive_key.cpp" "$root/src/media/lz.cpp"
        "$root/src/media/huffman.cpp" "$root/src/shell/archive_key.cpp")

clang++ "${flags[@]}" "$root/tests/fuzz/archive_fuzz.cpp" "${reader[@]}" -o "$out/archive_fuzz"
clang++ "${flags[@]}" "$root/tests/fuzz/scan_fuzz.cpp" "$root/src/media/files.cpp" "$root/src/media/paths.cpp" \
  "${reader[@]}" -o "$out/scan_fuzz"
clang++ "${flags[@]}" "$root/tests/fuzz/stageset_fuzz.cpp" "$root/src/stage/stageset.cpp" \
  "$root/src/media/atomic_file.cpp" -o "$out/stageset_fuzz"
clang++ "${flags[@]}" -I"$root/tools/stagec" "$root/tests/fuzz/stagec_fuzz.cpp" -o "$out/stagec_fuzz"

status=0
for target in archive scan stageset stagec; do
  work="$out/corpus-$target"
  mkdir -p "$work"
  cp -n "$root/tests/fuzz/corpus-$target/"* "$work/" 2>/dev/null || true
  echo "== $target: $seconds s"
  if ! (cd "$out" && "./${target}_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
          -print_final_stats=1 "$work" > "$out/$target.log" 2>&1); then
    echo "FAIL: ${target}_fuzz found a fault; see $out/$target.log"
    tail -40 "$out/$target.log"
    status=1
  else
    grep -E "stat::number_of_executed_units|cov:" "$out/$target.log" | tail -2
  fi
done
exit $status
