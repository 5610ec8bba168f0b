#!/usr/bin/env bash
# Compiles the Windows version record with the MinGW resource compiler, decompiles it again and
# checks the facts it must carry.
set -euo pipefail
windres=$1
rc=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$windres" --preprocessor=cpp --preprocessor-arg=-P -O res -i "$rc" -o "$work/velandra.res"
"$windres" -J res -O rc -i "$work/velandra.res" >"$work/decompiled.rc"

status=0
for fact in 'LANGUAGE 16, 1' 'FILEVERSION 1, 0, 0, 0' 'PRODUCTVERSION 1, 0, 0, 0' \
    'BLOCK "041004B0"' 'VALUE "ProductName", "Velandra"' 'VALUE "InternalName", "Velandra"' \
    'VALUE "FileVersion", "1.0.0.0"' 'VALUE "ProductVersion", "1.0.0.0"' \
    'VALUE "Translation", 0x410, 1200'; do
    if ! grep -qF "$fact" "$work/decompiled.rc"; then
        echo "missing from the version record: $fact"
        status=1
    fi
done
[ $status -eq 0 ] || cat "$work/decompiled.rc"
exit $status
