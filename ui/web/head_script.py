"""Writes the page's head script: the base64 decoder; the fonts' template with @FACES@ replaced by
each served face's family, weight, style and WOFF 2 bytes in base64; and the highlights' template
with @MODULE@ replaced by their module's bytes in base64.

Usage: head_script.py DECODER FONTS_TEMPLATE HIGHLIGHTS_TEMPLATE MODULE OUTPUT
                      FILE|FAMILY|WEIGHT|STYLE...
"""
import base64
import json
import pathlib
import sys


def base64_of(path):
    return base64.b64encode(pathlib.Path(path).read_bytes()).decode()


decoder, fonts, highlights, module, output, *faces = sys.argv[1:]
entries = []
for face in faces:
    path, family, weight, style = face.split("|")
    entries.append(json.dumps([family, weight, style, base64_of(path)]))
pathlib.Path(output).write_text(
    pathlib.Path(decoder).read_text()
    + pathlib.Path(fonts).read_text().replace("@FACES@", ", ".join(entries))
    + pathlib.Path(highlights).read_text().replace("@MODULE@", base64_of(module)))
