#!/usr/bin/env bash
# Builds the saver and shows one saver run end to end: the product with the
# stand-in engine and a looping WAV tune, started as "ミラネ.scr /s" under
# Wine, photographed after a few seconds and ended by a mouse move.
# Runs on the user's display when DISPLAY is set and usable, otherwise on a
# private Xvfb.  Usage: scripts/run.sh [SCREENSHOT.png]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
shot=${1:-$root/build/run-sample/saver.png}

echo "== packages"
"$root/scripts/setup.sh"

echo "== build"
[ -f "$root/build/win32/CMakeCache.txt" ] ||
  cmake -S "$root" -B "$root/build/win32" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build "$root/build/win32" -j2 --target mirane_scr engine_standin >/dev/null
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  build=$root/build/win32 bits=32
else
  # 32-bit programs cannot run on this machine, so neither can 32-bit Wine:
  # run the 64-bit build of the same sources.
  echo "   (this machine cannot run 32-bit programs: running the 64-bit build)"
  [ -f "$root/build/win64/CMakeCache.txt" ] ||
    cmake -S "$root" -B "$root/build/win64" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake >/dev/null
  cmake --build "$root/build/win64" -j2 --target mirane_scr engine_standin >/dev/null
  build=$root/build/win64 bits=64
fi
echo "   product: $build/bin/ミラネ.scr"

echo "== sample folder"
sample=$root/build/run-sample
rm -rf "$sample"
mkdir -p "$sample"
cp "$build/bin/ミラネ.scr" "$build/bin/ミラネ.dll" "$sample/"
# A short, gentle tune that loops: eight plucked notes.
notes=()
for n in C4 E4 G4 C5 B4 G4 E4 D4; do
  sox -q -n -r 44100 -c 2 "$sample/note-$n-${#notes[@]}.wav" synth 0.3 pluck "$n" fade 0 0.3 0.1 vol 0.5
  notes+=("$sample/note-$n-${#notes[@]}.wav")
done
sox -q "${notes[@]}" "$sample/tune.wav"
rm -f "${notes[@]}"

user_display=
if [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; then
  user_display=$DISPLAY
fi
bench=$root/build/run-bench
"$root/tests/wine/bench/setup.sh" "$bench" "$bits" >/dev/null
trap '"$root/tests/wine/bench/teardown.sh" "$bench" >/dev/null 2>&1 || true' EXIT
# shellcheck disable=SC1091
. "$bench/env.sh"
if [ -n "$user_display" ]; then
  export DISPLAY=$user_display
  echo "   display: yours ($DISPLAY)"
else
  echo "   display: private Xvfb ($DISPLAY)"
fi

wav=$(timeout 30 "$MIRANE_WINE" winepath -w "$sample/tune.wav" 2>/dev/null | tr -d '\r')
printf '[Section]\r\nBGM区分= 2\r\nBGMﾘﾋﾟｰﾄ= 0\r\nBGMﾌｧｲﾙ=%s\r\n' "$wav" | iconv -f UTF-8 -t CP932 >"$sample/ミラネ.ini"
echo "   $sample: ミラネ.scr, ミラネ.dll (stand-in engine), tune.wav, ミラネ.ini (music: $wav)"

echo "== saver run"
log=$sample/engine.log
MIRANE_ENGINE_LOG=$(timeout 30 "$MIRANE_WINE" winepath -w "$log" 2>/dev/null | tr -d '\r') \
  timeout -k 5 120 "$MIRANE_WINE" "$sample/ミラネ.scr" /s >"$sample/wine.log" 2>&1 &
saver=$!
for _ in $(seq 300); do [ -s "$log" ] && break; sleep 0.1; done
[ -s "$log" ] || { echo "the engine did not start (see $sample/wine.log)"; exit 1; }
echo "   engine started as: $(head -n1 "$log" | cut -f1)"
sleep 4
import -window root "$shot"
echo "   screenshot: $shot"

# End it as a user would: move the mouse.
closed=
for step in 1 2 3 4 5 6; do
  xdotool mousemove $((100 + step * 120)) $((100 + step * 80))
  for _ in $(seq 100); do
    if grep -q '^window closed' "$log"; then closed=$(date +%s%N); break 2; fi
    sleep 0.01
  done
done
[ -n "$closed" ] || { echo "the engine window did not close on mouse moves"; kill "$saver"; exit 1; }
wait "$saver" || { echo "the saver ended with an error (see $sample/wine.log)"; exit 1; }
ended=$(date +%s%N)
echo "   the saver ended $(((ended - closed) / 1000000)) ms after the engine window closed"
