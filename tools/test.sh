#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite on a virtual X display with Mesa's
# software renderer and SDL's silent audio driver.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${GELMARCH_BUILD_DIR:-$root/build}"
"$root/tools/install_deps.sh"
"$root/tools/build.sh"
cd "$build"
export SDL_AUDIODRIVER=dummy
# Start the display search at a number of our own so that parallel runs on one machine do not race for :99;
# -noreset keeps the server from restarting (and refusing connections) each time its last client leaves.
xvfb-run -a -n $((100 + $$ % 800)) -s "-screen 0 1280x1024x24 -noreset" ctest --output-on-failure -j 2 "$@"
