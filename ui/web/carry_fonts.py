"""Writes the script that carries the served fonts: the base64 decoder, then the template with
@FACES@ replaced by each face's family, weight, style and WOFF 2 bytes in base64.

Usage: carry_fonts.py DECODER TEMPLATE OUTPUT FILE|FAMILY|WEIGHT|STYLE...
"""
import base64
import json
import pathlib
import sys

decoder, template, output, *faces = sys.argv[1:]
entries = []
for face in faces:
    path, family, weight, style = face.split("|")
    data = base64.b64encode(pathlib.Path(path).read_bytes()).decode()
    entries.append(json.dumps([family, weight, style, data]))
pathlib.Path(output).write_text(pathlib.Path(decoder).read_text() + pathlib.Path(
    template).read_text().replace("@FACES@", ", ".join(entries)))
