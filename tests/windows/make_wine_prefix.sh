#!/usr/bin/env bash
# Makes a fresh Wine prefix, without Mono or Gecko, and waits until Wine has finished with it.
set -euo pipefail
prefix=$1
rm -rf "$prefix"
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
/usr/lib/wine/wine64 wineboot --init
/usr/lib/wine/wineserver --wait
test -f "$prefix/system.reg"
echo "Wine prefix ready in $prefix"
