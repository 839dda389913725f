#!/usr/bin/env bash
# Configures and builds everything (game, assets, tests, benchmarks) into build/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${GELMARCH_BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE="${GELMARCH_BUILD_TYPE:-RelWithDebInfo}" ${GELMARCH_CMAKE_ARGS:-} >/dev/null
cmake --build "$build" -j "$(nproc)"
