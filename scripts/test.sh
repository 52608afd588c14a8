#!/usr/bin/env bash
# Sets up what is missing, builds everything and runs the whole test suite.
# TAV_SANITIZE=ON builds with address and undefined-behaviour sanitizers. The tests run against a
# private PostgreSQL cluster (scripts/with-postgres.sh) unless TAV_PG_URL names a server already.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
dir=${TAV_BUILD_DIR:-build}
flags=""
# Under the sanitizers' instrumentation GCC 12 reports uninitialised reads inside the standard
# library that are not there; they stay warnings instead of failing the build.
[ "${TAV_SANITIZE:-OFF}" = ON ] && flags="-Wno-error=maybe-uninitialized"
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAV_SANITIZE="${TAV_SANITIZE:-OFF}" -DTAV_BENCH=OFF \
  -DTAV_WERROR=ON -DCMAKE_CXX_FLAGS="$flags"
cmake --build "$dir" -j"$(nproc)"
tests=(ctest --test-dir "$dir" --output-on-failure -j"$(nproc)")
if [ -z "${TAV_PG_URL:-}" ]; then
  exec ./scripts/with-postgres.sh "${tests[@]}"
fi
exec "${tests[@]}"
