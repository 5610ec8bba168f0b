"""Cuts a free font down to what the form draws (Basic Latin and the superscript two) for the
Windows edition to carry inside its executable, and names its family plainly ("EB Garamond",
not the optical size's "EB Garamond 12"), the name the program asks Windows for. The font
keeps its licence (OFL, no reserved name), which travels beside the program.

    carried_font.py SOURCE.otf OUTPUT.otf
"""

import sys

from fontTools import subset
from fontTools.ttLib import TTFont


def main(source, output):
    font = TTFont(source)
    options = subset.Options()
    options.name_IDs = ["*"]
    # Kerning kept; hints and other layout features dropped, which the form's few large
    # serif texts do without: a fraction of the size.
    options.layout_features = ["kern"]
    options.hinting = False
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=list(range(0x20, 0x7F)) + [0xB2])
    subsetter.subset(font)
    names = font["name"]
    family = names.getDebugName(16) or names.getDebugName(1)
    style = names.getDebugName(2)
    for record in list(names.names):
        if record.nameID in (16, 17):
            names.removeNames(nameID=record.nameID)
    names.setName(family, 1, 3, 1, 0x409)
    names.setName(family, 1, 1, 0, 0)
    names.setName(f"{family} {style}", 4, 3, 1, 0x409)
    names.setName(f"{family} {style}", 4, 1, 0, 0)
    font.save(output)


if __name__ == "__main__":
    main(*sys.argv[1:])
