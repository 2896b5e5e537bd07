#!/usr/bin/env bash
# Builds the fuzz targets with clang (AddressSanitizer, UBSan, libFuzzer) and
# runs each for a bounded time from the seed corpus in tests/fuzz/corpus.
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-15}
command -v clang++-14 >/dev/null || { echo "fuzz: clang++-14 is missing; run scripts/setup.sh" >&2; exit 1; }
cmake -S . -B build/fuzz -DCMAKE_CXX_COMPILER=clang++-14 -DMIRANE_FUZZ=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/fuzz -j"$(nproc 2>/dev/null || echo 2)"
for target in settings main music; do
  work=build/fuzz/corpus-$target
  mkdir -p "$work"
  echo "== fuzz_$target for $seconds s"
  # New inputs go to the work folder; the seeds in the repository stay as they are.
  build/fuzz/tests/fuzz/fuzz_$target -max_total_time="$seconds" -rss_limit_mb=4096 \
    -print_final_stats=1 "$work" tests/fuzz/corpus/$target 2>&1 |
    grep -E "^(Done|stat::number_of_executed_units|stat::average_exec_per_sec|#[0-9]+ *DONE)|ERROR|SUMMARY" || true
  test "${PIPESTATUS[0]}" -eq 0 || { echo "fuzz_$target found a fault" >&2; exit 1; }
done
