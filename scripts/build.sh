#!/usr/bin/env bash
# Configures and builds everything (program, quote service, tests, benchmarks)
# into $BUILD_DIR (build/ unless set), as $BUILD_TYPE (RelWithDebInfo unless set).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${BUILD_DIR:-build}"
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" >/dev/null
cmake --build "$build_dir" -j"$(nproc)"
