#!/usr/bin/env bash
# Builds the fuzzing harnesses with clang into build-fuzz/ and runs each for a bounded time on
# its committed corpus (tests/fuzz/corpus/NAME). A crash, a hang or an allocation beyond the
# limit fails the run and leaves the input as build-fuzz/HARNESS-crash-... to become a test.
# Usage: scripts/fuzz.sh [seconds per harness, default 20]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
harnesses=(image_loading scan_intake text_parsing profile_file database_location card_file)

cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DVELTRA_FUZZ=ON >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${harnesses[@]/#/fuzz_}"

for name in "${harnesses[@]}"; do
  found=$(mktemp -d)  # inputs found on the way; the committed corpus is left as it is
  echo "== fuzz_$name (${seconds} s)"
  # One allocation may be at most the raster limit and a little; a scan's whole intake stays
  # well under the RSS limit even with the sanitizer's own memory.
  ASAN_OPTIONS=detect_leaks=0 build-fuzz/bin/fuzz_"$name" -max_total_time="$seconds" -timeout=30 \
    -malloc_limit_mb=600 -rss_limit_mb=4096 -print_final_stats=0 \
    -artifact_prefix=build-fuzz/fuzz_"$name"- "$found" tests/fuzz/corpus/"$name" 2>&1 | tail -n 3
  status=${PIPESTATUS[0]}
  rm -rf "$found"
  [ "$status" -eq 0 ] || { echo "fuzz_$name failed"; exit 1; }
done
