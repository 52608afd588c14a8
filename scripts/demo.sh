#!/usr/bin/env bash
# Sets up what is missing, builds, creates the demo company database and shows a report.
# Extra arguments go to `tavshoprpt demo` (see `build/tavshoprpt demo --help`).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAV_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)" --target tavshoprpt tavgen
exec ./build/tavshoprpt demo "$@"
