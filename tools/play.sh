#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game from bin/ (its working directory).
# Extra arguments go to the game, for example: tools/play.sh -r 1280 960
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/install_deps.sh"
"$root/tools/build.sh"
cd "$root/bin"
if [ -z "${DISPLAY:-}" ]; then
  echo "No X display found; starting the game on a virtual one (Xvfb)."
  exec xvfb-run -a -s "-screen 0 1280x1024x24" ./gelmarch "$@"
fi
exec ./gelmarch "$@"
