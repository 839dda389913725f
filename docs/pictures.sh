#!/usr/bin/env bash
# Renders the README's pictures with the game's own code on a virtual display (the snapshot programs of
# tools/snapshots) and writes them into docs/, 512 pixels wide with a 256-colour palette to keep them small.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${GELMARCH_BUILD_DIR:-$root/build}"
cmake --build "$build" -j 2 --target snapshot_game snapshot_units
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
cd "$root/bin"
export SDL_AUDIODRIVER=dummy
for program in snapshot_game snapshot_units; do
  xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$build/tools/snapshots/$program" "$shots" >/dev/null
done
for pair in menu:menu match_grass:match_grasslands match_asteroid:match_asteroid units_close:battle; do
  convert "$shots/${pair%%:*}.png" -resize 512x -strip -dither FloydSteinberg -colors 256 "PNG8:$root/docs/${pair#*:}.png"
done
ls -l "$root/docs/"*.png
