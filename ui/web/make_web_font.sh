#!/usr/bin/env bash
# Cuts a font to Basic Latin and Latin-1 and writes it as WOFF 2.
# Usage: make_web_font.sh SOURCE OUTPUT.woff2 PYTHON WOFF2_COMPRESS
set -euo pipefail
source=$1 output=$2 python=$3 compress=$4
subset=${output%.woff2}.${source##*.}
"$python" -m fontTools.subset "$source" --unicodes=U+0020-007E,U+00A0-00FF \
    --layout-features='*' --output-file="$subset"
"$compress" "$subset" >/dev/null
rm -f "$subset"
