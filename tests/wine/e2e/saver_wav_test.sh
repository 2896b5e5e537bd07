#!/usr/bin/env bash
# A saver run with a WAV file as music: the loop must be started when the
# saver starts and stopped when it ends.  Wine's relay trace of
# winmm.PlaySoundA shows the calls as the program made them.
# Usage: saver_wav_test.sh BIN_DIR   (MIRANE_BENCH names the bench)
set -euo pipefail
bin=${1:?usage: saver_wav_test.sh BIN_DIR}
bench=${MIRANE_BENCH:?MIRANE_BENCH is not set}
# shellcheck disable=SC1091
. "$bench/env.sh"

dir=$(mktemp -d "$bench/wav-run.XXXXXX")
trap 'timeout 20 "$MIRANE_WINE" reg delete "HKCU\\Software\\Wine\\Debug" /v RelayInclude /f >/dev/null 2>&1 || true' EXIT
cp "$bin/ミラネ.scr" "$bin/ミラネ.dll" "$dir/"
sox -q -n -r 22050 -c 1 "$dir/loop.wav" synth 0.5 sine 440 vol 0.2
wav=$(timeout 30 "$MIRANE_WINE" winepath -w "$dir/loop.wav" 2>/dev/null | tr -d '\r')
printf '[Section]\r\nBGM区分= 2\r\nBGMﾘﾋﾟｰﾄ= 0\r\nBGMﾌｧｲﾙ=%s\r\n' "$wav" | iconv -f UTF-8 -t CP932 >"$dir/ミラネ.ini"

timeout 30 "$MIRANE_WINE" reg add "HKCU\\Software\\Wine\\Debug" /v RelayInclude /t REG_SZ \
  /d "winmm.PlaySoundA" /f >/dev/null 2>&1
start=$(date +%s%N)
WINEDEBUG=+relay MIRANE_ENGINE_CLOSE_MS=1500 timeout -k 5 60 "$MIRANE_WINE" "$dir/ミラネ.scr" /s \
  2>"$dir/relay.log" || { echo "the saver did not end cleanly"; exit 1; }
took=$((($(date +%s%N) - start) / 1000000))

calls=$(grep -a 'Call winmm.PlaySoundA(' "$dir/relay.log" || true)
echo "PlaySoundA calls (run took $took ms):"
echo "$calls"
[ "$(echo "$calls" | grep -c .)" -eq 2 ] || { echo "expected exactly two PlaySoundA calls"; exit 1; }
first=$(echo "$calls" | sed -n 1p)
second=$(echo "$calls" | sed -n 2p)
# Started: a sound name, no module, asynchronous and looping (and by file name).
echo "$first" | grep -Eq 'PlaySoundA\([0-9a-f]*[1-9a-f][0-9a-f]*,0+,0002000b\)' ||
  { echo "the first call does not start a looping file sound"; exit 1; }
# Stopped: no name, no module, no flags.
echo "$second" | grep -Eq 'PlaySoundA\(0+,0+,0+\)' || { echo "the second call does not stop it"; exit 1; }
echo "WAV loop started at load and stopped at the end"
