#!/usr/bin/env bash
# Installs the profiler used to see where a frame's time goes: perf samples every thread of the process,
# the software renderer's rasterizer threads included, e.g.
#   cd bin && xvfb-run -a perf record -o /tmp/frame.data ../build/bench/gelmarch_bench --benchmark_filter=BM_MatchFrame
#   perf report -i /tmp/frame.data --sort comm,dso
# Quick when it is already there.
set -euo pipefail
if ! dpkg-query -W -f='${Status}' linux-perf 2>/dev/null | grep -q "install ok installed"; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends linux-perf
fi
