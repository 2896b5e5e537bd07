#!/usr/bin/env bash
# Prepares the Wine test bench in a folder of its own: a fresh 32-bit
# prefix, a private X display, Japanese locale (ANSI code page 932), font
# replacements and a silent but working audio device.  Writes env.sh there.
# Usage: setup.sh BENCH_DIR BITS   (BITS: 32 or 64, the build's programs)
set -euo pipefail
bench=${1:?usage: setup.sh BENCH_DIR BITS}
bits=${2:?usage: setup.sh BENCH_DIR BITS}
here=$(cd "$(dirname "$0")" && pwd)

fail() { echo "wine bench: $*" >&2; exit 1; }
for tool in wine Xvfb xauth sox lame; do
  command -v "$tool" >/dev/null || fail "$tool is missing; run scripts/setup.sh"
done
locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$' || fail "locale ja_JP.UTF-8 is not generated; run scripts/setup.sh"
case $bits in
  32) loader=/usr/lib/wine/wine; winearch=win32
      "$loader" --version >/dev/null 2>&1 || fail "this machine cannot execute 32-bit programs, so 32-bit Wine does not start; test with the 64-bit build (scripts/test.sh does)" ;;
  64) loader=/usr/lib/wine/wine64; winearch=win64
      "$loader" --version >/dev/null 2>&1 || fail "64-bit Wine does not start" ;;
  *) fail "BITS must be 32 or 64" ;;
esac

"$here/teardown.sh" "$bench" >/dev/null 2>&1 || true
rm -rf "$bench"
mkdir -p "$bench/home" "$bench/tmp"

# A display nobody else uses.
display=
for n in $(seq 91 140); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=$n; break; fi
done
[ -n "$display" ] || fail "no free X display number"
setsid Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >"$bench/xvfb.log" 2>&1 </dev/null &
echo $! >"$bench/xvfb.pid"
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
[ -e "/tmp/.X11-unix/X$display" ] || fail "Xvfb did not start (see $bench/xvfb.log)"

# With no wave device at all Wine cannot render an MP3, so give ALSA a null sink.
printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$bench/home/.asoundrc"

# Test music: a two-second tone, as WAV and as MP3.  The Windows programs
# find the folder through MIRANE_MUSIC, as a path on Wine's drive Z:.
mkdir -p "$bench/music"
sox -n -r 44100 -c 2 "$bench/music/tone.wav" synth 2 sine 440 vol 0.3 >"$bench/music.log" 2>&1 ||
  fail "sox could not make the test tone (see $bench/music.log)"
lame --quiet -b 128 "$bench/music/tone.wav" "$bench/music/tone.mp3" >>"$bench/music.log" 2>&1 ||
  fail "lame could not make the test MP3 (see $bench/music.log)"
music_windows="Z:$(printf '%s' "$bench/music" | tr / '\\')"

cat >"$bench/env.sh" <<ENV
export WINEPREFIX="$bench/prefix"
export WINEARCH=$winearch
export MIRANE_WINE=$loader
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
export DISPLAY=:$display
export HOME="$bench/home"
export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8
export XDG_RUNTIME_DIR="$bench/tmp"
export MIRANE_BENCH="$bench"
export MIRANE_MUSIC='$music_windows'
ENV
# shellcheck disable=SC1091
. "$bench/env.sh"

timeout 120 "$loader" wineboot -i >"$bench/wineboot.log" 2>&1 || fail "wineboot failed (see $bench/wineboot.log)"
timeout 60 "$loader" reg import "$here/bench.reg" >"$bench/reg.log" 2>&1 || fail "registry import failed (see $bench/reg.log)"
timeout 30 wineserver -w || true
echo "wine bench ready: $bench (display :$display)"
