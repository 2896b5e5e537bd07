#!/usr/bin/env bash
# Sets up everything, builds both builds and runs every test: the native
# unit tests, the checks of the product, and the tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$(date +%s)

bash scripts/setup.sh

jobs=$(nproc 2>/dev/null || echo 2)

echo "== native build and unit tests"
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/native -j"$jobs"
ctest --test-dir build/native --output-on-failure -j"$jobs"

echo "== fuzzing the core (bounded)"
bash scripts/fuzz.sh "${MIRANE_FUZZ_SECONDS:-15}"

echo "== the product: 32-bit Windows build"
cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build build/win32 -j"$jobs"

if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo "== tests under 32-bit Wine"
  ctest --test-dir build/win32 --output-on-failure
else
  echo "== this machine cannot execute 32-bit programs (no 32-bit Wine);"
  echo "   the product is checked here, and the Wine tests run from a 64-bit build of the same sources"
  ctest --test-dir build/win32 --output-on-failure -L product
  cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake >/dev/null
  cmake --build build/win64 -j"$jobs"
  ctest --test-dir build/win64 --output-on-failure
fi

echo "== all tests passed in $(( $(date +%s) - start )) s"
