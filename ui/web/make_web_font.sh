#!/usr/bin/env bash
# Cuts a font to Basic Latin and Latin-1 without its hints (the face of the boxes and buttons,
# whose texts have room to spare, at half the size), or to the characters a font role of the form
# draws, as PAGE_PARTS prints them for ROLE, with its hints (the labels' faces, whose texts sit
# within a pixel of their edges and are measured for fit), and writes it as WOFF 2. A font whose
# licence reserves its name (Liberation) is a modified version once cut, so its own name table is
# renamed ("Velandra Sans", "Velandra Serif"); the style sheet still calls it by the family it
# stands in for.
# Usage: make_web_font.sh SOURCE OUTPUT.woff2 PYTHON WOFF2_COMPRESS PAGE_PARTS [ROLE]
set -euo pipefail
source=$1 output=$2 python=$3 compress=$4 page_parts=$5 role=${6:-}
subset=${output%.woff2}.${source##*.}
if [ -n "$role" ]; then
    characters=(--text="$("$page_parts" "$role")")
else
    characters=(--unicodes=U+0020-007E,U+00A0-00FF --no-hinting)
fi
"$python" -m fontTools.subset "$source" "${characters[@]}" --layout-features='*' \
    --output-file="$subset"
"$python" - "$subset" <<'PYTHON'
import sys
from fontTools.ttLib import TTFont

path = sys.argv[1]
# The source font's timestamps are kept, so that the same sources build the same bytes.
font = TTFont(path, recalcTimestamp=False)
names = font["name"]
renamed = False
for record in names.names:
    text = record.toUnicode()
    if "Liberation" in text and record.nameID in (1, 3, 4, 6, 16, 17, 18, 21):
        replacement = text.replace("LiberationSans", "VelandraSans").replace(
            "LiberationSerif", "VelandraSerif").replace("Liberation", "Velandra")
        record.string = replacement
        renamed = True
if renamed:
    font.save(path)
PYTHON
"$compress" "$subset" >/dev/null
rm -f "$subset"
