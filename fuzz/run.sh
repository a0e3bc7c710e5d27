#!/usr/bin/env bash
# Builds the fuzz targets with clang++ (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) into build-fuzz/ and runs each for a few seconds
# over its seed corpus in fuzz/corpus/. Without clang++ it says so and
# succeeds. FUZZ_SECONDS sets each target's run time (2 by default).
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz: skipped, clang++ is not installed (Debian: clang libclang-rt-14-dev)"
  exit 0
fi
cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTROVANE_FUZZ=ON \
  -DKESTROVANE_FUZZ_SECONDS="${FUZZ_SECONDS:-2}" >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target fuzz_targets
if ! grep -q '^KESTROVANE_HAVE_LIBFUZZER:INTERNAL=1' build-fuzz/CMakeCache.txt; then
  echo "fuzz: skipped, clang++ cannot link libFuzzer (Debian: libclang-rt-14-dev)"
  exit 0
fi
# Two targets write a file per input: on a memory-backed folder they run ten times faster.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
ctest --test-dir build-fuzz -L fuzz --output-on-failure
