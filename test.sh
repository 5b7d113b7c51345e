#!/usr/bin/env bash
# Installs what is missing, builds everything, and runs every test: the unit tests, the stage proofs and the
# end-to-end scripts in the normal build, the unit tests again under AddressSanitizer and UBSan, and the fuzzers.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DPELVORO_SANITIZE=ON
cmake --build build-asan -j"$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j"$jobs" -LE 'e2e|stages')

if [ -x tests/fuzz/run.sh ]; then
  tests/fuzz/run.sh "${FUZZ_SECONDS:-60}"
fi
echo "all tests passed"
