#!/usr/bin/env bash
# Runs a Windows program of the build under the bench's Wine, with a time
# limit so a hung window can never hang the test run.
# The bench folder comes from MIRANE_BENCH (CTest sets it).
set -u
bench=${MIRANE_BENCH:?MIRANE_BENCH is not set}
[ -f "$bench/env.sh" ] || { echo "wine bench is not set up in $bench" >&2; exit 1; }
# shellcheck disable=SC1091
. "$bench/env.sh"
exec timeout -k 5 "${MIRANE_TIMEOUT:-120}" "$MIRANE_WINE" "$@"
