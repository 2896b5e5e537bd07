#!/usr/bin/env bash
# Stops everything the bench started: its Wine server, then its Xvfb.
bench=${1:?usage: teardown.sh BENCH_DIR}
if [ -f "$bench/env.sh" ]; then
  # shellcheck disable=SC1091
  . "$bench/env.sh"
  timeout 20 wineserver -k 2>/dev/null || true
fi
if [ -f "$bench/xvfb.pid" ]; then
  kill "$(cat "$bench/xvfb.pid")" 2>/dev/null || true
  rm -f "$bench/xvfb.pid"
fi
exit 0
