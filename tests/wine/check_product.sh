#!/usr/bin/env bash
# Checks the built product: a 32-bit GUI executable that needs only system
# DLLs, and small.  Usage: check_product.sh PATH MAX_BYTES
set -euo pipefail
product=${1:?usage: check_product.sh PATH MAX_BYTES}
max=${2:?usage: check_product.sh PATH MAX_BYTES}
objdump=i686-w64-mingw32-objdump

kind=$(file -b "$product")
echo "file: $kind"
case $kind in
  "PE32 executable (GUI) Intel 80386"*) ;;
  *) echo "not a 32-bit GUI executable" >&2; exit 1 ;;
esac

system='^(kernel32|user32|gdi32|msvcrt|winmm|ole32|oleaut32|comdlg32|shell32|msimg32|comctl32|advapi32)\.dll$'
bad=0
for dll in $($objdump -p "$product" | awk '/DLL Name:/ {print $3}'); do
  echo "imports: $dll"
  if ! echo "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$system"; then
    echo "not a system DLL: $dll" >&2
    bad=1
  fi
done
size=$(stat -c %s "$product")
echo "size: $size bytes"
if [ "$size" -gt "$max" ]; then echo "larger than $max bytes" >&2; bad=1; fi
exit $bad
