#!/usr/bin/env bash
# Sets up what is missing, builds everything and runs the whole test suite.
# TAV_SANITIZE=ON builds with address and undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
dir=${TAV_BUILD_DIR:-build}
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAV_SANITIZE="${TAV_SANITIZE:-OFF}" -DTAV_BENCH=OFF
cmake --build "$dir" -j"$(nproc)"
ctest --test-dir "$dir" --output-on-failure -j"$(nproc)"
