#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through CTest
# (BUILD_DIR and BUILD_TYPE as for scripts/build.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${BUILD_DIR:-build}" --output-on-failure -j"$(nproc)" "$@"
